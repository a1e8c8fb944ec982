#include "support/PaintTestSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>

namespace {

using namespace vml;
using namespace test_support;

const AColor clear(0, 0, 0, 0);

template <class Canvas> class Bleed : public ::testing::Test {};
TYPED_TEST_SUITE(Bleed, CanvasKinds);

TYPED_TEST(Bleed, DryOrEmptyCanvasReportsNothingAndLoadDriesIt)
{
    TypeParam empty;
    EXPECT_FALSE(empty.Bleed(0.2f));
    PaintCanvas<TypeParam> c(8, 8, clear);
    EXPECT_FALSE(c.canvas.Bleed(1.0f));
    PaintSettings wet;
    wet.water = 1;
    setPaint(c.canvas, wet);
    stampDisc(c.canvas, 4, 4, 3);
    depositCovered(c.canvas, AColor(1, 0, 0, 1));
    ASSERT_TRUE(c.canvas.Bleed(0.2f));
    c.canvas.Load(true);
    EXPECT_FALSE(c.canvas.Bleed(0.2f));
    c.canvas.LoadColour(&c.bitmap);
    EXPECT_FALSE(c.canvas.Bleed(0.2f));
}

TYPED_TEST(Bleed, WetPaintSpreadsToNeighboursAndWindPushesItDownwind)
{
    {
        PaintCanvas<TypeParam> c(21, 21, clear);
        PaintSettings wet;
        wet.water = 1;
        setPaint(c.canvas, wet);
        stampDisc(c.canvas, 10, 10, 3);
        depositCovered(c.canvas, AColor(1, 0, 0, 1));
        bleedToEnd(c.canvas, 200);
        // Three pixels beyond the last covered one, in all four directions.
        for (const auto& [x, y] : {std::pair{15, 10}, {5, 10}, {10, 15}, {10, 5}}) {
            const AColor p = c.canvas.GetPixel(x, y);
            EXPECT_GT(p.r, 0.0f) << x << ", " << y;
            EXPECT_GT(p.a, 0.0f) << x << ", " << y;
            EXPECT_EQ(p.g, 0.0f);
        }
    }
    PaintCanvas<TypeParam> c(25, 13, clear);
    PaintSettings wet;
    wet.water = 1;
    wet.wind = {1.2f, 0};  // every leftward weight (h - 1.2h and below) is negative
    setPaint(c.canvas, wet);
    stampDisc(c.canvas, 12, 6, 3);
    depositCovered(c.canvas, AColor(1, 0, 0, 1));
    bleedToEnd(c.canvas, 200);

    float left = 0, right = 0;
    for (int y = 0; y < 13; ++y)
        for (int d = 4; d <= 12; ++d) {
            left += c.canvas.GetPixel(12 - d, y).r;
            right += c.canvas.GetPixel(12 + d, y).r;
        }
    EXPECT_GT(right, 0.5f);
    // Nothing flows against the wind: the columns left of the disc stay clear.
    EXPECT_EQ(left, 0.0f);
}

TYPED_TEST(Bleed, StrengthIsHeldToZeroToOne)
{
    auto prepared = [] {
        auto c = std::make_unique<PaintCanvas<TypeParam>>(12, 12, clear);
        PaintSettings wet;
        wet.water = 0.8f;
        wet.edge = 0.3f;
        setPaint(c->canvas, wet);
        stampDisc(c->canvas, 6, 6, 3);
        depositCovered(c->canvas, AColor(0.2f, 0.9f, 0.4f, 1));
        return c;
    };
    auto strong = prepared(), one = prepared(), invalid = prepared(), zero = prepared();
    for (int i = 0; i < 5; ++i) {
        strong->canvas.Bleed(7.0f);
        one->canvas.Bleed(1.0f);
        invalid->canvas.Bleed(std::numeric_limits<float>::quiet_NaN());
        zero->canvas.Bleed(0.0f);
    }
    const AColor untouched = prepared()->canvas.GetPixel(6, 6);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x) {
            ASSERT_EQ(strong->canvas.GetPixel(x, y), one->canvas.GetPixel(x, y));
            ASSERT_EQ(invalid->canvas.GetPixel(x, y), zero->canvas.GetPixel(x, y));
        }
    // Strength 0 lays nothing from the wet layer.
    EXPECT_EQ(zero->canvas.GetPixel(6, 6), untouched);
    EXPECT_NE(one->canvas.GetPixel(6, 6), untouched);
}

// One wet pixel in the middle of a 3 x 3 canvas: d = 255 x 0.039215 = 9.999825 of red paint with
// edge 0.5, no wind, no dry. Strength 0.2: h = 0.1, a = 0.02, b = 0.015.
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

TEST(BleedFull, TwoPassesWorkedByHand)
{
    PaintCanvas<vmlRaster> c(3, 3, clear);
    PaintSettings wet;
    wet.water = 1;
    wet.edge = 0.5f;
    setPaint(c.canvas, wet);
    c.canvas.StampCoverage(1, 1, 1.0f);
    c.canvas.SelectRow(1);
    c.canvas.SetPaintColour(AColor(1, 0, 0, 1));
    c.canvas.DepositPaint(1, 1);

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

TEST(BleedFull, MaskZeroPixelsNeitherTakeNorPassWetPaint)
{
    // A wall of mask-0 pixels down column 8; wet paint on its left.
    PaintCanvas<vmlRaster> c(17, 11, clear);
    for (int y = 0; y < 11; ++y)
        c.canvas.SetMask(8, y, 0);
    PaintSettings wet;
    wet.water = 1;
    wet.wind = {0.5f, 0};
    setPaint(c.canvas, wet);
    stampDisc(c.canvas, 4, 5, 3);
    depositCovered(c.canvas, AColor(1, 0, 0, 1));
    EXPECT_GT(bleedToEnd(c.canvas, 200), 3);

    EXPECT_GT(c.canvas.GetPixel(7, 5).r, 0.0f);  // the paint reached the wall
    for (int y = 0; y < 11; ++y)
        for (int x = 8; x < 17; ++x)
            ASSERT_EQ(c.canvas.GetPixel(x, y), clear) << x << ", " << y;
}

// A 4 x 4 canvas has a 2 x 2 wet grid that all flows. Pixel (0, 0) feeds
// d = 255 x 0.0294112 = 7.499856 of red with edge 0.5 into cell (0, 0). Strength 0.2:
// a = 0.042, b = 0.017, h = 0.08 / 1020, s' = 0.2 / 255; every cell's mask sum is 1020.
TEST(BleedHalf, TwoPassesWorkedByHand)
{
    PaintCanvas<vmlRasterRS> c(4, 4, clear);
    PaintSettings wet;
    wet.water = 1;
    wet.edge = 0.5f;
    setPaint(c.canvas, wet);
    c.canvas.StampCoverage(0, 0, 1.0f);
    c.canvas.SelectRow(0);
    c.canvas.SetPaintColour(AColor(1, 0, 0, 1));
    c.canvas.DepositPaint(0, 0);

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

TEST(BleedHalf, LowMaskCellsReceiveLess)
{
    // Two canvases alike but for the masks of the cell right of the wet one.
    auto run = [](int maskRight) {
        auto c = std::make_unique<PaintCanvas<vmlRasterRS>>(6, 2, clear);
        for (int y = 0; y < 2; ++y)
            for (int x = 4; x < 6; ++x)
                c->canvas.SetMask(x, y, maskRight);
        PaintSettings wet;
        wet.water = 1;
        setPaint(c->canvas, wet);
        c->canvas.StampCoverage(2, 0, 1.0f);
        c->canvas.SelectRow(0);
        c->canvas.SetPaintColour(AColor(1, 0, 0, 1));
        c->canvas.DepositPaint(2, 0);
        c->canvas.Bleed(0.2f);
        c->canvas.Bleed(0.2f);
        return c->canvas.cellAt(2, 0).water;
    };
    // The receiving cell's mask sum scales q: 4 x 51 against 4 x 255 gives a fifth.
    EXPECT_NEAR(run(51), run(255) / 5.0f, 1e-5f);
}

}  // namespace
