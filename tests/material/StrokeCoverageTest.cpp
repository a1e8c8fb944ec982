// The stroke painter's deposit: the colour each covered pixel takes and how it is laid on the
// canvas, from the canvas's coverage or from a walk's recording.

#include "material/StrokeCoverage.h"
#include "material/StrokeWalk.h"
#include "paint/PaintAdjustment.h"
#include "paint/vmlRaster.h"
#include "paint/vmlRasterRS.h"
#include "renderer/SampleGrid.h"
#include "support/PaintTestSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <random>
#include <type_traits>

namespace {

using namespace vml;

constexpr vml::MaterialKey coverageMaterial = 1;

class StrokeCoverage : public ::testing::Test {
protected:
    void SetUp() override
    {
        canvas.Init(&bitmap);
        canvas.ResetDirty();
        ASSERT_TRUE(grid.setup(8, 4));
        // Dry paint: laid fully, so a pixel shows exactly the colour and alpha it was given.
        for (int x = 2; x <= 4; ++x)
            canvas.StampCoverage(x, 2, 1.0f);
    }
    void addSample(int x, std::array<std::uint8_t, 4> colour, float weight)
    {
        PixelSample s;
        s.nodeId = 1, s.material = coverageMaterial, s.depth = -5.0f, s.color = colour, s.weight = weight;
        ASSERT_TRUE(grid.insertSample(x, 2, s));
    }
    Bitmap bitmap{8, 4};
    vmlRaster canvas;
    SampleGrid grid;
    CoveragePaint paint{.colour = {1.0f, 0.0f, 0.0f, 1.0f},
                        .samples = &grid,
                        .width = 8,
                        .height = 4,
                        .nodeId = 1,
                        .material = coverageMaterial,
                        .depth = -5.0f};
};

TEST_F(StrokeCoverage, NoSideDropPaintsOnlyOverItsObjectAndThinsOverPartialSamples)
{
    addSample(2, {0, 0, 0, 255}, 1.0f);
    addSample(3, {0, 0, 0, 255}, 0.5f);
    paint.noSideDrop = true;
    paintCoverage(paint, PixelAdjustment{}, canvas);
    EXPECT_FLOAT_EQ(canvas.GetPixel(2, 2).r, 1.0f);
    EXPECT_FLOAT_EQ(canvas.GetPixel(2, 2).a, 1.0f);
    // A sample covering half its pixel halves the alpha: t = 0.5 of red over black.
    EXPECT_FLOAT_EQ(canvas.GetPixel(3, 2).r, 0.5f);
    EXPECT_FLOAT_EQ(canvas.GetPixel(3, 2).a, 0.5f);
    // No sample: the paint would drop off the object's side; the pixel is left.
    EXPECT_FLOAT_EQ(canvas.GetPixel(4, 2).a, 0.0f);
    EXPECT_FLOAT_EQ(canvas.GetCoverageAt(4, 2), 0.0f);
}

TEST_F(StrokeCoverage, FineTakesTheSampleColourWhereThereIsOne)
{
    addSample(2, {0, 255, 0, 255}, 1.0f);
    addSample(3, {0, 255, 0, 255}, 0.5f);
    paint.fine = 1.0f;
    paintCoverage(paint, PixelAdjustment{}, canvas);
    EXPECT_FLOAT_EQ(canvas.GetPixel(2, 2).g, 1.0f);
    EXPECT_FLOAT_EQ(canvas.GetPixel(2, 2).r, 0.0f);
    // m = fine x sample weight = 0.5: halfway between red and green.
    EXPECT_FLOAT_EQ(canvas.GetPixel(3, 2).r, 0.5f);
    EXPECT_FLOAT_EQ(canvas.GetPixel(3, 2).g, 0.5f);
    EXPECT_FLOAT_EQ(canvas.GetPixel(4, 2).r, 1.0f);
}

// A walk's recording deposited straight from the recording, as the painter does with walks made
// ahead, leaves the canvas bit for bit as replaying it onto the canvas's coverage and depositing
// that does: over wet paint already standing and flowing, mixing with it, with fine colour from
// the samples and no side drop where they are missing.
template <class Canvas> class RecordedDeposit : public ::testing::Test {};
using CanvasKinds = ::testing::Types<vmlRaster, vmlRasterRS>;
TYPED_TEST_SUITE(RecordedDeposit, CanvasKinds);

TYPED_TEST(RecordedDeposit, LeavesTheCanvasAsTheReplayedCoverageDoes)
{
    constexpr int width = 13, height = 9;
    SampleGrid grid;
    ASSERT_TRUE(grid.setup(width, height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            if (x == 3)
                continue;  // no sample: the paint would drop off the side here
            PixelSample s;
            s.nodeId = 1, s.material = coverageMaterial, s.depth = -5.0f;
            s.color = {static_cast<std::uint8_t>(x * 19), static_cast<std::uint8_t>(y * 27), 90, 255};
            s.weight = 0.4f + 0.1f * static_cast<float>((x + y) % 7);
            ASSERT_TRUE(grid.insertSample(x, y, s));
        }
    // Overlapping runs with holes, some reaching past the canvas's edges.
    CoverageRecording recording;
    recording.reset(width, height);
    std::mt19937 random(11);
    std::uniform_real_distribution<float> value(0.0f, 1.0f);
    for (int k = 0; k < 24; ++k) {
        float values[7];
        for (float& v : values)
            v = value(random) < 0.2f ? 0.0f : value(random);
        recording.SelectRowTracked(static_cast<int>(random() % (height + 2)) - 1);
        recording.RaiseCoverageRun(static_cast<int>(random() % (width + 4)) - 4, values, 7, 0.8f);
    }

    Bitmap bitmaps[2] = {Bitmap(width, height), Bitmap(width, height)};
    TypeParam canvases[2];
    for (int i = 0; i < 2; ++i) {
        TypeParam& canvas = canvases[i];
        canvas.Init(&bitmaps[i]);
        canvas.Load(true);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                canvas.SetPixel(x, y, AColor(0.2f, 0.4f, 0.6f, 0.5f));
                canvas.SetMask(x, y, 40 + 15 * ((x * 3 + y) % 14));
            }
        test_support::PaintSettings wet;
        wet.water = 1.0f, wet.edge = 0.4f, wet.wind = {0.3f, -0.2f};
        test_support::setPaint(canvas, wet);
        test_support::stampDisc(canvas, 6.0f, 4.0f, 3.5f);
        test_support::depositCovered(canvas, AColor(0.9f, 0.1f, 0.1f, 1.0f));
        canvas.Bleed(0.2f);
        test_support::PaintSettings stroke;
        stroke.water = 0.6f, stroke.mix = 0.7f, stroke.edge = 0.3f, stroke.dry = 0.2f;
        test_support::setPaint(canvas, stroke);
        canvas.ResetDirty();
    }
    const CoveragePaint paint{.colour = {0.1f, 0.8f, 0.3f, 0.9f},
                              .opacity = 0.9f,
                              .fine = 0.5f,
                              .noSideDrop = true,
                              .samples = &grid,
                              .width = width,
                              .height = height,
                              .nodeId = 1,
                              .material = coverageMaterial,
                              .depth = -5.0f};
    PixelAdjustment adjustment;
    adjustment.jitterR = 0.05f, adjustment.mono = 0.2f;
    const AColor before = canvases[0].GetPixel(2, 4);
    recording.forEachRow([&](int y, int first, int last, const float* values) {
        canvases[0].SelectRowTracked(y);
        canvases[0].RaiseCoverageRun(first, values, last - first + 1, 1.0f);
    });
    paintCoverage(paint, adjustment, canvases[0]);
    paintCoverage(paint, adjustment, recording, canvases[1]);
    ASSERT_NE(canvases[0].GetPixel(2, 4), before) << "the stroke deposits";

    // Every field of every pixel (and wet cell), bit for bit; the mask's unused bytes left out.
    auto bits = [](const auto& record) {
        std::array<std::uint32_t, sizeof(record) / 4> words;
        std::memcpy(words.data(), &record, sizeof record);
        if constexpr (requires { record.mask; })
            words[offsetof(std::decay_t<decltype(record)>, mask) / 4] = record.mask;
        return words;
    };
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            ASSERT_EQ(bits(canvases[1].pixelAt(x, y)), bits(canvases[0].pixelAt(x, y))) << x << ", " << y;
    if constexpr (std::is_same_v<TypeParam, vmlRasterRS>) {
        for (int cy = 0; cy < canvases[0].wetHeight(); ++cy)
            for (int cx = 0; cx < canvases[0].wetWidth(); ++cx)
                ASSERT_EQ(bits(canvases[1].cellAt(cx, cy)), bits(canvases[0].cellAt(cx, cy)))
                    << cx << ", " << cy;
    }
}

}  // namespace
