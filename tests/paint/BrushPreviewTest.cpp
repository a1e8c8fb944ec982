// The brush editor's preview image and its change-detection record.

#include "support/BrushTestSupport.h"

#include "paint/BrushPreview.h"

#include <cstddef>

using namespace test_support;

namespace {

using namespace vml::brushMapParam;
using test_support::ToneMap;
using vml::renderBrushPreview;
using vml::vmlBrush;

class BrushPreviewTest : public test_support::BrushFixture {
protected:
    static std::uint8_t pixel(const std::vector<std::uint8_t>& image, int width, int x, int y)
    {
        return image[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                     static_cast<std::size_t>(x)];
    }
    vmlBrush brush;
};

TEST_F(BrushPreviewTest, BorderIsBlackCentreDarkOutsideWhite)
{
    const int w = 64, h = 48;
    const std::vector<std::uint8_t> image = renderBrushPreview(brush, 0, w, h);
    ASSERT_EQ(image.size(), static_cast<std::size_t>(w * h));
    for (int x = 0; x < w; ++x) {
        EXPECT_EQ(pixel(image, w, x, 0), 0) << x;
        EXPECT_EQ(pixel(image, w, x, h - 1), 0) << x;
    }
    for (int y = 0; y < h; ++y) {
        EXPECT_EQ(pixel(image, w, 0, y), 0) << y;
        EXPECT_EQ(pixel(image, w, w - 1, y), 0) << y;
    }
    // (32, 24) samples (0.5, 0.5): the tip is 1 and bristle dot (0, 0) sits on it.
    EXPECT_EQ(pixel(image, w, 32, 24), 0);
    // (1, 1) samples (1/64, 1 - 1/48), outside the unit circle.
    EXPECT_EQ(pixel(image, w, 1, 1), 255);
    EXPECT_TRUE(renderBrushPreview(brush, 0, 0, 10).empty());
    EXPECT_EQ(renderBrushPreview(brush, 0, 2, 2), std::vector<std::uint8_t>(4, 0));
}

TEST_F(BrushPreviewTest, GreyIsTheTruncatedInverseOfTheTip)
{
    makePlain(brush);
    const std::vector<std::uint8_t> image = renderBrushPreview(brush, 0, 100, 100);
    // (80, 50) samples (0.8, 0.5): p = 0.6, x = 1 - 0.11 / 0.75 = 0.853333, S = 0.912296,
    // (1 - S) * 255 = 22.36.
    EXPECT_EQ(pixel(image, 100, 80, 50), 22);
    EXPECT_EQ(pixel(image, 100, 60, 50), 0);  // p = 0.2, inside the flat centre
}

TEST_F(BrushPreviewTest, TopRowsShowHighV)
{
    // Isolated dots: cells 110 wide, dot of cell (0, 0) at (-19.0875, 40.6239) in bristle units
    // (worked out in BrushShapeTest).
    set(brush, brushMapGroove, 0.0f);
    set(brush, brushMapAnti, 0.0f);
    for (ParamID id : {brushMapHSpace, brushMapVSpace, brushMapHSpaceRand, brushMapVSpaceRand})
        set(brush, id, 100.0f);
    const int w = 320, h = 320;
    const std::vector<std::uint8_t> image = renderBrushPreview(brush, 0, w, h);
    // (99, 30) samples (0.309375, 0.90625): p = -0.38125, q = 0.8125, 0.025 from the dot's
    // centre (bristles 1); d2 = 0.805508, x = 0.259323, S = 0.197686, (1 - S) * 255 = 204.59.
    EXPECT_EQ(pixel(image, w, 99, 30), 204);
    // The mirrored pixel (q = -0.8125) only reaches cell (0, 0), whose dot is far away.
    EXPECT_EQ(pixel(image, w, 99, 290), 255);
}

TEST_F(BrushPreviewTest, DrawsVariantZeroWithoutTheMap)
{
    makePlain(brush);
    set(brush, brushMapStretch, 20.0f);
    set(brush, brushMapStretchRnd, 100.0f);
    ToneMap grey(0.5f);
    brush.SetSubTexmap(0, &grey);
    update(brush);
    vml::vmlBrush::setStrokePainting(true);
    brush.setVariant(5, 3);
    const std::vector<std::uint8_t> image = renderBrushPreview(brush, 0, 100, 100);
    EXPECT_EQ(brush.variantIndex(), 0);
    // (75, 50): p = 0.5 stretched to 1 gives S = 0 (variant 3 would give 0.088347, grey 232).
    EXPECT_EQ(pixel(image, 100, 75, 50), 255);
    EXPECT_EQ(pixel(image, 100, 50, 50), 0);  // the tip, not the grey map
}

TEST_F(BrushPreviewTest, RecordChangesOnlyWithShapeParameters)
{
    IParamBlock2& block = *brush.GetParamBlock(0);
    const vml::BrushPreviewShape before = vml::readBrushPreviewShape(block, 0);
    set(brush, brushMapMapOpacity, 20.0f);
    set(brush, brushMapStretchRnd, 60.0f);
    set(brush, brushMapAngleRnd, 10.0f);
    set(brush, brushCacheDisable, 1);
    set(brush, brushRndNum, 2);
    EXPECT_EQ(vml::readBrushPreviewShape(block, 0), before);

    set(brush, brushMapDampEnd, 60.0f);
    EXPECT_FALSE(vml::readBrushPreviewShape(block, 0) == before);
}

}  // namespace
