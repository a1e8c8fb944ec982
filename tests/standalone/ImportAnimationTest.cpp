#include "ImportTestSupport.h"

#include "standalone/import/AnimationImport.h"
#include "standalone/import/ModelImport.h"

#include <assimp/anim.h>

#include <limits>

using namespace standalone;
using namespace import_test;

namespace {

using AnimationImport = ImportFixture;

TEST_F(AnimationImport, NodeChannelsBecomeKeysAtTheirTimeInTicks)
{
    Gltf gltf;
    gltf.node({{"name", "Mover"}, {"translation", {5, 6, 7}}, {"mesh", unitSquare(gltf)}});
    const int times = gltf.floats({0.0f, 0.5f, 2.0f}, "SCALAR");
    const int moves = gltf.floats({0, 0, 0, 1, 0, 0, 1, 2, 0}, "VEC3");
    const int turns = gltf.floats({0, 0, 0, 1, 0, 0.7071068f, 0, 0.7071068f, 0, 1, 0, 0}, "VEC4");
    gltf.add("animations", {{"channels",
                             {{{"sampler", 0}, {"target", {{"node", 0}, {"path", "translation"}}}},
                              {{"sampler", 1}, {"target", {{"node", 0}, {"path", "rotation"}}}}}},
                            {"samplers",
                             {{{"input", times}, {"output", moves}, {"interpolation", "LINEAR"}},
                              {{"input", times}, {"output", turns}, {"interpolation", "LINEAR"}}}}});
    Scene scene;
    const ImportResult model = importModel(dir.write("moving.gltf", gltf.text()), scene, core);

    SceneNode& mover = *scene.findNode("Mover");
    ASSERT_FALSE(mover.animation().empty());
    EXPECT_EQ(mover.animation().firstKey(), 0);
    EXPECT_EQ(mover.animation().lastKey(), 9600) << "2 s at 4800 ticks per second";
    const import::TransformKeys& keys = model.animation.at(&mover);
    ASSERT_EQ(keys.position.size(), 3u);
    EXPECT_EQ(keys.position[1].first, 2400);
    expectNear(keys.position[2].second, Point3(1, 2, 0));
    // The keys live in the file's (Y-up) space under the import root: at 0.5 s the node sits at
    // file (1, 0, 0), world (1, 0, 0); at 2 s at file (1, 2, 0), world (1, 0, 2).
    expectNear(worldPoint(mover, Point3(), 2400), Point3(1, 0, 0));
    expectNear(worldPoint(mover, Point3(), 9600), Point3(1, 0, 2));
    // Half a turn about file Y by 2 s: file +X points to file -X, world -X.
    expectNear(mover.GetObjectTM(9600).VectorTransform(Point3(1, 0, 0)), Point3(-1, 0, 0));
    expectNear(mover.GetObjectTM(2400).VectorTransform(Point3(1, 0, 0)), Point3(0, 1, 0));
}

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
