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

TEST(PaintAdjustment, ContrastPushesAwayFromOrPullsTowardHalfThenClamps)
{
    PixelAdjustment up;
    up.contrast = contrastFactor(true, 50);  // k = -1
    AColor c(0.25f, 0.75f, 0.5f, 1.0f);
    adjustPixelColour(up, c, 1.0f);
    // 0.25 + (0.5 - 0.25)(-1) = 0; 0.75 + (0.5 - 0.75)(-1) = 1; 0.5 stays.
    expectRgba(c, 0.0f, 1.0f, 0.5f, 1.0f);

    PixelAdjustment down;
    down.contrast = contrastFactor(true, -50);  // k = 0.4
    c = AColor(0.25f, 0.75f, 0.5f, 1.0f);
    adjustPixelColour(down, c, 1.0f);
    // 0.25 + 0.25 x 0.4 = 0.35; 0.75 - 0.25 x 0.4 = 0.65.
    expectRgba(c, 0.35f, 0.65f, 0.5f, 1.0f);

    PixelAdjustment strong;
    strong.contrast = contrastFactor(true, 100);  // k = -2
    c = AColor(0.1f, 0.9f, 0.5f, 1.0f);
    adjustPixelColour(strong, c, 1.0f);
    // 0.1 + 0.4 x -2 = -0.7 and 0.9 - 0.4 x -2 = 1.7, both clamped.
    expectRgba(c, 0.0f, 1.0f, 0.5f, 1.0f);
}

TEST(PaintAdjustment, WhiteTransparencyFollowsLuminanceAfterContrast)
{
    PixelAdjustment full;
    full.whiteTransparency = whiteTransparencyFactor(true, 100);
    AColor white(1, 1, 1, 0.8f);
    adjustPixelColour(full, white, 1.0f);
    EXPECT_NEAR(white.a, 0.0f, eps);  // Y = 1: alpha x (1 - 1 x (1 - 0^2))
    AColor black(0, 0, 0, 0.8f);
    adjustPixelColour(full, black, 1.0f);
    EXPECT_NEAR(black.a, 0.8f, eps);  // Y = 0

    PixelAdjustment half;
    half.whiteTransparency = 0.5f;
    white = AColor(1, 1, 1, 0.8f);
    adjustPixelColour(half, white, 1.0f);
    EXPECT_NEAR(white.a, 0.8f * 0.25f, eps);  // 1 - (1 - 0.5^2) = 0.25

    // Contrast first: grey 0.6 becomes 0.6 + (0.5 - 0.6)(-1) = 0.7, so alpha keeps 1 - 0.7.
    PixelAdjustment both;
    both.contrast = -1.0f;
    both.whiteTransparency = 1.0f;
    AColor grey(0.6f, 0.6f, 0.6f, 1.0f);
    adjustPixelColour(both, grey, 1.0f);
    EXPECT_NEAR(grey.a, 0.3f, eps);
}

TEST(PaintAdjustment, MonochromeMovesTowardLuminanceByMSquared)
{
    PixelAdjustment full;
    full.mono = 1.0f;
    AColor red(1, 0, 0, 1);
    adjustPixelColour(full, red, 1.0f);
    expectRgba(red, 0.3f, 0.3f, 0.3f, 1.0f);  // Y = 0.3

    PixelAdjustment half;
    half.mono = 0.5f;  // m^2 = 0.25
    red = AColor(1, 0, 0, 1);
    adjustPixelColour(half, red, 1.0f);
    // 1 + (0.3 - 1) x 0.25 = 0.825; 0 + 0.3 x 0.25 = 0.075.
    expectRgba(red, 0.825f, 0.075f, 0.075f, 1.0f);
}

TEST(PaintAdjustment, AlphaTakesTheCoverage)
{
    PixelAdjustment none;
    AColor c(0.2f, 0.4f, 0.6f, 0.8f);
    adjustPixelColour(none, c, 0.5f);
    expectRgba(c, 0.2f, 0.4f, 0.6f, 0.4f);
}

TEST(PaintAdjustment, RgbJitterAddsThenClamps)
{
    PixelAdjustment jitter;
    jitter.jitterR = 0.2f, jitter.jitterG = -0.3f, jitter.jitterB = 0.1f;
    AColor c(0.9f, 0.1f, 0.5f, 1.3f);
    adjustPixelColour(jitter, c, 1.0f);
    expectRgba(c, 1.0f, 0.0f, 0.6f, 1.0f);
}

TEST(PaintAdjustment, HsvJitterWrapsHueAndClampsSaturationAndValue)
{
    PixelAdjustment back;
    back.colourType = 1;
    back.jitterR = -0.25f;
    AColor red(1, 0, 0, 1);  // H = 0, S = 1, V = 1
    adjustPixelColour(back, red, 1.0f);
    // H = -0.25 wraps to 0.75 = 270 degrees: between blue and magenta, (0.5, 0, 1).
    expectRgba(red, 0.5f, 0.0f, 1.0f, 1.0f);

    PixelAdjustment forward;
    forward.colourType = 1;
    forward.jitterR = 0.9f;
    AColor green(0, 1, 0, 1);  // H = 1/3
    adjustPixelColour(forward, green, 1.0f);
    // H = 1/3 + 0.9 wraps to 0.2333 = 84 degrees: red falls from 1 at 60 to 0 at 120, so 0.6.
    expectRgba(green, 0.6f, 1.0f, 0.0f, 1.0f);

    PixelAdjustment washed;
    washed.colourType = 1;
    washed.jitterG = -2.0f;  // saturation clamped to 0
    washed.jitterB = -0.5f;  // value 1 - 0.5
    AColor blue(0, 0, 1, 1);
    adjustPixelColour(washed, blue, 1.0f);
    expectRgba(blue, 0.5f, 0.5f, 0.5f, 1.0f);
}

}  // namespace
