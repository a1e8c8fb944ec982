// A document's control over what an imported model brings for lighting and viewing: overrides on
// its lights, and a camera for a model that has none.

#include "support/ImportTestSupport.h"

#include "host/Bitmap.h"
#include "standalone/RenderJob.h"
#include "standalone/SceneDocument.h"

using namespace standalone;
using namespace test_support;
using nlohmann::json;

namespace {

// A floor with a lamp and a sun above it, and no camera.
class ImportedLights : public ImportFixture {
protected:
    void SetUp() override
    {
        ImportFixture::SetUp();
        Gltf gltf;
        gltf.node({{"name", "Floor"}, {"mesh", unitSquare(gltf)}});
        gltf.doc["extensionsUsed"] = {"KHR_lights_punctual"};
        gltf.doc["extensions"]["KHR_lights_punctual"]["lights"] = {
            {{"type", "point"}, {"intensity", 50}}, {{"type", "directional"}, {"intensity", 3}}};
        gltf.node({{"name", "Lamp"},
                   {"translation", {0.5, 0.5, 2}},
                   {"extensions", {{"KHR_lights_punctual", {{"light", 0}}}}}});
        gltf.node({{"name", "Sun"}, {"extensions", {{"KHR_lights_punctual", {{"light", 1}}}}}});
        dir.write("models/room.gltf", gltf.text());
    }

    std::unique_ptr<Scene> load(const std::string& body)
    {
        return loadDocument("scenes/room.json", "{" + body + "}");
    }
    SceneError errorOf(const std::string& body)
    {
        return documentError("scenes/room.json", "{" + body + "}");
    }
};

TEST_F(ImportedLights, HidingALightSaysHowToSwitchItOff)
{
    auto scene = load(R"("import": "../models/room.gltf", "overrides": [{"node": "Lamp", "hidden": true}])");
    EXPECT_TRUE(scene->findNode("Lamp")->light->on);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("room.json: /overrides/0: light \"Lamp\""), std::string::npos) << warnings[0];
    EXPECT_NE(warnings[0].find("\"on\": false"), std::string::npos) << warnings[0];
}

TEST_F(ImportedLights, LightSettingsOnOtherNodesAreErrorsListingTheLights)
{
    SceneError e =
        errorOf(R"("import": "../models/room.gltf", "overrides": [{"node": "Floor", "on": false}])");
    EXPECT_EQ(e.jsonPath(), "/overrides/0/on");
    EXPECT_NE(e.reason().find("\"Floor\" is no imported light; the imported lights are: Lamp, Sun"),
              std::string::npos)
        << e.what();
    e = errorOf(
        R"("import": "../models/room.gltf", "overrides": [{"node": "Lamp", "multiplier": "bright"}])");
    EXPECT_EQ(e.jsonPath(), "/overrides/0/multiplier");
}

}  // namespace
