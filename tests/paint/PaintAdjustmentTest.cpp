#include "paint/PaintAdjustment.h"

#include <gtest/gtest.h>

namespace {

using namespace vml;

constexpr float eps = 1e-5f;

void expectRgba(const AColor& c, float r, float g, float b, float a)
{
    EXPECT_NEAR(c.r, r, eps);
    EXPECT_NEAR(c.g, g, eps);
    EXPECT_NEAR(c.b, b, eps);
    EXPECT_NEAR(c.a, a, eps);
}

TEST(PaintFactors, SwitchedOffFactorsAreZeroAndPercentagesScale)
{
    EXPECT_EQ(contrastFactor(false, 50), 0.0f);
    EXPECT_EQ(monoFactor(false, 70), 0.0f);
    EXPECT_EQ(whiteTransparencyFactor(false, 70), 0.0f);
    EXPECT_NEAR(monoFactor(true, 70), 0.7f, eps);
    EXPECT_NEAR(whiteTransparencyFactor(true, 25), 0.25f, eps);
    // Positive amounts: -2 x amount%; negative (and zero) amounts: -0.8 x amount%.
    EXPECT_NEAR(contrastFactor(true, 50), -1.0f, eps);
    EXPECT_NEAR(contrastFactor(true, -50), 0.4f, eps);
    EXPECT_EQ(contrastFactor(true, 0), 0.0f);
}

PixelAdjustment adjustment(float contrast, float whiteTransparency, float mono, int colourType = 0,
                           float jitterR = 0, float jitterG = 0, float jitterB = 0)
{
    PixelAdjustment a;
    a.contrast = contrast;
    a.whiteTransparency = whiteTransparency;
    a.mono = mono;
    a.colourType = colourType;
    a.jitterR = jitterR, a.jitterG = jitterG, a.jitterB = jitterB;
    return a;
}

TEST(PaintAdjustment, EachAdjustmentOfThePixel)
{
    struct Case {
        const char* what;
        PixelAdjustment adjust;
        AColor in;
        float coverage;
        AColor expected;
    };
    const Case cases[] = {
        // Contrast k: c + (0.5 - c) k, then clamped.
        {"contrast 50", adjustment(-1, 0, 0), {0.25f, 0.75f, 0.5f, 1}, 1, {0, 1, 0.5f, 1}},
        {"contrast -50", adjustment(0.4f, 0, 0), {0.25f, 0.75f, 0.5f, 1}, 1, {0.35f, 0.65f, 0.5f, 1}},
        {"contrast 100 clamps", adjustment(-2, 0, 0), {0.1f, 0.9f, 0.5f, 1}, 1, {0, 1, 0.5f, 1}},
        // White transparency: alpha x (1 - w (1 - (1 - Y)^2)).
        {"white is clear", adjustment(0, 1, 0), {1, 1, 1, 0.8f}, 1, {1, 1, 1, 0}},
        {"black keeps its alpha", adjustment(0, 1, 0), {0, 0, 0, 0.8f}, 1, {0, 0, 0, 0.8f}},
        {"half white transparency", adjustment(0, 0.5f, 0), {1, 1, 1, 0.8f}, 1, {1, 1, 1, 0.2f}},
        // Contrast first: grey 0.6 becomes 0.7.
        {"contrast, then white", adjustment(-1, 1, 0), {0.6f, 0.6f, 0.6f, 1}, 1, {0.7f, 0.7f, 0.7f, 0.3f}},
        // Monochrome by m^2 toward Y = 0.3 of red.
        {"full monochrome", adjustment(0, 0, 1), {1, 0, 0, 1}, 1, {0.3f, 0.3f, 0.3f, 1}},
        {"half monochrome", adjustment(0, 0, 0.5f), {1, 0, 0, 1}, 1, {0.825f, 0.075f, 0.075f, 1}},
        {"alpha by coverage", adjustment(0, 0, 0), {0.2f, 0.4f, 0.6f, 0.8f}, 0.5f, {0.2f, 0.4f, 0.6f, 0.4f}},
        {"rgb jitter",
         adjustment(0, 0, 0, 0, 0.2f, -0.3f, 0.1f),
         {0.9f, 0.1f, 0.5f, 1.3f},
         1,
         {1, 0, 0.6f, 1}},
        // Hue -0.25 wraps to 270 degrees: between blue and magenta.
        {"hue below 0", adjustment(0, 0, 0, 1, -0.25f), {1, 0, 0, 1}, 1, {0.5f, 0, 1, 1}},
        // Hue 1/3 + 0.9 wraps to 84 degrees: red falls from 1 at 60 to 0 at 120.
        {"hue above 1", adjustment(0, 0, 0, 1, 0.9f), {0, 1, 0, 1}, 1, {0.6f, 1, 0, 1}},
        {"s and v clamp", adjustment(0, 0, 0, 1, 0, -2, -0.5f), {0, 0, 1, 1}, 1, {0.5f, 0.5f, 0.5f, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        AColor colour = c.in;
        adjustPixelColour(c.adjust, colour, c.coverage);
        expectRgba(colour, c.expected.r, c.expected.g, c.expected.b, c.expected.a);
    }
}

}  // namespace
