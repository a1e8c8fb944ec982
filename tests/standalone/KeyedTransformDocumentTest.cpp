#include "standalone/SceneDocument.h"

#include <gtest/gtest.h>

namespace {

void expectNear(const Point3& a, const Point3& b, float tol = 1e-4f)
{
    EXPECT_NEAR(a.x, b.x, tol);
    EXPECT_NEAR(a.y, b.y, tol);
    EXPECT_NEAR(a.z, b.z, tol);
}

TEST(KeyedTransforms, PositionRotationAndAimedCameraFollowTheirKeys)
{
    standalone::StandaloneCore core;
    auto scene = standalone::parseScene(R"({
      "render": {"frameRate": 24},
      "camera": {"position": {"keys": [[0, [10, 0, 0]], [12, [0, 10, 0]]]}, "target": [0, 0, 0]},
      "objects": [
        {"name": "ball", "type": "sphere", "position": {"keys": [[0, [0, 0, 0]], [24, [4, 0, 0]]]}},
        {"name": "spin", "type": "box", "rotation": {"keys": [[0, [0, 0, 0]], [10, [0, 0, 90]]]},
         "scale": {"keys": [[0, 1], [10, [1, 1, 3]]]}}
      ]
    })",
                                        "doc.json", core);
    const TimeValue frame = TIME_TICKSPERSEC / 24;
    standalone::SceneNode* ball = scene->findNode("ball");
    expectNear(ball->GetNodeTM(0).GetTrans(), {0, 0, 0});
    expectNear(ball->GetNodeTM(6 * frame).GetTrans(), {1, 0, 0});
    expectNear(ball->GetNodeTM(30 * frame).GetTrans(), {4, 0, 0});  // held after the last key

    standalone::SceneNode* spin = scene->findNode("spin");
    Matrix3 half = spin->GetNodeTM(5 * frame);
    expectNear(Normalize(half.GetRow(0)), Normalize(Point3(1, 1, 0)));
    EXPECT_NEAR(half.GetRow(2).Length(), 2.0f, 1e-4f);

    // The camera stays aimed at the target while it moves: its -z axis points at the origin.
    for (int f : {0, 5, 12}) {
        Matrix3 cam = scene->camera->GetNodeTM(f * frame);
        expectNear(Normalize(-cam.GetRow(2)), Normalize(Point3() - cam.GetTrans()), 2e-3f);
    }
}

TEST(KeyedTransforms, BadKeysNameTheirPlace)
{
    standalone::StandaloneCore core;
    try {
        standalone::parseScene(
            R"({"objects": [{"name": "b", "type": "box", "position": {"keys": [[0, [0,0,0]], [0, [1,0,0]]]}}]})",
            "doc.json", core);
        FAIL() << "expected an error";
    } catch (const standalone::SceneError& e) {
        EXPECT_EQ(e.jsonPath(), "/objects/0/position/keys/1/0");
        EXPECT_NE(std::string(e.what()).find("second key"), std::string::npos) << e.what();
    }
}

}  // namespace
