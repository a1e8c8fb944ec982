#include "line/LineStamping.h"
#include "line/LineDerived.h"
#include "line/WidthFactors.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

namespace {

using namespace vml;

// An edge mask owning its pixels.
struct Mask {
    int width, height;
    std::vector<std::uint8_t> pixels;
    Mask(int w, int h) : width(w), height(h), pixels(static_cast<std::size_t>(w) * h, 0) {}
    void set(int x, int y) { pixels[static_cast<std::size_t>(y) * width + x] = 1; }
    void row(int y, int x0, int x1)
    {
        for (int x = x0; x <= x1; ++x)
            set(x, y);
    }
    void column(int x, int y0, int y1)
    {
        for (int y = y0; y <= y1; ++y)
            set(x, y);
    }
    EdgeMask view() { return EdgeMask{pixels.data(), width, height}; }
};

LineSettings settings(float width, float deform = 0.0f)
{
    LineSettings s;
    s.lineWidth = width;
    s.lineDeform = deform;
    return s;
}

void derive(LineSettings& s)
{
    LineShape last;
    updateLineDerived(s, last);
}

struct Stamped {
    LineCanvas coverage, fade;
    bool completed;
};

Stamped stamp(const LineSettings& s, Mask& mask, const GBufferViews& views = {})
{
    LineCanvas deform;
    computeWidthFactors(s, mask.view(), deform);
    Stamped out{LineCanvas(mask.width, mask.height), LineCanvas(mask.width, mask.height), false};
    out.completed = stampLines(s, mask.view(), deform, views, out.coverage, out.fade, nullptr);
    return out;
}

TEST(WidthFactors, DeformThinsStraightRunsAndWidensCorners)
{
    const LineSettings s = settings(1.5f, 100.0f);
    // A straight run: both branches walk 8 + 20 unit steps in opposite directions, the sums
    // cancel, k = 0 and F = 1 + (0 - 0.25) * 100 * 0.025.
    Mask straight(64, 8);
    straight.row(4, 0, 63);
    EXPECT_NEAR(widthFactor(s, straight.view(), 32, 4), 0.375f, 1e-6f);

    // The corner of an L: sumShort = (9, 9), sumLong = (21, 21), nShort = 16, nLong = 40, so
    // k = 16 * 21 / (40 * 9) = 0.93333 and F = 1 + (0.5 * ln 1.93333 - 0.25) * 2.5.
    Mask corner(64, 64);
    corner.row(10, 10, 50);
    corner.column(10, 10, 50);
    EXPECT_NEAR(widthFactor(s, corner.view(), 10, 10), 1.199057f, 1e-4f);

    // A run's end: one branch, k = 8 * 21 / (20 * 9), the same factor as the corner.
    EXPECT_NEAR(widthFactor(s, straight.view(), 0, 4), 1.199057f, 1e-4f);

    // The end of a 5-pixel stub: three steps fill neither budget. sumShort = sumLong = (4, 0),
    // nShort = nLong = 3: k = 3 * 4 / (3 * 4) = 1, scaled by 3^2 / 64.
    Mask stub(12, 8);
    stub.row(3, 2, 6);
    EXPECT_NEAR(widthFactor(s, stub.view(), 2, 3), 0.539470f, 1e-5f);

    LineCanvas deform;
    computeWidthFactors(s, corner.view(), deform);
    EXPECT_NEAR(deform.at(10, 10), 1.199057f, 1e-4f);
    EXPECT_EQ(deform.at(30, 30), -1.0f);
    computeWidthFactors(settings(1.5f, 0.0f), corner.view(), deform);  // no deform: all 1
    EXPECT_EQ(deform.at(10, 10), 1.0f);
    EXPECT_EQ(deform.at(30, 10), 1.0f);
}

TEST(WidthFactors, WalkTakesTheTurnTriedFirst)
{
    // A run x = 0..20 on row 20 that forks at its end: up-right along a diagonal, or down one
    // step to (21, 21) and then straight down. From (12, 20) the right branch steps (1, 0) seven
    // times; at (20, 20) straight on fails and, the turn test being 0, (1, -1) is tried before
    // (1, 1): the walk goes up the diagonal for the 13 steps left of its long budget. The left
    // branch stops at the image border after 11 steps. With r = 0.70711:
    //   sumShort = (1 + 7 + r - 1 - 8, -r), |.| = 0.765367, nShort = 16
    //   sumLong = (1 + 7 + 13r - 1 - 11, -13r), |.| = 10.557504, nLong = 31
    // k = 16 * 10.557504 / (31 * 0.765367) = 7.11951; F = 1 + (0.5 ln 8.11951 - 0.25) * 0.5.
    Mask mask(64, 40);
    mask.row(20, 0, 20);
    for (int i = 1; i < 19; ++i)
        mask.set(20 + i, 20 - i);
    mask.column(21, 21, 39);
    EXPECT_NEAR(widthFactor(settings(1.5f, 20.0f), mask.view(), 12, 20), 1.398567f, 1e-4f);
    // With lineDeform 100 the same bend is held at the largest factor, 2.
    EXPECT_FLOAT_EQ(widthFactor(settings(1.5f, 100.0f), mask.view(), 12, 20), 2.0f);
}

TEST(StampCentre, LongRunsUseTheRunCentreShortOnesTheMean)
{
    // A vertical run x = 8, y = 2..17, continuing right of its lower end at (9, 18). For the
    // pixel (8, 12): up r = 11, down r = 6 with E = (8, 18), whose right neighbour is an edge:
    // c = (1, 0). The pair adds 0.5 * (0 + (1, 0) * 11 / 17); horizontal runs are single pixels.
    Mask mask(20, 24);
    mask.column(8, 2, 17);
    mask.set(9, 18);
    const Point2 c = stampCentre(mask.view(), 8, 12);
    EXPECT_NEAR(c.x, 0.5f * 11.0f / 17.0f, 1e-6f);
    EXPECT_NEAR(c.y, 0.0f, 1e-6f);
    // Short runs lean on the 3 x 3 mean: (1, 18) has one neighbour, at (1, 0); the runs total 1,
    // so the centre is 0.1 * (0, 0) + 0.9 * (0.5, 0).
    mask.set(1, 18);
    mask.set(2, 18);
    EXPECT_NEAR(stampCentre(mask.view(), 1, 18).x, 0.45f, 1e-6f);
}

TEST(LineStamping, StraightEdgeBecomesAContinuousBand)
{
    LineSettings s = settings(1.5f);
    derive(s);
    Mask mask(64, 32);
    mask.row(16, 0, 63);
    const Stamped out = stamp(s, mask);
    EXPECT_TRUE(out.completed);
    // Every centre sits on its pixel (the horizontal run is long and ends outside the image),
    // so each column shows the stamp's vertical profile: 1 within 1.075, then
    // 1 - (d^2 - 1.155625) * 0.5 / 8.3 to 3.075 and 0.5 - (d^2 - 9.455625) * 0.5 / 16.3 to 5.075.
    const float profile[6] = {1.0f, 1.0f, 0.828652f, 0.527447f, 0.299252f, 0.023179f};
    for (int x = 0; x < 64; ++x) {
        for (int d = 0; d < 6; ++d) {
            EXPECT_NEAR(out.coverage.at(x, 16 + d), profile[d], 1e-4f) << x << "," << d;
            EXPECT_NEAR(out.coverage.at(x, 16 - d), profile[d], 1e-4f) << x << "," << d;
            EXPECT_NEAR(out.fade.at(x, 16 + d), profile[d], 1e-4f) << x << "," << d;
        }
        EXPECT_EQ(out.coverage.at(x, 22), 0.0f);
        EXPECT_EQ(out.coverage.at(x, 10), 0.0f);
    }
}

TEST(LineStamping, DepthNarrowsAndFadesTheBand)
{
    LineSettings s = settings(1.5f);
    s.lineZScaleEnable = 1;
    s.lineZMin = 100.0f;
    s.lineZMax = 1000.0f;
    s.lineZAlphaEnable = 1;
    s.lineZAlphaMin = 100.0f;
    s.lineZAlphaMax = 1000.0f;
    s.lineZAlphaMinValue = 0.0f;
    s.lineZAlphaMaxValue = 50.0f;
    derive(s);
    Mask mask(48, 24);
    mask.row(12, 0, 47);
    std::vector<float> z(48 * 24, -1000.0f);  // depth 1000
    GBufferViews views;
    views.z = {z.data(), 48, 24};
    const Stamped out = stamp(s, mask, views);
    // g = 101/1001, e = (g - 1) * 0.75 = -0.674326. At 3 pixels: d = 3.674326,
    // 0.5 - (13.500672 - 9.455625) * 0.5 / 16.3 = 0.375919. Fade A = 1 - (1 * 0.5 + 0).
    EXPECT_NEAR(out.coverage.at(20, 15), 0.375919f, 1e-4f);
    EXPECT_NEAR(out.fade.at(20, 15), 0.5f * 0.375919f, 1e-4f);
    // Reach shrinks to 5.075 - 0.674 = 4.40: nothing at 5 pixels (0.023 without depth).
    EXPECT_EQ(out.coverage.at(20, 17), 0.0f);
    EXPECT_NEAR(out.fade.at(20, 12), 0.5f, 1e-6f);
}

TEST(LineStamping, AStampWiderThanTheImageCoversItWholeAndANaNStampNothing)
{
    // A line a million pixels wide (no range holds it there): its window is held to what can
    // reach the image, and every pixel lies in its full-strength core.
    Mask mask(64, 32);
    mask.row(16, 0, 63);
    LineSettings wide = settings(1e6f);
    derive(wide);
    EXPECT_EQ(stamp(wide, mask).coverage.pixels, std::vector<float>(64 * 32, 1.0f));

    LineSettings broken = settings(std::nanf(""));
    derive(broken);
    EXPECT_EQ(stamp(broken, mask).coverage.pixels, std::vector<float>(64 * 32, 0.0f));
}

struct Motion {
    std::vector<Point2> velocity;
    GBufferViews views;
    Motion(int w, int h, Point2 v) : velocity(static_cast<std::size_t>(w) * h, v)
    {
        views.velocity = {velocity.data(), w, h};
    }
};

LineCanvas smearedPair(float vx, float vy)
{
    LineSettings s = settings(1.5f);
    s.lineBlur = 50.0f;        // motion scaled by 1
    s.lineBlurOffset = 50.0f;  // smear centred on the stamp
    derive(s);
    Mask mask(64, 64);
    mask.set(32, 32);
    mask.set(33, 32);
    Motion motion(64, 64, Point2(vx, vy));
    return stamp(s, mask, motion.views).coverage;
}

TEST(LineSmear, DiagonalMotionSmearsBothWaysNoFartherThanTheLongestSmear)
{
    // Motion (20, 20): length 28.28 shortened to 25.28, (17.88, 17.88); n = 18, slope 1024,
    // so offset (0, 0) of pixel (32, 32) (value 1 at its centre offset (0.45, 0)) is also
    // drawn at (32 + k, 32 + k) and (32 - k, 32 - k). At k = 15: q = 15/18,
    // t = 0.5833 * 1.33, weight 1 - 0.3 * t^3 = 0.86.
    const LineCanvas smeared = smearedPair(20.0f, 20.0f);
    EXPECT_GT(smeared.at(47, 47), 0.85f);
    EXPECT_GT(smeared.at(17, 17), 0.85f);
    EXPECT_GT(smeared.at(48, 47), 0.0f);  // neighbours across the major axis
    EXPECT_EQ(smeared.at(17, 47), 0.0f);  // nothing across the motion
    const LineCanvas still = smearedPair(0.0f, 0.0f);
    EXPECT_EQ(still.at(47, 47), 0.0f);
    EXPECT_GT(still.at(32, 32), 0.99f);

    // Axis-aligned motion, and lengths below and at 3 after scaling, do not smear.
    for (const Point2 v : {Point2(0.0f, 20.0f), Point2(-20.0f, 0.0f), Point2(2.0f, 2.0f), Point2(1.8f, 2.4f)})
        EXPECT_EQ(smearedPair(v.x, v.y).pixels, still.pixels) << v.x << ", " << v.y;

    // Motion of 1e5 pixels a frame is already past the longest smear over a 64 x 64 image; a fast
    // object nearer the camera, or a point crossing the camera plane, smears the same.
    const LineCanvas longest = smearedPair(1e5f, 1e5f);
    for (float v : {1e8f, 1e30f, std::numeric_limits<float>::infinity()})
        EXPECT_EQ(smearedPair(v, v).pixels, longest.pixels) << v;
    EXPECT_GT(longest.at(2, 2), 0.0f);
    EXPECT_GT(longest.at(62, 62), 0.0f);
}

}  // namespace
