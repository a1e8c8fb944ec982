// The velocity G-buffer channel: screen motion in pixels per frame, this frame minus the previous.

#include "support/ScanlineTestSupport.h"

#include "standalone/StandaloneCore.h"
#include "standalone/scanline/FrameMotion.h"
#include "standalone/scanline/ScanlineInstance.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using namespace test_support;
using standalone::SceneNode;
using standalone::TransformAnimation;
using standalone::scanline::previousCamVerts;
using standalone::scanline::previousFrameTime;
using standalone::scanline::ScanlineInstance;

constexpr TimeValue frame = 160;  // at the default 30 frames per second

// Moves node linearly by `perFrame` every frame from `start` at time 0 (keys at frames 0 and 4).
void animate(SceneNode* node, const Point3& start, const Point3& perFrame)
{
    TransformAnimation anim;
    anim.addPositionKey(0, start);
    anim.addPositionKey(4 * frame, start + perFrame * 4.0f);
    node->setAnimation(std::move(anim));
}

// Renders at frame 2 (the previous frame is frame 1).
Bitmap renderFrame2(TestScene& ts, int size, bool antialias = true)
{
    return rendered(ts, {.width = size, .height = size, .antialias = antialias, .time = 2 * frame});
}

Point2 velocityAt(const Bitmap& bm, int x, int y) { return channelAt<Point2>(bm, BMM_CHAN_VELOC, x, y); }

// Every fully covered pixel must have the velocity `expected` answers for it (given the pixel's
// node render id and Z); every background pixel exactly zero. Returns the covered pixels checked.
int expectVelocities(const Bitmap& bm, const std::function<Point2(int x, int y, int node, float z)>& expected,
                     float tolerance = 1e-4f)
{
    int covered = 0;
    for (int y = 0; y < bm.Height(); ++y)
        for (int x = 0; x < bm.Width(); ++x) {
            Point2 v = velocityAt(bm, x, y);
            std::uint16_t node = channelAt<std::uint16_t>(bm, BMM_CHAN_NODE_RENDER_ID, x, y);
            if (node == BMM_BACKGROUND_NODE_RENDER_ID) {
                EXPECT_EQ(v, Point2()) << "background pixel " << x << ", " << y;
                continue;
            }
            if (channelAt<std::uint8_t>(bm, BMM_CHAN_COVERAGE, x, y) != 255)
                continue;
            ++covered;
            Point2 e = expected(x, y, node, channelAt<float>(bm, BMM_CHAN_Z, x, y));
            EXPECT_NEAR(v.x, e.x, tolerance) << "pixel " << x << ", " << y;
            EXPECT_NEAR(v.y, e.y, tolerance) << "pixel " << x << ", " << y;
        }
    return covered;
}

TEST(ScanlineVelocity, PointsFromBehindThePreviousNearPlaneHaveNone)
{
    auto ts = TestScene::perspective(90.0f);
    // At frame 1 "arrived" was at z = +3, behind the camera; "passing" moves along x at z = -10.
    animate(ts->add("arrived", rectMesh(-8, -2, -2, 2, -5), nullptr), {0, 0, 16}, {0, 0, -8});
    animate(ts->add("passing", rectMesh(2, -2, 8, 2, -10), nullptr), {-1, 0, 0}, {0.5f, 0, 0});
    Bitmap bm = renderFrame2(*ts, 32);
    int covered = expectVelocities(bm, [](int, int, int node, float) {
        return node == 0 ? Point2() : Point2(-16.0f * 0.5f / -10.0f, 0.0f);
    });
    EXPECT_GE(covered, 40);
    EXPECT_EQ(velocityAt(bm, 5, 16), Point2());   // arrived
    EXPECT_NE(velocityAt(bm, 26, 16), Point2());  // passing
}

}  // namespace
