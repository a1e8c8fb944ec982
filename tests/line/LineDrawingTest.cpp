// Drawing one line element: stamps, width factors, stamping and compositing.

#include "line/LineCompositing.h"
#include "line/LineDepth.h"
#include "line/LineDerived.h"
#include "line/LineStamp.h"
#include "line/LineStamping.h"
#include "line/WidthFactors.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

namespace {

using namespace vml;

std::vector<float> valuesOf(const LineCanvas& canvas) { return {canvas.pixels.begin(), canvas.pixels.end()}; }

LineSettings derived(float width, float stretch = 0.0f, float angle = 0.0f)
{
    LineSettings s;
    s.lineWidth = width;
    s.lineStretch = stretch;
    s.lineAngle = angle;
    LineShape last;
    updateLineDerived(s, last);
    return s;
}

TEST(LineDerived, ReportsChangesOfRadiusStretchAndAngleOnly)
{
    LineShape last;
    LineSettings raw;
    raw.lineWidth = 1.5f;
    raw.lineZAlphaMinValue = 20.0f;
    raw.lineZAlphaMaxValue = 70.0f;
    LineSettings s = raw;
    EXPECT_TRUE(updateLineDerived(s, last));
    EXPECT_FLOAT_EQ(s.fadeNear, 0.2f);
    EXPECT_FLOAT_EQ(s.fadeSpan, 0.5f);
    raw.lineZAlphaMaxValue = 90.0f;  // not part of the stamp's shape
    s = raw;
    EXPECT_FALSE(updateLineDerived(s, last));
    raw.lineAngle = 30.0f;
    s = raw;
    EXPECT_TRUE(updateLineDerived(s, last));
}

TEST(StampValue, FallsFromFullToZeroOverTheRings)
{
    struct Case {
        const char* what;
        float width, stretch, angle, dx, dy, g, expected;
    };
    // Width 1.5: rings at 1.075, 3.075 and 5.075. Width 0: radius 3.2, never full. Stretch 100:
    // radius 3.1217055 + 4.7, the 0.5 ring at 5.8217055, or 5.8217055 / 11 along the narrow axis.
    const Case cases[] = {
        {"centre", 1.5f, 0, 0, 0.0f, 0.0f, 1, 1.0f},
        {"inner ring", 1.5f, 0, 0, 1.07f, 0.0f, 1, 1.0f},
        {"mid ring below", 1.5f, 0, 0, 0.0f, 3.075f, 1, 0.5f},
        {"mid ring left", 1.5f, 0, 0, -3.075f, 0.0f, 1, 0.5f},
        {"between: 1 - (4.305625 - 1.155625) * 0.5 / 8.3", 1.5f, 0, 0, 2.075f, 0.0f, 1, 0.810241f},
        {"outer ring", 1.5f, 0, 0, 5.075f, 0.0f, 1, 0.0f},
        {"diagonal past the outer ring", 1.5f, 0, 0, 3.6f, 3.6f, 1, 0.0f},
        {"width 0 centre: 1 - 0.64 * 0.5 / 2.08", 0.0f, 0, 0, 0.0f, 0.0f, 1, 0.846154f},
        {"width 0 mid ring", 0.0f, 0, 0, 1.2f, 0.0f, 1, 0.5f},
        {"width 0 outer ring", 0.0f, 0, 0, 0.0f, 3.2f, 1, 0.0f},
        {"stretch +100 along x", 1.5f, 100, 0, 5.8217055f, 0.0f, 1, 0.5f},
        {"stretch +100 along y", 1.5f, 100, 0, 0.0f, 0.5292460f, 1, 0.5f},
        {"stretch +100 past y", 1.5f, 100, 0, 0.0f, 0.72f, 1, 0.0f},
        {"stretch -100 along y", 1.5f, -100, 0, 0.0f, 5.8217055f, 1, 0.5f},
        {"stretch -100 along x", 1.5f, -100, 0, 0.5292460f, 0.0f, 1, 0.5f},
        {"stretch +100 turned 90", 1.5f, 100, 90, 0.5292460f, 0.0f, 1, 0.5f},
        {"factor 2 moves the mid ring to 3.825", 1.5f, 0, 0, 3.825f, 0.0f, 2, 0.5f},
        {"factor 0.5 moves it to 2.7", 1.5f, 0, 0, 0.0f, 2.7f, 0.5f, 0.5f},
        // Width 0.4 grown by 2 (e = 0.2): within 0.2 of the centre every point takes the centre
        // value 1 - 0.09 * 0.5 / 2.98; squaring d - e without holding it at 0 dips it to 0.978.
        {"grown thin centre", 0.4f, 0, 0, 0.0f, 0.0f, 2, 0.984899f},
        {"grown thin near the centre", 0.4f, 0, 0, 0.1f, 0.0f, 2, 0.984899f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_NEAR(stampValue(derived(c.width, c.stretch, c.angle), c.dx, c.dy, c.g), c.expected, 1e-4f);
    }
}

TEST(LineDepth, ScaleNarrowsAndFadeRunsWithDistance)
{
    LineSettings s;
    s.lineZMin = 100.0f;
    s.lineZMax = 1000.0f;
    EXPECT_NEAR(lineDepthScale(s, 1.5f, 1000.0f), 1.5f * 101.0f / 1001.0f, 1e-6f);
    EXPECT_NEAR(lineDepthScale(s, 1.0f, 400.0f), 101.0f / 401.0f, 1e-6f);
    EXPECT_EQ(lineDepthScale(s, 1.5f, 50.0f), 1.5f);
    // Reversed range: nearer than zmin narrows, held at zmax.
    s.lineZMin = 1000.0f;
    s.lineZMax = 100.0f;
    EXPECT_NEAR(lineDepthScale(s, 1.0f, 500.0f), 501.0f / 1001.0f, 1e-6f);
    EXPECT_EQ(lineDepthScale(s, 1.0f, 2000.0f), 1.0f);
    LineSettings raw;
    raw.lineZAlphaMin = 100.0f;
    raw.lineZAlphaMax = 1000.0f;
    raw.lineZAlphaMinValue = 10.0f;
    raw.lineZAlphaMaxValue = 90.0f;
    LineShape last;
    updateLineDerived(raw, last);
    EXPECT_NEAR(lineDepthFade(raw, 50.0f), 0.9f, 1e-6f);    // 1 - 0.1
    EXPECT_NEAR(lineDepthFade(raw, 550.0f), 0.5f, 1e-6f);   // 1 - (0.5 * 0.8 + 0.1)
    EXPECT_NEAR(lineDepthFade(raw, 4000.0f), 0.1f, 1e-6f);  // 1 - 0.9
}

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

struct Stamped {
    LineCanvas coverage, fade;
};

// Stamps `s`, its derived values brought up to date, along the mask.
Stamped stamp(LineSettings s, Mask& mask, const GBufferViews& views = {})
{
    LineShape last;
    updateLineDerived(s, last);
    LineCanvas deform;
    computeWidthFactors(s, mask.view(), deform);
    Stamped out{LineCanvas(mask.width, mask.height), LineCanvas(mask.width, mask.height)};
    EXPECT_TRUE(stampLines(s, mask.view(), deform, views, out.coverage, out.fade, nullptr));
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
    EXPECT_EQ(valuesOf(stamp(settings(1e6f), mask).coverage), std::vector<float>(64 * 32, 1.0f));
    EXPECT_EQ(valuesOf(stamp(settings(std::nanf("")), mask).coverage), std::vector<float>(64 * 32, 0.0f));
}

LineCanvas smearedPair(float vx, float vy)
{
    LineSettings s = settings(1.5f);
    s.lineBlur = 50.0f;        // motion scaled by 1
    s.lineBlurOffset = 50.0f;  // smear centred on the stamp
    Mask mask(64, 64);
    mask.set(32, 32);
    mask.set(33, 32);
    std::vector<Point2> velocity(64 * 64, Point2(vx, vy));
    GBufferViews views;
    views.velocity = {velocity.data(), 64, 64};
    return stamp(s, mask, views).coverage;
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
        EXPECT_EQ(valuesOf(smearedPair(v.x, v.y)), valuesOf(still)) << v.x << ", " << v.y;
    // Motion of 1e5 pixels a frame is already past the longest smear over a 64 x 64 image; a fast
    // object nearer the camera, or a point crossing the camera plane, smears the same.
    const LineCanvas longest = smearedPair(1e5f, 1e5f);
    for (float v : {1e8f, 1e30f, std::numeric_limits<float>::infinity()})
        EXPECT_EQ(valuesOf(smearedPair(v, v)), valuesOf(longest)) << v;
    EXPECT_GT(longest.at(2, 2), 0.0f);
    EXPECT_GT(longest.at(62, 62), 0.0f);
}

constexpr int size = 16;
constexpr std::uint16_t full = 65535;

// A grey line at full strength.
LineSettings lineOf(float grey)
{
    LineSettings s;
    s.lineAlpha = 100.0f;
    s.lineColor[0] = s.lineColor[1] = s.lineColor[2] = grey;
    return s;
}

Bitmap filled(BMM_Color_64 pixel)
{
    Bitmap bitmap(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            bitmap.PutPixels(x, y, 1, &pixel);
    return bitmap;
}

BMM_Color_64 pixelAt(const Bitmap& bitmap, int x, int y)
{
    BMM_Color_64 p;
    bitmap.GetPixels(x, y, 1, &p);
    return p;
}

bool composite(const LineSettings& s, const LineCanvas& coverage, const LineCanvas& fade, Bitmap& bitmap,
               std::vector<Bitmap*> elements = {}, bool out = false, const LineMapSample& map = {},
               RendProgressCallback* progress = nullptr)
{
    return compositeLines(s, coverage, fade, bitmap, elements, out, map, progress);
}

TEST(LineCompositing, RenderElementOnlyLeavesTheBitmapAndFillsTheElement)
{
    // Only the left half is covered; a = 0.5 through the fade. The blended colour is white at
    // 0.5 over black, 0.5 grey; composited at la = 0.5 over opaque green: r = 0.5 * 0.5,
    // g = 0.5 * 0.5 + 1 * 0.5, alpha 1.
    const BMM_Color_64 black{0, 0, 0, full};
    Bitmap bitmap = filled(black);
    Bitmap element = filled({0, full, 0, full});
    Bitmap second(size, size);
    LineCanvas coverage(size, size, 0.0f);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < 4; ++x)
            coverage.at(x, y) = 1.0f;
    const LineCanvas half(size, size, 0.5f);
    composite(lineOf(1.0f), coverage, half, bitmap, {&element, nullptr, &second}, true);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            ASSERT_EQ(pixelAt(bitmap, x, y), black) << x << "," << y;
    EXPECT_NEAR(pixelAt(element, 0, 8).r, 16383, 1);
    EXPECT_NEAR(pixelAt(element, 0, 8).g, 49151, 1);
    EXPECT_EQ(pixelAt(element, 0, 8).a, full);
    EXPECT_EQ(pixelAt(element, 12, 8), (BMM_Color_64{0, full, 0, full}));  // a = 0 there
    // Over a transparent element: 0.5 grey at la 0.5, alpha 0.5.
    EXPECT_NEAR(pixelAt(second, 0, 8).r, 16383, 1);
    EXPECT_NEAR(pixelAt(second, 0, 8).a, 32767, 1);
    // A black line at a quarter over red: the layer keeps three quarters of the red.
    Bitmap red = filled({full, 0, 0, full});
    composite(lineOf(0.0f), coverage, LineCanvas(size, size, 0.25f), bitmap, {&red}, true);
    EXPECT_NEAR(pixelAt(red, 0, 8).r, 49151, 1);
    // With the switch off the same composite writes the bitmap too.
    composite(lineOf(1.0f), coverage, half, bitmap, {}, false);
    EXPECT_NEAR(pixelAt(bitmap, 0, 8).r, 32767, 1);
    EXPECT_EQ(pixelAt(bitmap, 12, 8), black);
}

// Logs the progress reports and answers abort to the `abortAt`th (from 1; 0: never).
struct ProgressLog : RendProgressCallback {
    explicit ProgressLog(int abortAt) : abortAt(abortAt) {}
    void SetTitle(const char*) override {}
    int Progress(int done, int total) override
    {
        reports.push_back(done);
        lastTotal = total;
        return static_cast<int>(reports.size()) == abortAt ? RENDPROG_ABORT : RENDPROG_CONTINUE;
    }
    int abortAt;
    std::vector<int> reports;
    int lastTotal = 0;
};

TEST(LineCompositing, ProgressComesBeforeEveryBatchOfRowsAndAbortStopsThere)
{
    constexpr int tall = 300;  // batches of rows 0, 128 and 256
    const LineCanvas ones(size, tall, 1.0f);
    const LineSettings white = lineOf(1.0f);
    // Rows: abort at the n-th report (0: never), the reports made, and the rows composited.
    const struct {
        int abortAt;
        std::vector<int> reports;
        int rowsDone;
    } cases[] = {{0, {tall, tall + 128, tall + 256}, tall}, {1, {tall}, 0}, {2, {tall, tall + 128}, 128}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.abortAt);
        Bitmap bitmap(size, tall);
        ProgressLog log(c.abortAt);
        EXPECT_EQ(composite(white, ones, ones, bitmap, {}, false, {}, &log), c.abortAt == 0);
        EXPECT_EQ(log.reports, c.reports);
        EXPECT_EQ(log.lastTotal, 2 * tall);
        // The last row composited and the first one left, where there are such rows.
        EXPECT_EQ(pixelAt(bitmap, 3, std::max(c.rowsDone - 1, 0)).a, c.rowsDone > 0 ? full : 0);
        EXPECT_EQ(pixelAt(bitmap, 3, std::min(c.rowsDone, tall - 1)).a, c.rowsDone < tall ? 0 : full);
    }
}

}  // namespace
