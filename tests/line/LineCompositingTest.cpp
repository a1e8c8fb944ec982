#include "line/LineCompositing.h"

#include "line/LineCoverageSoftening.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace vml;

constexpr int size = 16;
constexpr std::uint16_t full = 65535;

LineSettings lineOf(Color colour, int blendPosition = 0)
{
    LineSettings s;
    s.lineAlpha = 100.0f;
    s.lineColor[0] = colour.r;
    s.lineColor[1] = colour.g;
    s.lineColor[2] = colour.b;
    s.lineBlend = blendPosition;
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

TEST(LineCompositing, FullCoverageBlendsTheLineColourByTheBlendPosition)
{
    // Coverage 1 everywhere: mean 1, each 3 x 3 factor 0.7 + 0.3 = 1, fade 1, so a = 1 and the
    // normal blend gives the line colour; alpha 1 - (1 - 0) * 0.
    Bitmap bitmap(size, size);
    const LineCanvas ones(size, size, 1.0f);
    EXPECT_TRUE(composite(lineOf(Color(1.0f, 0.0f, 0.0f)), ones, ones, bitmap));
    EXPECT_EQ(pixelAt(bitmap, 0, 0), (BMM_Color_64{full, 0, 0, full}));
    EXPECT_EQ(pixelAt(bitmap, 9, 15), (BMM_Color_64{full, 0, 0, full}));

    // Blend position 1 is add: 0.5 + 0.25 grey; position 0 (normal) would give 0.25.
    Bitmap grey = filled({32768, 32768, 32768, full});
    composite(lineOf(Color(0.25f, 0.25f, 0.25f), 1), ones, ones, grey);
    EXPECT_NEAR(pixelAt(grey, 3, 3).r, 49152, 1);
}

TEST(LineCompositing, CoverageIsSoftenedAndSharpenedOverInImagePixels)
{
    // Coverage 0.5: the 7 x 7 mean is 0.5 anywhere; each 3 x 3 factor is 0.7 * 0.25 + 0.3 = 0.475.
    // A corner has 4 in-image neighbours: a = 0.5 * 0.475^4 = 0.0254533 (1668 of 65535); inside
    // there are 9: a = 0.5 * 0.475^9 = 0.00061548 (40). White over opaque black, normal blend.
    Bitmap bitmap = filled({0, 0, 0, full});
    const LineCanvas half(size, size, 0.5f);
    const LineCanvas ones(size, size, 1.0f);
    composite(lineOf(Color(1.0f, 1.0f, 1.0f)), half, ones, bitmap);
    EXPECT_NEAR(pixelAt(bitmap, 0, 0).r, 1668, 1);
    EXPECT_NEAR(pixelAt(bitmap, 15, 15).g, 1668, 1);
    EXPECT_NEAR(pixelAt(bitmap, 7, 7).b, 40, 1);
    EXPECT_EQ(pixelAt(bitmap, 7, 7).a, full);
}

TEST(LineCompositing, MapMixesByItsAlphaAtScreenCoordinates)
{
    Bitmap bitmap(size, size);
    const LineCanvas ones(size, size, 1.0f);
    LineSettings s = lineOf(Color(1.0f, 0.0f, 0.0f));
    s.lineMapEnable = 1;
    s.lineMapOpacity = 50.0f;
    std::vector<Point2> uvAtOrigin;
    const LineMapSample map = [&](int x, int y, float u, float v) {
        if (x == 0 && y == 0)
            uvAtOrigin.push_back(Point2(u, v));
        return AColor(0.0f, 0.0f, 1.0f, 1.0f);
    };
    composite(s, ones, ones, bitmap, {}, false, map);
    // m = 1 * 50%: half red, half blue. The top-left pixel: u = 0.5 / 16, v = (16 - 0.5) / 16.
    EXPECT_NEAR(pixelAt(bitmap, 5, 5).r, 32767, 1);
    EXPECT_NEAR(pixelAt(bitmap, 5, 5).b, 32767, 1);
    ASSERT_EQ(uvAtOrigin.size(), 1u);
    EXPECT_FLOAT_EQ(uvAtOrigin[0].x, 0.03125f);
    EXPECT_FLOAT_EQ(uvAtOrigin[0].y, 0.96875f);
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
    composite(lineOf(Color(1.0f, 1.0f, 1.0f)), coverage, half, bitmap, {&element, nullptr, &second}, true);

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

    // With the switch off the same composite writes the bitmap too.
    composite(lineOf(Color(1.0f, 1.0f, 1.0f)), coverage, half, bitmap, {}, false);
    EXPECT_NEAR(pixelAt(bitmap, 0, 8).r, 32767, 1);
    EXPECT_EQ(pixelAt(bitmap, 12, 8), black);
}

TEST(LineCompositing, RowMeansAreThePixelMeansAtEveryWidth)
{
    // Widths below, at and beyond the 7 x 7 window, so the clipped ends meet and overlap.
    for (int width : {1, 2, 3, 4, 6, 7, 8, 11, 37}) {
        LineCanvas coverage(width, 9);
        for (int y = 0; y < coverage.height; ++y)
            for (int x = 0; x < width; ++x)
                coverage.at(x, y) = static_cast<float>((x * 7 + y * 13) % 10) * 0.1f;
        const SoftenedCoverage softened(coverage);
        std::vector<float> row(static_cast<std::size_t>(width));
        for (int y = 0; y < coverage.height; ++y) {
            softened.meanRow(y, row.data());
            for (int x = 0; x < width; ++x)
                EXPECT_EQ(row[static_cast<std::size_t>(x)], softened.mean(x, y))
                    << width << " wide, " << x << ", " << y;
        }
    }
}

// Logs the progress reports and answers abort to the `abortAt`th (from 1; 0: never).
class ProgressLog : public RendProgressCallback {
public:
    explicit ProgressLog(int abortAt) : abortAt_(abortAt) {}
    void SetTitle(const char*) override {}
    int Progress(int done, int total) override
    {
        reports.push_back(done);
        lastTotal = total;
        return static_cast<int>(reports.size()) == abortAt_ ? RENDPROG_ABORT : RENDPROG_CONTINUE;
    }
    std::vector<int> reports;
    int lastTotal = 0;

private:
    int abortAt_;
};

TEST(LineCompositing, ProgressComesBeforeEveryBatchOfRowsAndAbortStopsThere)
{
    constexpr int tall = 300;  // batches of rows 0, 128 and 256
    const LineCanvas ones(size, tall, 1.0f);
    const LineSettings white = lineOf(Color(1.0f, 1.0f, 1.0f));

    Bitmap whole(size, tall);
    ProgressLog counting(0);
    EXPECT_TRUE(composite(white, ones, ones, whole, {}, false, {}, &counting));
    EXPECT_EQ(counting.reports, (std::vector<int>{tall, tall + 128, tall + 256}));
    EXPECT_EQ(counting.lastTotal, 2 * tall);
    EXPECT_EQ(pixelAt(whole, 3, tall - 1).a, full);

    Bitmap none(size, tall);
    ProgressLog first(1);
    EXPECT_FALSE(composite(white, ones, ones, none, {}, false, {}, &first));
    EXPECT_EQ(first.reports.size(), 1u);
    EXPECT_EQ(pixelAt(none, 3, 0).a, 0);

    Bitmap cut(size, tall);
    ProgressLog second(2);
    EXPECT_FALSE(composite(white, ones, ones, cut, {}, false, {}, &second));
    EXPECT_EQ(second.reports.size(), 2u);
    EXPECT_EQ(pixelAt(cut, 3, 127).a, full);
    EXPECT_EQ(pixelAt(cut, 3, 128).a, 0);
}

}  // namespace
