#include "line/LinePaintCompositing.h"
#include "paint/vmlRaster.h"
#include "shell/RandomTables.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace {

using namespace vml;

constexpr int size = 32;

// A canvas over a bitmap of one colour, loaded as the painterly renderer loads it (alpha 0).
struct Canvas {
    Bitmap bitmap;
    vmlRaster raster;
    explicit Canvas(Color base, int w = size, int h = size) : bitmap(w, h)
    {
        const BMM_Color_64 pixel{static_cast<std::uint16_t>(base.r * 65535.0f),
                                 static_cast<std::uint16_t>(base.g * 65535.0f),
                                 static_cast<std::uint16_t>(base.b * 65535.0f), 65535};
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                bitmap.PutPixels(x, y, 1, &pixel);
        raster.Init(&bitmap);
        raster.LoadColour(&bitmap);
    }
    void setMasks(int value)
    {
        for (int y = 0; y < raster.height(); ++y)
            for (int x = 0; x < raster.width(); ++x)
                raster.SetMask(x, y, value);
    }
    // The canvas colours, row-major.
    std::vector<AColor> pixels() const
    {
        std::vector<AColor> out;
        for (int y = 0; y < raster.height(); ++y)
            for (int x = 0; x < raster.width(); ++x)
                out.push_back(raster.GetPixel(x, y));
        return out;
    }
    bool anyStandingCoverage() const
    {
        for (int y = 0; y < raster.height(); ++y)
            for (int x = 0; x < raster.width(); ++x)
                if (raster.GetCoverageAt(x, y) != 0.0f)
                    return true;
        return false;
    }
};

LineCanvas band(int firstRow, int lastRow, int w = size, int h = size)
{
    LineCanvas c(w, h);
    for (int y = firstRow; y <= lastRow; ++y)
        for (int x = 0; x < w; ++x)
            c.at(x, y) = 1.0f;
    return c;
}

LineSettings lineOf(Color colour)
{
    LineSettings s;
    s.lineAlpha = 100.0f;
    s.lineColor[0] = colour.r;
    s.lineColor[1] = colour.g;
    s.lineColor[2] = colour.b;
    return s;
}

LinePaintResult paint(const LineSettings& s, const LineCanvas& coverage, const LineCanvas& fade,
                      Canvas& canvas, float lineWidth = 4.0f, RendProgressCallback* progress = nullptr,
                      const LineMapSample& map = {})
{
    return paintLinesIntoCanvas(s, lineWidth, coverage, fade, canvas.raster, map, progress);
}

struct ProgressLog : RendProgressCallback {
    explicit ProgressLog(int abortAtCall = -1) : abortAt(abortAtCall) {}
    void SetTitle(const char*) override {}
    int Progress(int done, int total) override
    {
        calls.push_back({done, total});
        return static_cast<int>(calls.size()) == abortAt ? RENDPROG_ABORT : RENDPROG_CONTINUE;
    }
    int abortAt;
    std::vector<std::pair<int, int>> calls;
};

class LinePaint : public ::testing::Test {
protected:
    static void SetUpTestSuite() { fillRandomTables(); }
};

TEST_F(LinePaint, CellSizeFollowsRandomSizeOrLineWidth)
{
    LineSettings s;
    EXPECT_EQ(linePaintCellSize(s, 3.7f, 64), 3);
    EXPECT_EQ(linePaintCellSize(s, 0.3f, 64), 1);
    EXPECT_EQ(linePaintCellSize(s, -2.0f, 64), 1);
    EXPECT_EQ(linePaintCellSize(s, std::numeric_limits<float>::quiet_NaN(), 64), 1);
    EXPECT_EQ(linePaintCellSize(s, 1e9f, 64), 64);
    s.paintRndSizeEnable = 1;
    s.paintRndSize = 6.0f;
    EXPECT_EQ(linePaintCellSize(s, 3.7f, 64), 6);
    s.paintRndSize = 0.0f;
    EXPECT_EQ(linePaintCellSize(s, 3.7f, 64), 1);
}

TEST_F(LinePaint, SamePaintingTwiceGivesTheSamePixels)
{
    LineSettings s = lineOf(Color(0.2f, 0.6f, 0.4f));
    s.paintColorType = 1;
    s.paintColorR = 30.0f;
    s.paintColorG = 40.0f;
    s.paintColorB = 20.0f;
    s.paintBlur = 50.0f;
    s.paintBlurRnd = 50.0f;
    s.paintWind = 30.0f;
    s.paintWindRnd = 80.0f;
    s.paintMix = 40.0f;
    s.paintMixRnd = 60.0f;
    const LineCanvas lines = band(8, 20);
    Canvas first(Color(0.9f, 0.9f, 0.9f)), second(Color(0.9f, 0.9f, 0.9f));
    for (Canvas* c : {&first, &second}) {
        c->setMasks(255);
        paint(s, lines, lines, *c, 3.0f);
        for (int pass = 0; pass < 5; ++pass)
            c->raster.Bleed(0.2f);
    }
    EXPECT_TRUE(first.pixels() == second.pixels());
}

TEST_F(LinePaint, ProgressComesEveryFourthCellRowAndAbortStops)
{
    const LineSettings s = lineOf(Color(1.0f, 1.0f, 1.0f));
    const LineCanvas ones(size, size, 1.0f);
    ProgressLog counting;
    Canvas full(Color(0.0f, 0.0f, 0.0f));
    EXPECT_FALSE(paint(s, ones, ones, full, 4.0f, &counting).aborted);
    // Cell rows of 4 pixels: rows 0 and 4 of the eight report.
    EXPECT_EQ(counting.calls, (std::vector<std::pair<int, int>>{{size, 2 * size}, {size + 16, 2 * size}}));
    ProgressLog aborting(1);
    Canvas cut(Color(0.0f, 0.0f, 0.0f));
    const LinePaintResult result = paint(s, ones, ones, cut, 4.0f, &aborting);
    EXPECT_TRUE(result.aborted);
    EXPECT_TRUE(result.painted);
    EXPECT_EQ(aborting.calls.size(), 1u);
    // The first cell row is painted, the rest keeps the canvas and no coverage is left standing.
    EXPECT_FLOAT_EQ(cut.raster.GetPixel(5, 3).r, 1.0f);
    EXPECT_FLOAT_EQ(cut.raster.GetPixel(5, 4).r, 0.0f);
    EXPECT_FLOAT_EQ(cut.raster.GetPixel(5, 4).a, 0.0f);
    EXPECT_FALSE(cut.anyStandingCoverage());
}

TEST_F(LinePaint, PixelsWithoutAlphaKeepTheCanvasAndItsWetPaint)
{
    // Coverage without fade (every stamp faded away by depth): nothing is painted, and the wet
    // paint already lying there is not washed out by invisible paint.
    LineSettings wetSettings = lineOf(Color(0.0f, 0.0f, 1.0f));
    wetSettings.paintBlur = 80.0f;
    const LineCanvas lines = band(10, 21);
    const LineCanvas noFade(size, size, 0.0f);
    Canvas reference(Color(0.0f, 0.0f, 0.0f)), canvas(Color(0.0f, 0.0f, 0.0f));
    for (Canvas* c : {&reference, &canvas}) {
        c->setMasks(255);
        paint(wetSettings, lines, lines, *c);
    }
    const LinePaintResult result = paint(lineOf(Color(1.0f, 1.0f, 1.0f)), lines, noFade, canvas);
    EXPECT_FALSE(result.painted);
    EXPECT_FALSE(canvas.anyStandingCoverage());
    for (int pass = 0; pass < 3; ++pass)
        EXPECT_EQ(canvas.raster.Bleed(0.2f), reference.raster.Bleed(0.2f));
    const AColor got = canvas.raster.GetPixel(16, 15), want = reference.raster.GetPixel(16, 15);
    for (float AColor::*channel : {&AColor::r, &AColor::g, &AColor::b, &AColor::a})
        EXPECT_NEAR(got.*channel, want.*channel, 1e-5f) << "wet paint kept";
}

TEST_F(LinePaint, MismatchedCanvasesPaintNothing)
{
    Canvas canvas(Color(0.2f, 0.2f, 0.2f));
    const std::vector<AColor> before = canvas.pixels();
    const LineCanvas small(size / 2, size / 2, 1.0f);
    const LineCanvas ones(size, size, 1.0f);
    EXPECT_FALSE(paint(lineOf(Color(1.0f, 1.0f, 1.0f)), small, ones, canvas).painted);
    EXPECT_FALSE(paint(lineOf(Color(1.0f, 1.0f, 1.0f)), ones, small, canvas).painted);
    EXPECT_TRUE(canvas.pixels() == before);
    EXPECT_FALSE(canvas.anyStandingCoverage());
    EXPECT_EQ(canvas.raster.paintState().blendSwitch, 0);
}

}  // namespace
