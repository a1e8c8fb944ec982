// Wet and dry paint on both canvases: the deposit into the colours and the wet layer, and the
// bleed passes that carry wet paint on.

#include "support/PaintTestSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <type_traits>

namespace {

using namespace vml;
using namespace test_support;

const AColor clear(0, 0, 0, 0);
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

PaintSettings wetWith(float water, float edge = 0.0f)
{
    PaintSettings s;
    s.water = water;
    s.edge = edge;
    return s;
}

// Red paint of water 1 (unless `wet` says otherwise) in a disc of radius 3, deposited the way the
// painter does.
void wetDisc(vmlRasterBase& canvas, float cx, float cy, PaintSettings wet = {}, AColor colour = {1, 0, 0, 1})
{
    wet.water = wet.water > 0.0f ? wet.water : 1.0f;
    setPaint(canvas, wet);
    stampDisc(canvas, cx, cy, 3);
    depositCovered(canvas, colour);
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

TYPED_TEST(DepositPaint, DryPaintIsLaidFullyThroughTheBlend)
{
    PaintSettings multiply;
    multiply.blendSwitch = 1, multiply.blendMethod = 3;
    PaintSettings untouched = multiply;
    untouched.blendAmount = 0;
    struct Case {
        const char* what;
        PaintSettings settings;
        AColor expected;
    };
    // Paint (1, 0, 0.5, 0.6) over (0.2, 0.4, 0.6, 0.5): with W = 0, t = P.a = 0.6.
    const Case cases[] = {
        {"R 0.2 + 0.8 t, G 0.4 - 0.4 t, B 0.6 - 0.1 t, A 0.4 x 0.5 + t", {}, {0.68f, 0.16f, 0.54f, 0.8f}},
        {"blend amount 0 changes only alpha", untouched, {0.2f, 0.4f, 0.6f, 0.8f}},
        {"multiplied to (0.2, 0, 0.3), then laid", multiply, {0.2f, 0.16f, 0.42f, 0.8f}},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.what);
        PaintCanvas<TypeParam> c(4, 4, background);
        depositOne(c.canvas, 2, 2, 0.7f, AColor(1, 0, 0.5f, 0.6f), row.settings);
        expectColourNear(c.canvas.GetPixel(2, 2), row.expected, eps);
        EXPECT_EQ(c.canvas.GetCoverageAt(2, 2), 0.0f);
        // The half-resolution canvas marks the cell instead (see WaterFreeMarkerIsNotPickedUpAsBlackPaint).
        if constexpr (!halfResolution<TypeParam>) {
            EXPECT_EQ(c.canvas.pixelAt(2, 2).inWeight, 0.0f);
            EXPECT_FALSE(c.canvas.Bleed(0.2f));
        }
    }
}

TYPED_TEST(DepositPaint, WetPaintLaysNothingDirectlyAndReachesTheColourOnlyByBleeding)
{
    PaintCanvas<TypeParam> c(12, 12, background);
    wetDisc(c.canvas, 6, 6);
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
    depositOne(flooded.canvas, 2, 2, 1.0f, AColor(1, 0, 0, 1), wetWith(3));
    EXPECT_EQ(flooded.canvas.GetPixel(2, 2), background);
    EXPECT_NEAR(inWeightAt(flooded.canvas, 2, 2), wetWeight<TypeParam>, 1e-3f);
}

TYPED_TEST(DepositPaint, MixPickUpNeverExceedsHalf)
{
    // White paint soaks the wet layer (W = 1, coverage 1), then black dry paint mixes over it.
    PaintCanvas<TypeParam> c(4, 4, AColor(0, 0, 0, 1));
    depositOne(c.canvas, 0, 0, 1.0f, AColor(1, 1, 1, 1), wetWith(1));
    PaintSettings mix;
    mix.mix = 1;
    depositOne(c.canvas, 0, 0, 0.0f, AColor(0, 0, 0, 1), mix);
    // Wet colour C = in-colour / in-weight = white, same alpha as the paint. pick = in-weight x M
    // (about 10 full, 7.5 x 0.9 half-resolution) caps q at 0.5; then
    // P = (1 - |1 - 0| x M q)(0 + 1 x q): full M = 1 gives 0.5 x 0.5 = 0.25, half-resolution
    // M = 0.9 gives 0.55 x 0.5 = 0.275. With W = 0 the pixel becomes P.
    const float expected = halfResolution<TypeParam> ? 0.275f : 0.25f;
    expectColourNear(c.canvas.GetPixel(0, 0), AColor(expected, expected, expected, 1), eps);
}

TYPED_TEST(DepositPaint, DepositLeavesThePaintStateAsSet)
{
    // One paint colour deposited into two identical pixels must lay the same paint twice, with
    // blending and pick-up in play.
    PaintCanvas<TypeParam> c(6, 2, background);
    PaintSettings s = wetWith(0.3f);
    s.mix = 0.5f, s.blendSwitch = 1, s.blendMethod = 3, s.blendAmount = 50;
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
    depositOne(c.canvas, 1, 1, 1.0f, AColor(1, 0, 0, 1), wetWith(1));
    ASSERT_TRUE(c.canvas.Bleed(0.2f));
    ASSERT_GT(c.canvas.pixelAt(1, 1).water, 0.0f);
    depositOne(c.canvas, 1, 1, 1.5f, AColor(0, 0, 1, 1), PaintSettings{});
    const RasterPixel& p = c.canvas.pixelAt(1, 1);
    EXPECT_EQ(p.water, 0.0f);
    EXPECT_EQ(p.inWeight, 0.0f);
}

TEST(DepositPaintHalf, WaterFreeMarkerIsNotPickedUpAsBlackPaint)
{
    // Wet paint that has drained away leaves flow behind. A dry stroke then only marks the cell
    // with 1e-6 of in-weight and no colour; mixing must not pick that up as black.
    PaintCanvas<vmlRasterRS> c(8, 8, AColor(0, 0, 0, 0));
    wetDisc(c.canvas, 4, 4, {}, AColor(1, 1, 1, 1));
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

TEST(DepositPaintHalf, ALoadLeavesNoWetPaintWhateverWasPaintedBefore)
{
    // A new canvas starts from zero-filled storage and a reused one from the last frame's; a
    // deposit or a bleed before the load must not survive it either way.
    auto dry = [](const vmlRasterRS& canvas) {
        for (int cy = 0; cy < canvas.wetHeight(); ++cy)
            for (int cx = 0; cx < canvas.wetWidth(); ++cx) {
                const WetCell cell = canvas.cellAt(cx, cy);
                if (cell.water != 0.0f || cell.inWeight != 0.0f || cell.flow != 0.0f)
                    return false;
            }
        return true;
    };
    Bitmap bitmap(8, 8);
    vmlRasterRS canvas;
    canvas.Init(&bitmap);
    wetDisc(canvas, 4, 4);
    canvas.Load(true);
    EXPECT_TRUE(dry(canvas)) << "deposited into before the first load";
    wetDisc(canvas, 4, 4);
    canvas.Bleed(0.2f);
    ASSERT_FALSE(dry(canvas));
    canvas.Init(&bitmap);
    canvas.Load(true);
    EXPECT_TRUE(dry(canvas)) << "the next frame on the same storage";
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
    setPaint(canvas, wetWith(1));
    stampDisc(canvas, 6, 8, 2);
    depositCovered(canvas, AColor(4.0f, 4.0f, 4.0f, 1.0f));
    canvas.ClampColours();
    for (int step = 0; step < 6; ++step) {
        canvas.Bleed(1.0f);
        expectAllInRange("bleeding");
    }
}

template <class Canvas> class Bleed : public ::testing::Test {};
TYPED_TEST_SUITE(Bleed, CanvasKinds);

TYPED_TEST(Bleed, DryOrEmptyCanvasReportsNothingAndLoadDriesIt)
{
    TypeParam empty;
    EXPECT_FALSE(empty.Bleed(0.2f));
    PaintCanvas<TypeParam> c(8, 8, clear);
    EXPECT_FALSE(c.canvas.Bleed(1.0f));
    wetDisc(c.canvas, 4, 4);
    ASSERT_TRUE(c.canvas.Bleed(0.2f));
    c.canvas.Load(true);
    EXPECT_FALSE(c.canvas.Bleed(0.2f));
    wetDisc(c.canvas, 4, 4);
    c.canvas.LoadColour(&c.bitmap);
    EXPECT_FALSE(c.canvas.Bleed(0.2f));
}

TYPED_TEST(Bleed, StrengthIsHeldToZeroToOne)
{
    auto prepared = [] {
        auto c = std::make_unique<PaintCanvas<TypeParam>>(12, 12, clear);
        wetDisc(c->canvas, 6, 6, wetWith(0.8f, 0.3f));
        return c;
    };
    auto strong = prepared(), one = prepared(), invalid = prepared(), zero = prepared();
    for (int i = 0; i < 5; ++i) {
        strong->canvas.Bleed(7.0f);
        one->canvas.Bleed(1.0f);
        invalid->canvas.Bleed(std::numeric_limits<float>::quiet_NaN());
        zero->canvas.Bleed(0.0f);
    }
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x) {
            ASSERT_EQ(strong->canvas.GetPixel(x, y), one->canvas.GetPixel(x, y));
            ASSERT_EQ(invalid->canvas.GetPixel(x, y), zero->canvas.GetPixel(x, y));
        }
    // Strength 0 lays nothing from the wet layer.
    const AColor untouched = prepared()->canvas.GetPixel(6, 6);
    EXPECT_EQ(zero->canvas.GetPixel(6, 6), untouched);
    EXPECT_NE(one->canvas.GetPixel(6, 6), untouched);
}

// The bits of every field of a record of 32-bit slots; the unused bytes of the mask's slot are
// left out.
template <class Record> std::array<std::uint32_t, sizeof(Record) / 4> fieldBits(const Record& record)
{
    std::array<std::uint32_t, sizeof(Record) / 4> bits;
    std::memcpy(bits.data(), &record, sizeof record);
    if constexpr (requires { record.mask; })
        bits[offsetof(Record, mask) / 4] = record.mask;
    return bits;
}

template <class Canvas> void expectSameState(const Canvas& tracked, const Canvas& reference)
{
    for (int y = 0; y < tracked.height(); ++y)
        for (int x = 0; x < tracked.width(); ++x)
            ASSERT_EQ(fieldBits(tracked.pixelAt(x, y)), fieldBits(reference.pixelAt(x, y))) << x << ", " << y;
    if constexpr (std::is_same_v<Canvas, vmlRasterRS>) {
        for (int cy = 0; cy < tracked.wetHeight(); ++cy)
            for (int cx = 0; cx < tracked.wetWidth(); ++cx)
                ASSERT_EQ(fieldBits(tracked.cellAt(cx, cy)), fieldBits(reference.cellAt(cx, cy)))
                    << cx << ", " << cy;
    }
}

// Passes that walk only the tracked wet region give, bit for bit, what passes over the whole
// canvas give: random strokes, wet and dry, some pixels left covered but not deposited, between
// passes of random strength, over random masks, on odd and even sizes.
TYPED_TEST(Bleed, TrackedPassesMatchWholeCanvasPasses)
{
    for (const auto& [width, height] : {std::pair{37, 29}, std::pair{40, 26}, std::pair{3, 2}}) {
        const AColor background(0.5f, 0.4f, 0.3f, 1);
        PaintCanvas<TypeParam> tracked(width, height, background), reference(width, height, background);
        reference.canvas.trackWetRegion(false);
        auto both = [&](auto step) { step(tracked.canvas), step(reference.canvas); };
        std::mt19937 random(static_cast<unsigned>(width * 100 + height));
        auto uniform = [&](float from, float to) {
            return std::uniform_real_distribution<float>(from, to)(random);
        };
        auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
        auto bleed = [&](float strength) {
            ASSERT_EQ(tracked.canvas.Bleed(strength), reference.canvas.Bleed(strength));
            expectSameState(tracked.canvas, reference.canvas);
        };
        for (int i = 0; i < width * height / 4; ++i) {
            const int x = pick(width), y = pick(height), mask = pick(256);
            both([&](auto& c) { c.SetMask(x, y, mask); });
        }
        for (int stroke = 0; stroke < 400; ++stroke) {
            PaintSettings paint{pick(3) ? uniform(0, 1) : 0.0f,
                                uniform(0, 1),
                                pick(2) ? uniform(0, 1) : 0.0f,
                                uniform(0, 1),
                                Point2(uniform(-1, 1), uniform(-1, 1)),
                                pick(2),
                                pick(16),
                                uniform(0, 100)};
            both([&](auto& c) { setPaint(c, paint); });
            const int left = pick(width), top = pick(height);
            const int right = std::min(left + pick(6), width - 1),
                      bottom = std::min(top + pick(6), height - 1);
            for (int y = top; y <= bottom; ++y)
                for (int x = left; x <= right; ++x) {
                    const float coverage = pick(4) ? uniform(0, 1.2f) : 0.0f;
                    both([&](auto& c) { c.StampCoverage(x, y, coverage); });
                }
            for (int y = top; y <= bottom; ++y)
                for (int x = left; x <= right; ++x) {
                    const AColor colour(uniform(0, 1), uniform(0, 1), uniform(0, 1), uniform(0, 1));
                    if (pick(16) == 0)
                        continue;  // covered but never deposited
                    both([&](auto& c) {
                        c.SelectRow(y);
                        c.SetPaintColour(colour);
                        c.DepositPaint(x, y);
                    });
                }
            both([&](auto& c) { c.ResetDirty(); });
            if (pick(4) == 0) {
                ASSERT_NO_FATAL_FAILURE(bleed(pick(4) ? 0.2f : uniform(0, 1)));
            }
        }
        for (int pass = 0; pass < 81; ++pass)
            ASSERT_NO_FATAL_FAILURE(bleed(0.2f));
    }
}

// One wet pixel in the middle of a 3 x 3 canvas: d = 255 x 0.039215 = 9.999825 of red paint with
// edge 0.5, no wind, no dry. Strength 0.2: h = 0.1, a = 0.02, b = 0.015.
TEST(BleedFull, TwoPassesWorkedByHand)
{
    PaintCanvas<vmlRaster> c(3, 3, clear);
    depositOne(c.canvas, 1, 1, 1.0f, AColor(1, 0, 0, 1), wetWith(1, 0.5f));
    // Pass 1: no water flows yet; the centre settles to water d / 0.9 = 11.110917 with flow 0,
    // and since every flow is 0 (F = 0) it lays nothing.
    EXPECT_TRUE(c.canvas.Bleed(0.2f));
    EXPECT_NEAR(c.canvas.pixelAt(1, 1).water, 11.110917f, 1e-4f);
    EXPECT_EQ(c.canvas.GetPixel(1, 1), clear);
    // Pass 2: the centre drains to 11.110917 - (11.110917^2 x 0.015 + 0.02) = 9.239130 and sends
    // q = 0.1 x 9.239130 = 0.9239130 to each neighbour, outflow 7.391304. It keeps
    // 9.239130 - 7.391304 = 1.847826 of water and flow 0.8 x 7.391304 = 5.913043.
    EXPECT_TRUE(c.canvas.Bleed(0.2f));
    const RasterPixel& centre = c.canvas.pixelAt(1, 1);
    EXPECT_NEAR(centre.water, 1.847826f, 1e-4f);
    EXPECT_NEAR(centre.flow, 5.913043f, 1e-4f);
    EXPECT_EQ(centre.coverage, 0.0f);
    // Neighbours settle to 0.9239130 / 0.9 = 1.026570 of water with flow 0.
    EXPECT_NEAR(c.canvas.pixelAt(0, 0).water, 1.026570f, 1e-5f);
    EXPECT_EQ(c.canvas.pixelAt(2, 2).flow, 0.0f);
    // Deposit, dep = h x alpha = 0.1 shaped by the mean flow F of the pixel and its four
    // neighbours, read in row order (rows above and pixels to the left already settled):
    //   centre: F = 5.913043 / 5 = 1.182609, |F - 1| < 0.4: e = 0.1 x 5 x 0.5 = 0.25,
    //           dep = 0.1 + 0.25 - (2.5 x 0.182609)^2 x 0.25 = 0.297897;
    //   (1, 0): F = 7.391304 / 4 (centre not yet settled) = 1.847826, dep = 0.1 x (1 - 0.45);
    //   (0, 1): F = 7.391304 / 4 = 1.847826 likewise 0.055;
    //   (2, 1): F = 5.913043 / 4 = 1.478261, 0.055;  (1, 2): F = 5.913043 / 4, 0.055;
    //   corners: no neighbour with flow, F = 0, nothing.
    EXPECT_NEAR(c.canvas.GetPixel(1, 1).r, 0.297897f, 1e-5f);
    EXPECT_NEAR(c.canvas.GetPixel(1, 1).a, 0.297897f, 1e-5f);
    for (const auto& [x, y] : {std::pair{1, 0}, {0, 1}, {2, 1}, {1, 2}})
        EXPECT_NEAR(c.canvas.GetPixel(x, y).r, 0.055f, 1e-6f) << x << ", " << y;
    for (const auto& [x, y] : {std::pair{0, 0}, {2, 0}, {0, 2}, {2, 2}})
        EXPECT_EQ(c.canvas.GetPixel(x, y), clear) << x << ", " << y;
}

// A 4 x 4 canvas has a 2 x 2 wet grid that all flows. Pixel (0, 0) feeds
// d = 255 x 0.0294112 = 7.499856 of red with edge 0.5 into cell (0, 0). Strength 0.2:
// a = 0.042, b = 0.017, h = 0.08 / 1020, s' = 0.2 / 255; every cell's mask sum is 1020.
TEST(BleedHalf, TwoPassesWorkedByHand)
{
    PaintCanvas<vmlRasterRS> c(4, 4, clear);
    depositOne(c.canvas, 0, 0, 1.0f, AColor(1, 0, 0, 1), wetWith(1, 0.5f));
    // Pass 1: the cell settles to 7.499856 / 0.9 = 8.333173 of water; every flow is 0, so the
    // deposit is shaped to nothing.
    EXPECT_TRUE(c.canvas.Bleed(0.2f));
    EXPECT_NEAR(c.canvas.cellAt(0, 0).water, 8.333173f, 1e-4f);
    EXPECT_EQ(c.canvas.GetPixel(0, 0), clear);
    // Pass 2: the cell drains to 8.333173 - (8.333173^2 x 0.017 + 0.042) = 7.110663 and sends
    // q = 0.08 / 1020 x 7.110663 x 1020 = 0.568853 to each of its three neighbours: outflow
    // 1.706559, water left 5.404104, flow 0.8 x 1.706559 = 1.365247. The neighbours settle to
    // 0.568853 / 0.9 = 0.632059.
    EXPECT_TRUE(c.canvas.Bleed(0.2f));
    EXPECT_NEAR(c.canvas.cellAt(0, 0).water, 5.404104f, 1e-4f);
    EXPECT_NEAR(c.canvas.cellAt(0, 0).flow, 1.365247f, 1e-5f);
    EXPECT_NEAR(c.canvas.cellAt(1, 1).water, 0.632059f, 1e-5f);
    EXPECT_EQ(c.canvas.GetCoverageAt(0, 0), 0.0f);  // the outflow's scratch is cleared
    // Deposit: dep = mean alpha 1 x s' x mask 255 = 0.2, shaped by F (flows of the serving
    // cells of the pixel and its four neighbours, each cell once per pixel it serves):
    //   (0, 0): cells {00}, right (1, 0) {00, 10}, below (0, 1) {00, 01}: F = 3 x 1.365247 / 5
    //           = 0.819148 < 1: dep 0.163830; |F - 0.8| < 0.25: e = dep x 4 x 0.5 = 0.327659,
    //           dep += e - ((F - 0.8) x 4)^2 x e = 0.489567;
    //   (1, 1): itself 4 cells, left and above 2 cells holding cell 00 each, right and below 2
    //           cells without it: F = 3 x 1.365247 / 12 = 0.341312, dep 0.2 x F = 0.068262,
    //           then x (1 - 0.45) = 0.037544;
    //   (3, 3): served by cell 11 alone, no flow around it: nothing.
    EXPECT_NEAR(c.canvas.GetPixel(0, 0).r, 0.489567f, 2e-5f);
    EXPECT_NEAR(c.canvas.GetPixel(1, 1).r, 0.037544f, 1e-5f);
    EXPECT_EQ(c.canvas.GetPixel(3, 3), clear);
}

}  // namespace
