#include "support/PaintTestSupport.h"

#include <gtest/gtest.h>

#include <type_traits>

namespace {

using namespace vml;
using namespace test_support;

constexpr float eps = 1e-5f;
const AColor background(0.2f, 0.4f, 0.6f, 0.5f);

template <class Canvas> constexpr bool halfResolution = std::is_same_v<Canvas, vmlRasterRS>;

// Water one unit of coverage feeds into the wet layer per unit of W at mask 255.
template <class Canvas>
constexpr float wetWeight = halfResolution<Canvas> ? 255 * 0.0294112f : 255 * 0.039215f;

template <class Canvas> float inWeightAt(const Canvas& canvas, int x, int y)
{
    if constexpr (halfResolution<Canvas>)
        return canvas.cellAt(x >> 1, y >> 1).inWeight;
    else
        return canvas.pixelAt(x, y).inWeight;
}

// Deposits `paint` into pixel (x, y) at coverage `coverage` with the given settings.
void depositOne(vmlRasterBase& canvas, int x, int y, float coverage, const AColor& paint,
                const PaintSettings& s)
{
    setPaint(canvas, s);
    canvas.StampCoverage(x, y, coverage);
    canvas.SelectRow(y);
    canvas.SetPaintColour(paint);
    canvas.DepositPaint(x, y);
}

template <class Canvas> class DepositPaint : public ::testing::Test {};
TYPED_TEST_SUITE(DepositPaint, CanvasKinds);

TYPED_TEST(DepositPaint, DryPaintIsLaidFullyAndFeedsNoWater)
{
    PaintCanvas<TypeParam> c(4, 4, background);
    depositOne(c.canvas, 2, 2, 0.7f, AColor(1, 0, 0.5f, 0.6f), {});
    // W = 0: t = P.a = 0.6. R 0.2 + 0.8 x 0.6; G 0.4 - 0.4 x 0.6; B 0.6 - 0.1 x 0.6; A 0.4 x 0.5 + 0.6.
    expectColourNear(c.canvas.GetPixel(2, 2), AColor(0.68f, 0.16f, 0.54f, 0.8f), eps);
    EXPECT_EQ(c.canvas.GetCoverageAt(2, 2), 0.0f);

    if constexpr (halfResolution<TypeParam>) {
        // A water-free deposit leaves only the 1e-6 marker weight in its cell. The first pass
        // settles it into 1e-6 / 0.9 of water that carries no opacity, so no colour changes, and
        // the next pass drains it (the drain alone, 0.21 x 0.2, is far more).
        EXPECT_NEAR(c.canvas.cellAt(1, 1).inWeight, 1e-6f, 1e-9f);
        EXPECT_TRUE(c.canvas.Bleed(0.2f));
        expectColourNear(c.canvas.GetPixel(2, 2), AColor(0.68f, 0.16f, 0.54f, 0.8f), eps);
        expectColourNear(c.canvas.GetPixel(3, 3), background, 0.0f);
        EXPECT_FALSE(c.canvas.Bleed(0.2f));
    } else {
        EXPECT_EQ(c.canvas.pixelAt(2, 2).inWeight, 0.0f);
        EXPECT_FALSE(c.canvas.Bleed(0.2f));
    }
}

TYPED_TEST(DepositPaint, WetPaintLaysNothingDirectlyAndReachesTheColourOnlyByBleeding)
{
    PaintCanvas<TypeParam> c(12, 12, background);
    PaintSettings wet;
    wet.water = 1;
    setPaint(c.canvas, wet);
    stampDisc(c.canvas, 6, 6, 3);
    depositCovered(c.canvas, AColor(1, 0, 0, 1));

    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x)
            ASSERT_EQ(c.canvas.GetPixel(x, y), background) << x << ", " << y;
    // The centre pixel's paint (coverage 1) went into the wet layer whole.
    EXPECT_NEAR(inWeightAt(c.canvas, 6, 6), wetWeight<TypeParam>, 1e-3f);

    EXPECT_GT(bleedToEnd(c.canvas, 200), 1);
    const AColor centre = c.canvas.GetPixel(6, 6);
    EXPECT_GT(centre.r, background.r + 0.3f);
    EXPECT_LT(centre.g, background.g);
    EXPECT_GT(centre.a, background.a);

    // (1 - 3)^8 would lay the paint 256-fold; water is held to 1.
    PaintCanvas<TypeParam> flooded(4, 4, background);
    PaintSettings flood;
    flood.water = 3;
    depositOne(flooded.canvas, 2, 2, 1.0f, AColor(1, 0, 0, 1), flood);
    EXPECT_EQ(flooded.canvas.GetPixel(2, 2), background);
    EXPECT_NEAR(inWeightAt(flooded.canvas, 2, 2), wetWeight<TypeParam>, 1e-3f);
}

TYPED_TEST(DepositPaint, BlendAmountZeroKeepsTheCanvasColourAndChangesOnlyAlpha)
{
    PaintCanvas<TypeParam> c(4, 4, background);
    PaintSettings blend;
    blend.blendSwitch = 1;
    blend.blendMethod = 3;  // multiply
    blend.blendAmount = 0;
    depositOne(c.canvas, 1, 1, 1.0f, AColor(1, 0, 0.5f, 0.6f), blend);
    expectColourNear(c.canvas.GetPixel(1, 1), AColor(0.2f, 0.4f, 0.6f, 0.8f), eps);

    // Amount 100: the paint becomes canvas x paint = (0.2, 0, 0.3), laid with t = 0.6:
    // G 0.4 - 0.4 x 0.6 = 0.16, B 0.6 - 0.3 x 0.6 = 0.42.
    blend.blendAmount = 100;
    depositOne(c.canvas, 2, 1, 1.0f, AColor(1, 0, 0.5f, 0.6f), blend);
    expectColourNear(c.canvas.GetPixel(2, 1), AColor(0.2f, 0.16f, 0.42f, 0.8f), eps);
}

TYPED_TEST(DepositPaint, MixPickUpNeverExceedsHalf)
{
    // White paint soaks the wet layer (W = 1, coverage 1), then black dry paint mixes over it.
    PaintCanvas<TypeParam> c(4, 4, AColor(0, 0, 0, 1));
    PaintSettings soak;
    soak.water = 1;
    depositOne(c.canvas, 0, 0, 1.0f, AColor(1, 1, 1, 1), soak);

    PaintSettings mix;
    mix.mix = 1;
    depositOne(c.canvas, 0, 0, 0.0f, AColor(0, 0, 0, 1), mix);
    // Wet colour C = in-colour / in-weight = white, same alpha as the paint. pick = in-weight x M
    // (about 10 full, 7.5 x 0.9 half-resolution) caps q at 0.5; then
    // P = (1 - |1 - 0| x M q)(0 + 1 x q): full M = 1 gives 0.5 x 0.5 = 0.25, half-resolution
    // M = 0.9 gives 0.55 x 0.5 = 0.275. With W = 0 the pixel becomes P.
    const float expected = halfResolution<TypeParam> ? 0.275f : 0.25f;
    expectColourNear(c.canvas.GetPixel(0, 0), AColor(expected, expected, expected, 1), eps);

    // A weak mix stays below the cap: full canvas M = 0.01, pick = 9.999825 x 0.01 = q;
    // P = (1 - 0.01 q) q = 0.0998983.
    if constexpr (!halfResolution<TypeParam>) {
        depositOne(c.canvas, 3, 3, 1.0f, AColor(1, 1, 1, 1), soak);
        mix.mix = 0.01f;
        depositOne(c.canvas, 3, 3, 0.0f, AColor(0, 0, 0, 1), mix);
        EXPECT_NEAR(c.canvas.GetPixel(3, 3).r, 0.0998983f, eps);
    }
}

TYPED_TEST(DepositPaint, DepositLeavesThePaintStateAsSet)
{
    // One paint colour deposited into two identical pixels must lay the same paint twice, with
    // blending and pick-up in play.
    PaintCanvas<TypeParam> c(6, 2, background);
    PaintSettings s;
    s.water = 0.3f;
    s.mix = 0.5f;
    s.blendSwitch = 1;
    s.blendMethod = 3;
    s.blendAmount = 50;
    setPaint(c.canvas, s);
    c.canvas.StampCoverage(0, 0, 0.8f);
    c.canvas.StampCoverage(4, 0, 0.8f);
    c.canvas.SelectRow(0);
    const AColor paint(0.9f, 0.3f, 0.1f, 0.7f);
    c.canvas.SetPaintColour(paint);
    c.canvas.DepositPaint(0, 0);
    EXPECT_EQ(c.canvas.paintState().colour, paint);
    c.canvas.DepositPaint(4, 0);
    EXPECT_EQ(c.canvas.GetPixel(4, 0), c.canvas.GetPixel(0, 0));
    EXPECT_NE(c.canvas.GetPixel(0, 0), background);
}

TEST(DepositPaintFull, CoverageAboveOneDisplacesTheWetPaintWithoutGoingNegative)
{
    PaintCanvas<vmlRaster> c(3, 3, background);
    PaintSettings wet;
    wet.water = 1;
    depositOne(c.canvas, 1, 1, 1.0f, AColor(1, 0, 0, 1), wet);
    ASSERT_TRUE(c.canvas.Bleed(0.2f));
    ASSERT_GT(c.canvas.pixelAt(1, 1).water, 0.0f);

    depositOne(c.canvas, 1, 1, 1.5f, AColor(0, 0, 1, 1), PaintSettings{});
    const RasterPixel& p = c.canvas.pixelAt(1, 1);
    EXPECT_EQ(p.water, 0.0f);
    EXPECT_EQ(p.inWeight, 0.0f);
}

TEST(DepositPaintFull, MaskZeroPixelTakesNoWetPaint)
{
    PaintCanvas<vmlRaster> c(3, 1, background);
    c.canvas.SetMask(1, 0, 0);
    PaintSettings wet;
    wet.water = 1;
    depositOne(c.canvas, 1, 0, 1.0f, AColor(1, 0, 0, 1), wet);
    EXPECT_EQ(c.canvas.pixelAt(1, 0).inWeight, 0.0f);
    EXPECT_FALSE(c.canvas.Bleed(0.2f));
}

TEST(DepositPaintHalf, FeedsOnlyThePixelsOwnCellAndScalesByMask)
{
    PaintCanvas<vmlRasterRS> c(4, 4, background);
    c.canvas.SetMask(1, 1, 100);
    PaintSettings wet;
    wet.water = 0.5f;
    wet.edge = 0.4f;
    wet.dry = 0.5f;
    wet.wind = {1, 0};
    depositOne(c.canvas, 1, 1, 0.5f, AColor(1, 0, 0, 0.8f), wet);
    // d = 100 x 0.5 x 0.5 x 0.0294112 = 0.735280; the cell stores wind x 1.4 and dry x 0.1.
    const WetCell& cell = c.canvas.cellAt(0, 0);
    const float d = 0.735280f;
    EXPECT_NEAR(cell.inWeight, d, 1e-5f);
    EXPECT_NEAR(cell.inEdge, d * 0.4f, 1e-5f);
    EXPECT_NEAR(cell.inDry, d * 0.05f, 1e-5f);
    EXPECT_NEAR(cell.inWind.x, d * 1.4f, 1e-5f);
    EXPECT_NEAR(cell.inColour.r, d * 1.0f, 1e-5f);
    EXPECT_NEAR(cell.inColour.a, d * 0.8f, 1e-5f);
    // Pixel (1, 1) is also served by the cells right and below, but feeds only its own.
    EXPECT_EQ(c.canvas.cellAt(1, 0).inWeight, 0.0f);
    EXPECT_EQ(c.canvas.cellAt(1, 1).inWeight, 0.0f);
}

TEST(DepositPaintHalf, WaterFreeMarkerIsNotPickedUpAsBlackPaint)
{
    // Wet paint that has drained away leaves flow behind. A dry stroke then only marks the cell
    // with 1e-6 of in-weight and no colour; mixing must not pick that up as black.
    PaintCanvas<vmlRasterRS> c(8, 8, AColor(0, 0, 0, 0));
    PaintSettings wet;
    wet.water = 1;
    setPaint(c.canvas, wet);
    stampDisc(c.canvas, 4, 4, 3);
    depositCovered(c.canvas, AColor(1, 1, 1, 1));
    bleedToEnd(c.canvas, 500);
    ASSERT_GT(c.canvas.cellAt(1, 1).flow, 0.0f);
    ASSERT_EQ(c.canvas.cellAt(1, 1).water, 0.0f);

    // Half-transparent paint, so the pick-up's (1 - |alpha difference|) does not vanish. With
    // W = 0 and no pick-up the pixel becomes before + (paint - before) x 0.5.
    PaintSettings dryMix;
    dryMix.mix = 1;
    const AColor paint(0.8f, 0.6f, 0.4f, 0.5f);
    auto expectPlainPaint = [&](int x, int y) {
        const AColor before = c.canvas.GetPixel(x, y);
        depositOne(c.canvas, x, y, 1.0f, paint, dryMix);
        const AColor expected(before.r + (paint.r - before.r) * 0.5f, before.g + (paint.g - before.g) * 0.5f,
                              before.b + (paint.b - before.b) * 0.5f, before.a * 0.5f + 0.5f);
        expectColourNear(c.canvas.GetPixel(x, y), expected, eps);
    };
    expectPlainPaint(2, 2);
    expectPlainPaint(3, 3);  // same cell, now marked
    c.canvas.Bleed(0.2f);    // settles the marker into colourless water
    ASSERT_GT(c.canvas.cellAt(1, 1).water, 0.0f);
    expectPlainPaint(2, 2);  // served by that cell alone
}

// A clamp passes over the rows no colour was written to since the last one; every way paint
// reaches the colours must count as a write, or paint out of range would survive the clamp.
TYPED_TEST(DepositPaint, AClampReachesEveryColourWrittenSinceTheLastOne)
{
    PaintCanvas<TypeParam> c(12, 12, background);
    auto& canvas = c.canvas;
    canvas.ClampColours();
    auto expectAllInRange = [&](const char* after) {
        canvas.ClampColours();
        for (int y = 0; y < 12; ++y)
            for (int x = 0; x < 12; ++x) {
                const AColor p = canvas.GetPixel(x, y);
                ASSERT_TRUE(p.r <= 1.0f && p.g <= 1.0f && p.b <= 1.0f && p.a <= 1.0f && p.r >= 0.0f)
                    << after << ": pixel " << x << ", " << y;
            }
    };
    canvas.SetPixel(1, 0, AColor(1.5f, -0.5f, 0.5f, 0.5f));
    canvas.BlendPixel(2, 1, AColor(3.0f, 3.0f, 3.0f, 1.0f), 0.9f, 0);
    expectAllInRange("pixel writes");

    // Dry paint brighter than white, laid directly.
    depositOne(canvas, 4, 3, 1.0f, AColor(2.0f, 2.0f, 2.0f, 1.0f), {});
    expectAllInRange("a dry deposit");

    // Wet paint brighter than white reaches rows only by bleeding, after the clamp above.
    PaintSettings wet;
    wet.water = 1;
    setPaint(canvas, wet);
    stampDisc(canvas, 6, 8, 2);
    depositCovered(canvas, AColor(4.0f, 4.0f, 4.0f, 1.0f));
    canvas.ClampColours();
    for (int step = 0; step < 6; ++step) {
        canvas.Bleed(1.0f);
        expectAllInRange("bleeding");
    }
}

}  // namespace
