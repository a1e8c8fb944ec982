#include "support/AssimpModels.h"
#include "support/ImportTestSupport.h"

#include "standalone/SceneDocument.h"
#include "standalone/import/ModelFraming.h"
#include "standalone/import/SceneOrModel.h"

#include <cmath>
#include <numbers>

using namespace standalone;
using namespace test_support;
using nlohmann::json;

namespace {

// Squares scattered around, without camera or lights.
std::string scatteredSquares(Gltf& gltf)
{
    const int square = unitSquare(gltf);
    gltf.node({{"name", "Near"}, {"translation", {-5, 0, 0}}, {"mesh", square}});
    gltf.node({{"name", "Far"}, {"translation", {7, 3, -2}}, {"scale", {3, 3, 3}}, {"mesh", square}});
    gltf.node({{"name", "High"}, {"translation", {0, 9, 1}}, {"mesh", square}});
    return gltf.text();
}

int countLights(Scene& scene, LightType type)
{
    int n = 0;
    for (const auto& node : scene.nodes())
        n += node->light && node->light->type == type;
    return n;
}

using ModelScene = ImportFixture;

TEST_F(ModelScene, TheFilesCameraAndLightsAreUsed)
{
    Gltf gltf;
    scatteredSquares(gltf);
    const int camera =
        gltf.add("cameras", {{"type", "perspective"},
                             {"perspective", {{"yfov", 0.5}, {"aspectRatio", 2.0}, {"znear", 0.1}}}});
    gltf.node({{"name", "Shot"}, {"translation", {0, 0, 30}}, {"camera", camera}});
    gltf.doc["extensionsUsed"] = {"KHR_lights_punctual"};
    gltf.doc["extensions"]["KHR_lights_punctual"]["lights"] = {{{"type", "point"}}};
    gltf.node({{"name", "Bulb"}, {"extensions", {{"KHR_lights_punctual", {{"light", 0}}}}}});
    auto scene = sceneFromModel(dir.write("shot.gltf", gltf.text()), core);
    EXPECT_EQ(scene->camera, scene->findNode("Shot"));
    EXPECT_EQ(scene->render.height, 640) << "the camera's 2:1";
    EXPECT_EQ(countLights(*scene, LightType::omni), 1);
    EXPECT_EQ(countLights(*scene, LightType::directional), 0);
}

}  // namespace
