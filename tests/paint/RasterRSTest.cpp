#include "support/CanvasTestSupport.h"

#include <gtest/gtest.h>

namespace {

using namespace vml;
using namespace test_support;

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

TEST(WetGrid, InteriorOddPixelsAreServedByFourCells)
{
    Bitmap bitmap(6, 6);
    vmlRasterRS canvas;
    canvas.Init(&bitmap);
    EXPECT_EQ(canvas.servingColumns(1).count * canvas.servingRows(3).count, 4);
    EXPECT_EQ(canvas.servingColumns(2).count * canvas.servingRows(3).count, 2);
    EXPECT_EQ(canvas.servingColumns(5).count * canvas.servingRows(5).count, 1);
}

}  // namespace
