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

// Without a camera anywhere, a document that imports models is seen as `vermil render model`
// sees the model alone; a document with nothing to frame still needs one.
TEST_F(ImportedLights, ACameralessImportIsFramed)
{
    auto scene = load(R"("import": "../models/room.gltf", "render": {"width": 200, "height": 100})");
    ASSERT_NE(scene->camera, nullptr);
    ASSERT_TRUE(scene->camera->camera);
    EXPECT_EQ(scene->cameraSource, CameraSource::framing);
    EXPECT_EQ(scene->camera->name(), "Camera");
    // It looks at the floor's centre: world (0.5, 0, 0.5) after the turn to Z up.
    const Matrix3 tm = scene->camera->GetNodeTM(0);
    const Point3 toFloor = Normalize(Point3(0.5f, 0.0f, 0.5f) - tm.GetTrans());
    expectNear(Normalize(-tm.GetRow(2)), toFloor, 1e-4f);

    // And it renders: the lit floor fills the middle of the image.
    Bitmap image;
    ASSERT_TRUE(renderScanline(*scene, image).ok);
    EXPECT_GT(image.Row(50)[100].r, 3000) << "a sixteen-bit channel";

    auto own = load(R"("import": "../models/room.gltf", "camera": {"position": [0, -5, 1]})");
    EXPECT_EQ(own->cameraSource, CameraSource::document);
    EXPECT_EQ(errorOf(R"("objects": [{"name": "box", "type": "box"}])").reason().substr(0, 26),
              "the scene has no camera: a");
}

}  // namespace
