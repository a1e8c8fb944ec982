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

// Every mesh vertex lies inside the view of the scene's camera.
void expectAllInFrame(Scene& scene)
{
    ASSERT_NE(scene.camera, nullptr);
    ASSERT_TRUE(scene.camera->camera);
    const Matrix3 worldToCam = Inverse(scene.camera->GetObjectTM(0));
    const float tanX = std::tan(scene.camera->camera->fov * float(std::numbers::pi / 360.0));
    const float tanY = tanX * float(scene.render.height) / float(scene.render.width);
    int seen = 0;
    for (const auto& node : scene.nodes())
        if (const Mesh* mesh = node->mesh())
            for (const Point3& v : mesh->verts) {
                const Point3 p = worldToCam.PointTransform(worldPoint(*node, v));
                ASSERT_LT(p.z, 0.0f) << node->name();
                EXPECT_LE(std::fabs(p.x / -p.z), tanX) << node->name();
                EXPECT_LE(std::fabs(p.y / -p.z), tanY) << node->name();
                ++seen;
            }
    EXPECT_GT(seen, 0);
}

int countLights(Scene& scene, LightType type)
{
    int n = 0;
    for (const auto& node : scene.nodes())
        n += node->light && node->light->type == type;
    return n;
}

using ModelScene = ImportFixture;

TEST_F(ModelScene, AModelWithoutCameraOrLightsIsFramedAndLit)
{
    Gltf gltf;
    const std::string file = dir.write("scatter.gltf", scatteredSquares(gltf));
    auto scene = sceneFromModel(file, core);
    EXPECT_EQ(scene->render.width, 1280);
    EXPECT_EQ(scene->render.height, 720);
    EXPECT_TRUE(scene->render.antialias);
    EXPECT_TRUE(scene->render.output.empty());
    EXPECT_FLOAT_EQ(scene->camera->camera->fov, 45.0f);
    expectAllInFrame(*scene);
    // From the front right, above.
    const Point3 eye = scene->camera->GetObjectTM(0).GetTrans() - sceneBounds(*scene).centre();
    EXPECT_GT(eye.x, 0.0f);
    EXPECT_LT(eye.y, 0.0f);
    EXPECT_GT(eye.z, 0.0f);
    EXPECT_EQ(countLights(*scene, LightType::directional), 1);
    EXPECT_EQ(countLights(*scene, LightType::ambient), 1);

    // The framing fits the requested image shape.
    ModelSceneOptions tall;
    tall.width = 200, tall.height = 600;
    scene = sceneFromModel(file, core, tall);
    EXPECT_EQ(scene->render.width, 200);
    EXPECT_EQ(scene->render.height, 600);
    expectAllInFrame(*scene);
}

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

TEST_F(ModelScene, DocumentsAndModelsAreToldApartByExtension)
{
    EXPECT_TRUE(isSceneDocument("a/b/scene.json"));
    EXPECT_TRUE(isSceneDocument("SCENE.JSON"));
    EXPECT_FALSE(isSceneDocument("model.gltf"));
    EXPECT_FALSE(isSceneDocument("json"));
    const std::string doc = dir.write("empty.json", "{}");
    EXPECT_THROW(loadSceneOrModel(doc, core), SceneError) << "a document without a camera";
    EXPECT_THROW(loadSceneOrModel(dir.write("empty.obj", ""), core), ImportError);
    EXPECT_NE(loadSceneOrModel(test_support::boxTexturedGlb, core)->camera, nullptr);
}

}  // namespace
