#include "material/StrokeCoverage.h"
#include "paint/PaintAdjustment.h"
#include "paint/vmlRaster.h"
#include "renderer/SampleGrid.h"

#include <gtest/gtest.h>

namespace {

using namespace vml;

constexpr vml::MaterialKey material = 1;

class StrokeCoverage : public ::testing::Test {
protected:
    void SetUp() override
    {
        canvas.Init(&bitmap);
        canvas.ResetDirty();
        ASSERT_TRUE(grid.setup(8, 4));
        paint.colour = {1.0f, 0.0f, 0.0f, 1.0f};
        paint.samples = &grid;
        paint.width = 8, paint.height = 4;
        paint.nodeId = 1;
        paint.material = material;
        paint.depth = -5.0f;
        // Dry paint: laid fully, so a pixel shows exactly the colour and alpha it was given.
        for (int x = 2; x <= 4; ++x)
            canvas.StampCoverage(x, 2, 1.0f);
    }
    void addSample(int x, std::array<std::uint8_t, 4> colour, float weight)
    {
        PixelSample s;
        s.nodeId = 1, s.material = material, s.depth = -5.0f, s.color = colour, s.weight = weight;
        ASSERT_TRUE(grid.insertSample(x, 2, s));
    }

    Bitmap bitmap{8, 4};
    vmlRaster canvas;
    SampleGrid grid;
    CoveragePaint paint;
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

}  // namespace
