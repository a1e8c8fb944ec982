#include "support/AssimpModels.h"
#include "support/ImportTestSupport.h"

#include "standalone/ScanlineLights.h"
#include "standalone/import/AnimationImport.h"
#include "standalone/import/AxisConversion.h"
#include "standalone/import/LightImport.h"
#include "standalone/import/ModelImport.h"

#include <assimp/anim.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

using namespace standalone;
using namespace test_support;
using nlohmann::json;
using standalone::import::kDisplayExposure;

namespace {

constexpr float kDegrees = float(180.0 / std::numbers::pi);

// A node's object axes in world space: where its own x, y and -z point.
struct Axes {
    Point3 right, up, forward;
};
Axes axesOf(SceneNode& node)
{
    const Matrix3 tm = node.GetObjectTM(0);
    return {tm.VectorTransform(Point3(1, 0, 0)), tm.VectorTransform(Point3(0, 1, 0)),
            tm.VectorTransform(Point3(0, 0, -1))};
}

class ObjectImport : public ImportFixture {
protected:
    // A scene of one square, with a camera and lights added by the test.
    Gltf gltf;
    void SetUp() override
    {
        ImportFixture::SetUp();
        gltf.node({{"name", "Square"}, {"mesh", unitSquare(gltf)}});
    }
    ImportResult import(Scene& scene, const ImportOptions& options = {})
    {
        return importModel(dir.write("objects.gltf", gltf.text()), scene, core, options);
    }
};

TEST_F(ObjectImport, PerspectiveCameraLooksDownItsNodesMinusZWithTheTrueHorizontalFov)
{
    const int camera = gltf.add(
        "cameras", {{"type", "perspective"},
                    {"perspective", {{"yfov", 0.5}, {"aspectRatio", 2.0}, {"znear", 0.25}, {"zfar", 80}}}});
    gltf.node({{"name", "Shot"}, {"translation", {0.5, 0.5, 4}}, {"camera", camera}});
    Scene scene;
    const ImportResult model = import(scene);
    ASSERT_EQ(model.cameras.size(), 1u);
    SceneNode& shot = *model.cameras[0].node;
    ASSERT_TRUE(shot.camera);
    EXPECT_FALSE(shot.camera->orthographic);
    // A vertical field of 0.5 rad at 2:1 is 2 atan(2 tan 0.25) across.
    EXPECT_NEAR(shot.camera->fov, 2.0f * std::atan(2.0f * std::tan(0.25f)) * kDegrees, 1e-3f);
    EXPECT_FLOAT_EQ(model.cameras[0].aspect, 2.0f);
    EXPECT_FLOAT_EQ(shot.camera->farClip, 80.0f);
    // glTF's camera looks down its -Z, Y up: in the Z-up world that is along +Y with +Z up, and it
    // stands where its node puts it (the importer's copy of the translation is not added again).
    const Axes axes = axesOf(shot);
    expectNear(axes.forward, Point3(0, 1, 0));
    expectNear(axes.up, Point3(0, 0, 1));
    expectNear(shot.GetObjectTM(0).GetTrans(), Point3(0.5f, -4, 0.5f));
}

TEST_F(ObjectImport, OrthographicWidthIsTheFullWidthAndScalesWithTheImport)
{
    const int camera =
        gltf.add("cameras", {{"type", "orthographic"},
                             {"orthographic", {{"xmag", 2}, {"ymag", 1}, {"znear", 0.5}, {"zfar", 9}}}});
    gltf.node({{"name", "Plan"},
               {"translation", {0, 10, 0}},
               {"rotation", {-0.7071068, 0, 0, 0.7071068}},
               {"camera", camera}});
    Scene scene;
    ImportOptions options;
    options.scale = 10;
    const ImportResult model = import(scene, options);
    SceneNode& plan = *model.cameras.at(0).node;
    ASSERT_TRUE(plan.camera);
    EXPECT_TRUE(plan.camera->orthographic);
    EXPECT_FLOAT_EQ(plan.camera->orthoWidth, 40.0f);
    EXPECT_FLOAT_EQ(plan.camera->nearClip, 5.0f);
    // Tipped to look straight down, and camera space stays in world units whatever the scale.
    const Axes axes = axesOf(plan);
    expectNear(axes.forward, Point3(0, 0, -1));
    expectNear(axes.up, Point3(0, 1, 0));
    expectNear(plan.GetObjectTM(0).GetTrans(), Point3(0, 0, 100), 1e-4f);
}

TEST_F(ImportFixture, FbxUpAxisMetadataIsHonoured)
{
    // Exported Y-up (UpAxis 1) from a Z-up application: the box's file +Y is the world's +Z.
    Scene scene;
    const ImportResult model =
        importModel(test_support::assimpModel("FBX/maxPbrMaterial_metalRough.fbx"), scene, core);
    expectNear(model.rootBasis.PointTransform(Point3(0, 1, 0)), Point3(0, 0, 1));
    expectNear(model.rootBasis.PointTransform(Point3(0, 0, 1)), Point3(0, -1, 0));
    ImportOptions asIs;
    asIs.upAxis = UpAxis::z;
    EXPECT_EQ(importModel(test_support::assimpModel("FBX/maxPbrMaterial_metalRough.fbx"), scene, core, asIs)
                  .rootBasis,
              Matrix3());
}

using AnimationImport = ImportFixture;

TEST(AnimationKeys, TicksPerSecondDefaultsTo25AndUnusableKeysAreLeftOut)
{
    aiAnimation animation;
    animation.mTicksPerSecond = 0;
    animation.mNumChannels = 1;
    animation.mChannels = new aiNodeAnim*[1];
    aiNodeAnim* channel = animation.mChannels[0] = new aiNodeAnim;
    channel->mNodeName = aiString("Arm");
    const double nan = std::numeric_limits<double>::quiet_NaN();
    channel->mNumPositionKeys = 3;
    channel->mPositionKeys = new aiVectorKey[3]{{0.0, {1, 2, 3}}, {25.0, {4, 5, 6}}, {nan, {7, 8, 9}}};
    channel->mNumScalingKeys = 2;
    channel->mScalingKeys = new aiVectorKey[2]{{50.0, {2, 2, 2}}, {75.0, {0, 1, 1}}};
    channel->mNumRotationKeys = 1;
    channel->mRotationKeys = new aiQuatKey[1]{{12.5, aiQuaternion(0, 0, 0, 0)}};
    const auto byNode = import::importAnimation(animation);
    ASSERT_EQ(byNode.count("Arm"), 1u);
    const import::TransformKeys& keys = byNode.at("Arm");
    ASSERT_EQ(keys.position.size(), 2u);
    EXPECT_EQ(keys.position[1].first, 4800) << "25 ticks at 25 per second is one second";
    ASSERT_EQ(keys.scale.size(), 1u) << "a zero scale is left out";
    EXPECT_EQ(keys.scale[0].first, 9600);
    EXPECT_TRUE(keys.rotation.empty()) << "a zero quaternion is no rotation";
    const TransformAnimation withoutPosition = keys.animation(false, true, true);
    EXPECT_EQ(withoutPosition.firstKey(), 9600);
}

}  // namespace
