// Both canvases without paint: coverage and dirty spans, allocation, the transfers to and from the
// host's bitmaps, the bleed mask and the half-resolution canvas's wet grid.

#include "support/CanvasTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <new>
#include <vector>

namespace {

using namespace vml;
using namespace test_support;

constexpr float twoToMinus16 = 1.0f / 65536.0f;

template <class Canvas> class CanvasTest : public ::testing::Test {
protected:
    void SetUp() override { canvas.Init(&bitmap); }
    std::pair<int, int> dirtyRows() const
    {
        int first = 0, last = 0;
        canvas.GetDirtyRows(first, last);
        return {first, last};
    }
    std::pair<int, int> rowSpan(int y) const
    {
        int first = 0, last = 0;
        canvas.GetRowSpan(first, last, y);
        return {first, last};
    }
    static constexpr int width = 6, height = 5;
    static constexpr std::pair<int, int> noRows{height, -1}, noColumns{width, -1};
    Bitmap bitmap{width, height};
    Canvas canvas;
};
TYPED_TEST_SUITE(CanvasTest, CanvasKinds);

TYPED_TEST(CanvasTest, RaiseCoverageKeepsARunningMaximumAndWidensOnTheFirstPositive)
{
    auto& canvas = this->canvas;
    canvas.StampCoverage(2, 1, 0.5f);
    EXPECT_EQ(this->dirtyRows(), std::make_pair(1, 1));
    EXPECT_EQ(this->rowSpan(1), std::make_pair(2, 2));
    canvas.StampCoverage(2, 1, 0.3f);  // smaller: nothing
    EXPECT_EQ(canvas.GetCoverageAt(2, 1), 0.5f);
    canvas.StampCoverage(2, 1, 0.8f);
    EXPECT_EQ(canvas.GetCoverageAt(2, 1), 0.8f);
    canvas.StampCoverage(4, 3, 0.25f);
    canvas.SelectRowTracked(1);
    canvas.RaiseCoverage(0, 1.0f);
    EXPECT_EQ(canvas.GetCoverage(0), 1.0f);
    EXPECT_EQ(this->dirtyRows(), std::make_pair(1, 3));
    EXPECT_EQ(this->rowSpan(1), std::make_pair(0, 2));
    EXPECT_EQ(this->rowSpan(3), std::make_pair(4, 4));
    EXPECT_EQ(this->rowSpan(2), this->noColumns);
    // ResetDirty empties the spans but keeps the coverage, so a later raise of a pixel that is
    // still covered does not widen its span again; once cleared, the next raise does.
    canvas.ResetDirty();
    EXPECT_EQ(this->dirtyRows(), this->noRows);
    EXPECT_EQ(this->rowSpan(1), this->noColumns);
    canvas.StampCoverage(0, 1, 1.5f);
    EXPECT_EQ(canvas.GetCoverageAt(0, 1), 1.5f);
    EXPECT_EQ(this->rowSpan(1), this->noColumns);
    canvas.ClearCoverage(0);
    canvas.RaiseCoverage(0, 0.1f);
    EXPECT_EQ(this->rowSpan(1), std::make_pair(0, 0));
}

// A run of dab values that crosses an edge raises only the columns on the canvas.
TYPED_TEST(CanvasTest, CoverageRunsAreClippedToTheRow)
{
    auto& canvas = this->canvas;
    const float values[4] = {1.0f, 1.0f, 0.0f, 1.0f};
    canvas.SelectRowTracked(2);
    EXPECT_EQ(canvas.RaiseCoverageRun(this->width - 2, values, 4, 0.5f), 2);
    EXPECT_EQ(canvas.RaiseCoverageRun(-3, values, 4, 0.25f), 1);
    EXPECT_EQ(canvas.GetCoverageAt(0, 2), 0.25f);
    EXPECT_EQ(canvas.GetCoverageAt(this->width - 1, 2), 0.5f);
    EXPECT_EQ(this->rowSpan(2), std::make_pair(0, this->width - 1));
}

// A run longer than the pieces it is gathered in: the newly covered pixels of every piece, and
// only they, widen the row's span; pixels still covered from before are raised without.
TYPED_TEST(CanvasTest, LongCoverageRunsWidenTheSpanByTheirNewlyCoveredPixelsOnly)
{
    Bitmap wide{200, 2};
    TypeParam canvas;
    canvas.Init(&wide);
    canvas.StampCoverage(10, 1, 0.5f);
    canvas.StampCoverage(170, 1, 0.5f);
    canvas.ResetDirty();
    std::vector<float> values(180, 0.0f);
    for (const int column : {10, 70, 110, 170})
        values[static_cast<std::size_t>(column - 10)] = 1.0f;
    canvas.SelectRowTracked(1);
    EXPECT_EQ(canvas.RaiseCoverageRun(10, values.data(), 180, 0.75f), 4);
    int first = 0, last = 0;
    canvas.GetRowSpan(first, last, 1);
    EXPECT_EQ(std::make_pair(first, last), std::make_pair(70, 110));
    for (const int column : {10, 70, 110, 170})
        EXPECT_EQ(canvas.GetCoverageAt(column, 1), 0.75f) << column;
    EXPECT_EQ(canvas.GetCoverageAt(11, 1), 0.0f);
}

TYPED_TEST(CanvasTest, UntrackedSelectionAndOutsideCoordinatesLeaveTheDirtyState)
{
    auto& canvas = this->canvas;
    canvas.SelectRow(2);
    canvas.RaiseCoverage(3, 0.5f);
    EXPECT_EQ(this->dirtyRows(), this->noRows);  // the row range follows SelectRowTracked only
    canvas.ResetDirty();                         // row 2 is outside the (empty) range: kept
    EXPECT_EQ(this->rowSpan(2), std::make_pair(3, 3));
    for (auto [x, y] : {std::pair{-1, 1}, {this->width, 1}, {0, -1}, {0, this->height}})
        canvas.StampCoverage(x, y, 1.0f);
    EXPECT_EQ(this->dirtyRows(), std::make_pair(1, 1));
    EXPECT_EQ(this->rowSpan(1), this->noColumns);
    EXPECT_EQ(this->rowSpan(-1), this->noColumns);
    EXPECT_EQ(this->rowSpan(this->height), this->noColumns);
    canvas.SetMask(-1, 0, 7);
    canvas.SetMask(0, this->height, 7);
}

TYPED_TEST(CanvasTest, BitmapWithoutStorageGivesAnEmptyCanvasThatDoesNothing)
{
    auto& canvas = this->canvas;
    Bitmap empty;
    for (Bitmap* bitmap : {&empty, static_cast<Bitmap*>(nullptr)}) {
        EXPECT_TRUE(canvas.Init(bitmap));
        EXPECT_FALSE(canvas.IsAllocated());
        EXPECT_EQ(canvas.width(), 0);
        EXPECT_EQ(canvas.Load(true), 0);
        EXPECT_EQ(canvas.LoadColour(bitmap), 0);
        canvas.Store();
        canvas.WriteOutput(bitmap, {}, false);
        canvas.StampCoverage(0, 0, 1.0f);
        EXPECT_EQ(this->dirtyRows(), std::make_pair(0, -1));
    }
    EXPECT_EQ(empty.RefreshCount(), 0);
}

TYPED_TEST(CanvasTest, InitKeepsRowsOfTheSameSizeAndReallocatesOnAChange)
{
    auto& canvas = this->canvas;
    RecordingObserver observer;
    canvas.setAllocationObserver(&observer);
    Bitmap bitmap(4, 3), sameSize(4, 3), wide(7, 6);
    EXPECT_TRUE(canvas.Init(&bitmap));
    EXPECT_EQ(observer.progress[2], std::make_pair(2, 3));
    canvas.SetPixel(3, 2, AColor(0.1f, 0.2f, 0.3f, 0.4f));
    canvas.SetMask(3, 2, 99);
    observer = RecordingObserver{};
    canvas.Init(&sameSize);
    EXPECT_EQ(observer.checks, 0);
    EXPECT_EQ(canvas.GetPixel(3, 2), AColor(0.1f, 0.2f, 0.3f, 0.4f));
    EXPECT_EQ(canvas.maskAt(3, 2), 99);
    EXPECT_EQ(canvas.boundBitmap(), &sameSize);
    // Fresh rows, and a dirty span for every row of the new size.
    canvas.Init(&wide);
    EXPECT_EQ(static_cast<int>(observer.progress.size()), allocatedRows(canvas, 6));
    EXPECT_EQ(canvas.GetPixel(3, 2), AColor(0, 0, 0, 0));
    canvas.StampCoverage(6, 5, 0.5f);
    EXPECT_EQ(this->rowSpan(5), std::make_pair(6, 6));
    EXPECT_EQ(this->dirtyRows(), std::make_pair(5, 5));
}

TYPED_TEST(CanvasTest, AllocationFailureLeavesTheCanvasEmpty)
{
    auto& canvas = this->canvas;
    Bitmap bitmap(6, 7);
    const int checks = lowMemoryChecks(canvas, 7);
    // Fail on the pointer array, on the third row, and on the very last check.
    for (int failOn : {1, 4, checks}) {
        RecordingObserver observer;
        observer.failOnCheck = failOn;
        canvas.setAllocationObserver(&observer);
        EXPECT_THROW(canvas.Init(&bitmap), std::bad_alloc) << "failing check " << failOn;
        EXPECT_FALSE(canvas.IsAllocated());
        EXPECT_EQ(canvas.width(), 0);
        EXPECT_EQ(canvas.boundBitmap(), nullptr);
        EXPECT_EQ(canvas.Load(true), 0);
        canvas.Store();
        EXPECT_EQ(bitmap.RefreshCount(), 0);
    }
    RecordingObserver observer;
    canvas.setAllocationObserver(&observer);
    EXPECT_TRUE(canvas.Init(&bitmap));
    EXPECT_EQ(observer.checks, checks);
    canvas.setAllocationObserver(nullptr);
}

TYPED_TEST(CanvasTest, LoadCompositesTheBitmapOverTheCanvasOrReplacesIt)
{
    auto& canvas = this->canvas;
    for (int x : {0, 1, 2})
        canvas.SetPixel(x, 0, AColor(0.2f, 0.4f, 0.6f, 0.5f));
    setBitmapPixel(this->bitmap, 0, 0, {13107, 0, 65535, 32768});  // 0.2, 0, 1, ~0.5
    setBitmapPixel(this->bitmap, 1, 0, {65535, 65535, 65535, 0});  // transparent: ignored
    EXPECT_EQ(canvas.Load(false), this->height);
    const float a = 32768.0f / 65535.0f;
    const AColor c = canvas.GetPixel(0, 0);
    EXPECT_FLOAT_EQ(c.r, (1.0f - a) * 0.2f + 0.2f);
    EXPECT_FLOAT_EQ(c.b, (1.0f - a) * 0.6f + 1.0f);  // not clamped
    EXPECT_NEAR(c.a, 0.75f, 1e-5f);
    EXPECT_EQ(canvas.GetPixel(1, 0), AColor(0.2f, 0.4f, 0.6f, 0.5f));
    // Replacing scales by 2^-16, not 1 / 65535. Either way the working fields and the dirty state
    // are reset and the mask kept.
    canvas.SetMask(1, 1, 77);
    canvas.StampCoverage(1, 1, 0.6f);
    setBitmapPixel(this->bitmap, 2, 1, {65535, 32768, 1, 0});
    canvas.Load(true);
    EXPECT_EQ(canvas.GetPixel(2, 1), AColor(65535 * twoToMinus16, 0.5f, twoToMinus16, 0.0f));
    EXPECT_EQ(canvas.GetPixel(2, 0), AColor(0, 0, 0, 0));
    EXPECT_EQ(canvas.maskAt(1, 1), 77);
    EXPECT_EQ(canvas.GetCoverageAt(1, 1), 0.0f);
    EXPECT_EQ(this->dirtyRows(), this->noRows);
    EXPECT_EQ(this->rowSpan(1), this->noColumns);
}

TYPED_TEST(CanvasTest, LoadToleratesABitmapThatShrankAfterInit)
{
    auto& canvas = this->canvas;
    canvas.SetPixel(5, 4, AColor(0.5f, 0.5f, 0.5f, 0.5f));
    this->bitmap.Allocate(2, 2);
    setBitmapPixel(this->bitmap, 0, 0, {0, 0, 0, 65535});
    canvas.Load(false);  // missing pixels read as transparent and keep the canvas
    EXPECT_EQ(canvas.GetPixel(5, 4), AColor(0.5f, 0.5f, 0.5f, 0.5f));
    EXPECT_EQ(canvas.GetPixel(0, 0), AColor(0, 0, 0, 1));
    canvas.Load(true);  // and clear it when replacing
    EXPECT_EQ(canvas.GetPixel(5, 4), AColor(0, 0, 0, 0));
    canvas.Store();
    canvas.WriteOutput(&this->bitmap, {}, false);
    this->bitmap.Free();
    canvas.Load(false);
    canvas.Store();
}

TYPED_TEST(CanvasTest, StoreClampsInPlaceAndTruncates)
{
    auto& canvas = this->canvas;
    canvas.SetPixel(0, 0, AColor(1.2f, 0.99999f, -0.5f, 0.5f));
    canvas.SetPixel(5, 4, AColor(0.0f, 1.0f, 0.25f, 1.0f));
    const int refreshes = this->bitmap.RefreshCount();
    canvas.Store();
    EXPECT_EQ(bitmapPixel(this->bitmap, 0, 0), (BMM_Color_64{65535, 65534, 0, 32767}));
    EXPECT_EQ(bitmapPixel(this->bitmap, 5, 4), (BMM_Color_64{0, 65535, 16383, 65535}));
    EXPECT_EQ(canvas.GetPixel(0, 0), AColor(1.0f, 0.99999f, 0.0f, 0.5f));
    EXPECT_EQ(this->bitmap.RefreshCount(), refreshes + 1);
    // Clamping alone leaves the canvas as Store does (NaN included) and the bitmap untouched.
    canvas.SetPixel(0, 0, AColor(1.2f, std::nanf(""), -0.5f, 0.5f));
    canvas.ClampColours();
    EXPECT_EQ(canvas.GetPixel(0, 0), AColor(1.0f, 0.0f, 0.0f, 0.5f));
    EXPECT_EQ(bitmapPixel(this->bitmap, 0, 0), (BMM_Color_64{65535, 65534, 0, 32767}));
    EXPECT_EQ(this->bitmap.RefreshCount(), refreshes + 1);
}

TYPED_TEST(CanvasTest, WriteOutputCompositesOntoTheBitmapAndLineElements)
{
    auto& canvas = this->canvas;
    canvas.SetPixel(0, 0, AColor(0.5f, 0.25f, 1.5f, 0.5f));  // blue clamps to 1
    canvas.SetPixel(1, 0, AColor(0.5f, 0.5f, 0.5f, 0.0f));   // transparent: leaves M, clears E
    Bitmap output(this->width, this->height);
    setBitmapPixel(output, 0, 0, {1000, 2000, 3000, 32768});
    setBitmapPixel(output, 1, 0, {1000, 2000, 3000, 32768});
    Bitmap element(this->width, this->height), other(this->width, this->height);
    setBitmapPixel(element, 0, 0, {65535, 0, 0, 65535});
    setBitmapPixel(element, 1, 0, {4000, 5000, 6000, 7000});
    Bitmap wrongSize(this->width + 1, this->height), noStorage;
    std::vector<Bitmap*> elements{&element, nullptr, &wrongSize, &noStorage, &other};
    canvas.WriteOutput(&output, elements, false);
    EXPECT_EQ(canvas.GetPixel(0, 0).b, 1.0f);  // clamped in place
    const float mainAlpha = 32768.0f / 65535.0f;
    const auto outAlpha = static_cast<std::uint16_t>((1.0f - 0.5f * (1.0f - mainAlpha)) * 65535.0f);
    EXPECT_EQ(bitmapPixel(output, 0, 0), (BMM_Color_64{32767, 16383, 65535, outAlpha}));
    EXPECT_EQ(bitmapPixel(output, 1, 0), (BMM_Color_64{1000, 2000, 3000, 32768}));
    // E = (32767, 16383, 65535, 32767); alpha = 32767 / 65535.
    const float alpha = 32767.0f / 65535.0f;
    auto mix = [alpha](float under, std::uint16_t layer) {
        return static_cast<std::uint16_t>(((1.0f - alpha) * under + layer / 65535.0f * alpha) * 65535.0f);
    };
    EXPECT_EQ(bitmapPixel(element, 0, 0),
              (BMM_Color_64{mix(1.0f, 32767), mix(0.0f, 16383), mix(0.0f, 65535), 65535}));
    EXPECT_EQ(bitmapPixel(element, 1, 0), (BMM_Color_64{4000, 5000, 6000, 7000}));
    EXPECT_EQ(bitmapPixel(other, 0, 0),
              (BMM_Color_64{mix(0.0f, 32767), mix(0.0f, 16383), mix(0.0f, 65535), 32767}));
    EXPECT_EQ(bitmapPixel(wrongSize, 0, 0), BMM_Color_64{});
}

TEST(RasterMask, HeldToAByteAndNeverZeroOnTheHalfResolutionCanvas)
{
    Bitmap bitmap(3, 2);
    vmlRaster full;
    vmlRasterRS half;
    full.Init(&bitmap);
    half.Init(&bitmap);
    EXPECT_EQ(full.maskAt(0, 0), 0);
    EXPECT_EQ(half.maskAt(2, 1), 1);  // fresh pixels too
    const std::pair<int, std::pair<int, int>> sets[] = {
        {0, {0, 1}}, {-5, {0, 1}}, {128, {128, 128}}, {300, {255, 255}}};
    for (const auto& [value, expected] : sets) {
        full.SetMask(1, 0, value);
        half.SetMask(1, 0, value);
        EXPECT_EQ(full.maskAt(1, 0), expected.first) << value;
        EXPECT_EQ(half.maskAt(1, 0), expected.second) << value;
    }
    half.Load(true);
    EXPECT_EQ(half.maskAt(1, 0), 255);
}

struct WetGridCase {
    int size;
    int cells;    // ceil(size / 2)
    int lastWet;  // (size >> 1) - 1
};

class WetGrid : public ::testing::TestWithParam<WetGridCase> {};

TEST_P(WetGrid, SizesAndServingCellsAlongBothAxes)
{
    const WetGridCase c = GetParam();
    for (bool alongX : {true, false}) {
        Bitmap bitmap(alongX ? c.size : 3, alongX ? 3 : c.size);
        vmlRasterRS canvas;
        canvas.Init(&bitmap);
        EXPECT_EQ(alongX ? canvas.wetWidth() : canvas.wetHeight(), c.cells);
        EXPECT_EQ(alongX ? canvas.lastWetColumn() : canvas.lastWetRow(), c.lastWet);
        EXPECT_EQ(alongX ? canvas.lastColumn() : canvas.lastRow(), c.size - 1);
        for (int i = 0; i < c.size; ++i) {
            const auto span = alongX ? canvas.servingColumns(i) : canvas.servingRows(i);
            EXPECT_EQ(span.first, i >> 1) << "pixel " << i;
            EXPECT_LE(span.first + span.count, c.cells) << "pixel " << i;
            // An odd pixel shares the next cell only while that cell takes part in the flow.
            EXPECT_EQ(span.count, (i & 1) && (i >> 1) < c.lastWet ? 2 : 1) << "pixel " << i;
        }
        // The last pixel column (row) always has a single serving cell, odd size or even.
        const auto last = alongX ? canvas.servingColumns(c.size - 1) : canvas.servingRows(c.size - 1);
        EXPECT_EQ(last.count, 1);
        const WetCell& corner = alongX ? canvas.cellAt(c.cells - 1, 1) : canvas.cellAt(1, c.cells - 1);
        EXPECT_EQ(corner.water, 0.0f);
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, WetGrid,
                         ::testing::Values(WetGridCase{1, 1, -1}, WetGridCase{2, 1, 0}, WetGridCase{3, 2, 0},
                                           WetGridCase{4, 2, 1}, WetGridCase{5, 3, 1}, WetGridCase{6, 3, 2},
                                           WetGridCase{7, 4, 2}));

}  // namespace
