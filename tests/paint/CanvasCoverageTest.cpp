#include "support/CanvasTestSupport.h"

#include "paint/Blend.h"

#include <gtest/gtest.h>

namespace {

using namespace vml;
using namespace test_support;

template <class Canvas> class CanvasCoverage : public ::testing::Test {
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
TYPED_TEST_SUITE(CanvasCoverage, CanvasKinds);

TYPED_TEST(CanvasCoverage, ResetDirtyWithoutAStrokeLeavesEverythingEmpty)
{
    this->canvas.ResetDirty();
    EXPECT_EQ(this->dirtyRows(), this->noRows);
    for (int y = 0; y < this->height; ++y)
        EXPECT_EQ(this->rowSpan(y), this->noColumns);
}

TYPED_TEST(CanvasCoverage, RaiseCoverageKeepsARunningMaximumAndWidensOnTheFirstPositive)
{
    auto& canvas = this->canvas;
    canvas.StampCoverage(2, 1, 0.5f);
    EXPECT_EQ(this->dirtyRows(), std::make_pair(1, 1));
    EXPECT_EQ(this->rowSpan(1), std::make_pair(2, 2));
    EXPECT_EQ(canvas.GetCoverageAt(2, 1), 0.5f);

    canvas.StampCoverage(2, 1, 0.5f);  // equal: nothing
    canvas.StampCoverage(2, 1, 0.3f);  // smaller: nothing
    EXPECT_EQ(canvas.GetCoverageAt(2, 1), 0.5f);
    canvas.StampCoverage(2, 1, 0.8f);
    EXPECT_EQ(canvas.GetCoverageAt(2, 1), 0.8f);
    EXPECT_EQ(this->rowSpan(1), std::make_pair(2, 2));

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
    EXPECT_EQ(this->rowSpan(3), this->noColumns);
    canvas.StampCoverage(0, 1, 1.5f);
    EXPECT_EQ(canvas.GetCoverageAt(0, 1), 1.5f);
    EXPECT_EQ(this->rowSpan(1), this->noColumns);
    canvas.ClearCoverage(0);
    EXPECT_EQ(canvas.GetCoverage(0), 0.0f);
    canvas.RaiseCoverage(0, 0.1f);
    EXPECT_EQ(this->rowSpan(1), std::make_pair(0, 0));
}

TYPED_TEST(CanvasCoverage, UntrackedSelectionAndOutsideCoordinatesLeaveTheDirtyState)
{
    auto& canvas = this->canvas;
    canvas.SelectRow(2);
    canvas.RaiseCoverage(3, 0.5f);
    EXPECT_EQ(canvas.GetCoverage(3), 0.5f);
    EXPECT_EQ(this->dirtyRows(), this->noRows);  // the row range follows SelectRowTracked only
    EXPECT_EQ(this->rowSpan(2), std::make_pair(3, 3));

    canvas.ResetDirty();  // row 2 is outside the (empty) row range and keeps its span
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

TYPED_TEST(CanvasCoverage, PixelsAndBlending)
{
    auto& canvas = this->canvas;
    const AColor grey(0.4f, 0.4f, 0.4f, 0.5f), red(1.0f, 0.0f, 0.0f, 1.0f);
    canvas.SetPixel(1, 2, grey);
    EXPECT_EQ(canvas.GetPixel(1, 2), grey);

    canvas.BlendPixel(1, 2, red, 0.0f, 0);
    EXPECT_EQ(canvas.GetPixel(1, 2), grey);

    canvas.BlendPixel(1, 2, red, 0.5f, 0);  // normal
    AColor c = canvas.GetPixel(1, 2);
    EXPECT_FLOAT_EQ(c.r, 0.7f);
    EXPECT_FLOAT_EQ(c.g, 0.2f);
    EXPECT_FLOAT_EQ(c.a, 0.75f);  // 1 - 0.5 * 0.5

    // Positions 6 and 7 are hard light and soft light; a bad stored position blends as normal.
    const AColor top(0.75f, 0.75f, 0.75f, 1.0f);
    for (auto [position, method] : {std::pair{6, blendHardLight}, {7, blendSoftLight}, {99, blendNormal}}) {
        canvas.SetPixel(0, 0, AColor(0.25f, 0.25f, 0.25f, 0.0f));
        canvas.BlendPixel(0, 0, top, 1.0f, position);
        Color expected(0.25f, 0.25f, 0.25f);
        Blend(expected, Color(top), 1.0f, method);
        EXPECT_FLOAT_EQ(canvas.GetPixel(0, 0).r, expected.r) << "position " << position;
        EXPECT_FLOAT_EQ(canvas.GetPixel(0, 0).a, 1.0f);
    }
    Color hard(0.25f, 0.25f, 0.25f), soft = hard;
    Blend(hard, Color(top), 1.0f, blendHardLight);
    Blend(soft, Color(top), 1.0f, blendSoftLight);
    EXPECT_NE(hard.r, soft.r);
}

}  // namespace
