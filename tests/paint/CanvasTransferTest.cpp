#include "support/CanvasTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

#include <vector>

namespace {

using namespace vml;
using namespace test_support;

constexpr float twoToMinus16 = 1.0f / 65536.0f;

template <class Canvas> class CanvasTransfer : public ::testing::Test {
protected:
    void SetUp() override { canvas.Init(&bitmap); }

    static constexpr int width = 4, height = 3;
    Bitmap bitmap{width, height};
    Canvas canvas;
};
TYPED_TEST_SUITE(CanvasTransfer, CanvasKinds);

TYPED_TEST(CanvasTransfer, LoadCompositesTheBitmapOverTheCanvas)
{
    auto& canvas = this->canvas;
    canvas.SetPixel(0, 0, AColor(0.2f, 0.4f, 0.6f, 0.5f));
    canvas.SetPixel(1, 0, AColor(0.2f, 0.4f, 0.6f, 0.5f));
    setBitmapPixel(this->bitmap, 0, 0, {13107, 0, 65535, 32768});  // 0.2, 0, 1, ~0.5
    setBitmapPixel(this->bitmap, 1, 0, {65535, 65535, 65535, 0});  // transparent: ignored

    EXPECT_EQ(canvas.Load(false), this->height);
    const float a = 32768.0f / 65535.0f;
    const AColor c = canvas.GetPixel(0, 0);
    EXPECT_FLOAT_EQ(c.r, (1.0f - a) * 0.2f + 0.2f);
    EXPECT_FLOAT_EQ(c.g, (1.0f - a) * 0.4f);
    EXPECT_FLOAT_EQ(c.b, (1.0f - a) * 0.6f + 1.0f);  // not clamped
    EXPECT_NEAR(c.a, 0.75f, 1e-5f);
    EXPECT_EQ(canvas.GetPixel(1, 0), AColor(0.2f, 0.4f, 0.6f, 0.5f));
}

TYPED_TEST(CanvasTransfer, LoadReplacingScalesByTwoToTheMinusSixteen)
{
    auto& canvas = this->canvas;
    canvas.SetPixel(2, 1, AColor(0.9f, 0.9f, 0.9f, 0.9f));
    canvas.SetPixel(3, 2, AColor(0.9f, 0.9f, 0.9f, 0.9f));
    setBitmapPixel(this->bitmap, 2, 1, {65535, 32768, 1, 0});
    canvas.Load(true);
    EXPECT_EQ(canvas.GetPixel(2, 1), AColor(65535 * twoToMinus16, 0.5f, twoToMinus16, 0.0f));
    EXPECT_NE(canvas.GetPixel(2, 1).r, 1.0f);  // 65535 * 2^-16, not 65535 / 65535
    EXPECT_EQ(canvas.GetPixel(3, 2), AColor(0, 0, 0, 0));
}

TYPED_TEST(CanvasTransfer, LoadResetsWorkingFieldsAndDirtyStateButKeepsTheMask)
{
    auto& canvas = this->canvas;
    canvas.SetMask(1, 1, 77);
    canvas.StampCoverage(1, 1, 0.6f);
    canvas.StampCoverage(3, 2, 0.6f);
    for (bool replace : {false, true}) {
        canvas.Load(replace);
        EXPECT_EQ(canvas.maskAt(1, 1), 77);
        EXPECT_EQ(canvas.GetCoverageAt(1, 1), 0.0f);
        EXPECT_EQ(canvas.GetCoverageAt(3, 2), 0.0f);
        int first = 0, last = 0;
        canvas.GetDirtyRows(first, last);
        EXPECT_EQ(first, this->height);
        EXPECT_EQ(last, -1);
        for (int y = 0; y < this->height; ++y) {
            canvas.GetRowSpan(first, last, y);
            EXPECT_EQ(first, this->width);
            EXPECT_EQ(last, -1);
        }
        canvas.StampCoverage(2, 0, 0.5f);
    }
}

TYPED_TEST(CanvasTransfer, LoadColourCopiesRgbWithAlphaZero)
{
    auto& canvas = this->canvas;
    Bitmap other(this->width, this->height);
    setBitmapPixel(other, 1, 2, {32768, 16384, 65535, 65535});
    canvas.SetPixel(0, 0, AColor(1, 1, 1, 1));
    canvas.StampCoverage(0, 0, 1.0f);
    EXPECT_EQ(canvas.LoadColour(&other), this->height);
    EXPECT_EQ(canvas.GetPixel(1, 2), AColor(0.5f, 0.25f, 65535 * twoToMinus16, 0.0f));
    EXPECT_EQ(canvas.GetPixel(0, 0), AColor(0, 0, 0, 0));
    EXPECT_EQ(canvas.GetCoverageAt(0, 0), 0.0f);

    // No source reads as a zeroed row.
    canvas.SetPixel(0, 0, AColor(1, 1, 1, 1));
    canvas.LoadColour(nullptr);
    EXPECT_EQ(canvas.GetPixel(0, 0), AColor(0, 0, 0, 0));
}

TYPED_TEST(CanvasTransfer, LoadToleratesABitmapThatShrankAfterInit)
{
    auto& canvas = this->canvas;
    canvas.SetPixel(3, 2, AColor(0.5f, 0.5f, 0.5f, 0.5f));
    canvas.SetPixel(0, 0, AColor(0.5f, 0.5f, 0.5f, 0.5f));
    this->bitmap.Allocate(2, 2);
    setBitmapPixel(this->bitmap, 0, 0, {0, 0, 0, 65535});
    canvas.Load(false);  // missing pixels read as transparent and keep the canvas
    EXPECT_EQ(canvas.GetPixel(3, 2), AColor(0.5f, 0.5f, 0.5f, 0.5f));
    EXPECT_EQ(canvas.GetPixel(0, 0), AColor(0, 0, 0, 1));
    canvas.Load(true);  // and clear it when replacing
    EXPECT_EQ(canvas.GetPixel(3, 2), AColor(0, 0, 0, 0));
    canvas.Store();
    canvas.WriteOutput(&this->bitmap, {}, false);
    this->bitmap.Free();
    canvas.Load(false);
    canvas.Store();
}

TYPED_TEST(CanvasTransfer, StoreClampsInPlaceAndTruncates)
{
    auto& canvas = this->canvas;
    canvas.SetPixel(0, 0, AColor(1.2f, 0.99999f, -0.5f, 0.5f));
    canvas.SetPixel(3, 2, AColor(0.0f, 1.0f, 0.25f, 1.0f));
    const int refreshes = this->bitmap.RefreshCount();
    canvas.Store();
    EXPECT_EQ(bitmapPixel(this->bitmap, 0, 0), (BMM_Color_64{65535, 65534, 0, 32767}));
    EXPECT_EQ(bitmapPixel(this->bitmap, 3, 2), (BMM_Color_64{0, 65535, 16383, 65535}));
    EXPECT_EQ(canvas.GetPixel(0, 0), AColor(1.0f, 0.99999f, 0.0f, 0.5f));
    EXPECT_EQ(this->bitmap.RefreshCount(), refreshes + 1);

    // Clamping alone leaves the canvas as Store does (NaN included) and the bitmap untouched.
    canvas.SetPixel(0, 0, AColor(1.2f, std::nanf(""), -0.5f, 0.5f));
    canvas.ClampColours();
    EXPECT_EQ(canvas.GetPixel(0, 0), AColor(1.0f, 0.0f, 0.0f, 0.5f));
    EXPECT_EQ(bitmapPixel(this->bitmap, 0, 0), (BMM_Color_64{65535, 65534, 0, 32767}));
    EXPECT_EQ(this->bitmap.RefreshCount(), refreshes + 1);
}

TYPED_TEST(CanvasTransfer, WriteOutputCompositesOntoTheBitmapAndLineElements)
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
    EXPECT_EQ(bitmapPixel(other, 1, 0), BMM_Color_64{});
    EXPECT_EQ(bitmapPixel(wrongSize, 0, 0), BMM_Color_64{});
}

TYPED_TEST(CanvasTransfer, WriteOutputCanSkipTheMainBitmap)
{
    auto& canvas = this->canvas;
    canvas.SetPixel(2, 2, AColor(1.0f, 1.0f, 1.0f, 1.0f));
    Bitmap output(this->width, this->height), element(this->width, this->height);
    Bitmap* elements[] = {&element};
    canvas.WriteOutput(&output, elements, true);
    EXPECT_EQ(bitmapPixel(output, 2, 2), BMM_Color_64{});
    EXPECT_EQ(bitmapPixel(element, 2, 2), (BMM_Color_64{65535, 65535, 65535, 65535}));
    EXPECT_EQ(output.RefreshCount(), 0);

    canvas.WriteOutput(nullptr, elements, false);  // no main bitmap: the elements still get theirs
    EXPECT_EQ(bitmapPixel(element, 2, 2), (BMM_Color_64{65535, 65535, 65535, 65535}));
}

}  // namespace
