// Colour maths of the paint: the blend methods and the per-pixel adjustments.

#include "paint/Blend.h"
#include "paint/PaintAdjustment.h"

#include "host/ColorSpace.h"
#include "support/PaintTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using namespace vml;

// The method's result r for one channel: Blend with amount 1 on a grey base and top.
float blendOne(float b, float t, int methodId)
{
    Color base(b, b, b);
    Blend(base, Color(t, t, t), 1.0f, methodId);
    EXPECT_EQ(base.r, base.g);
    EXPECT_EQ(base.r, base.b);
    return base.r;
}

Color blended(Color base, const Color& top, int methodId, float amount = 1.0f)
{
    Blend(base, top, amount, methodId);
    return base;
}

void expectColourNear(const Color& actual, const Color& expected)
{
    EXPECT_NEAR(actual.r, expected.r, 1e-6f);
    EXPECT_NEAR(actual.g, expected.g, 1e-6f);
    EXPECT_NEAR(actual.b, expected.b, 1e-6f);
}

TEST(BlendMethodTable, OutOfRangePositionsGiveNormal)
{
    for (int position : {-1, 16, 1000, std::numeric_limits<int>::min()})
        EXPECT_EQ(blendMethodId(position), blendNormal) << "position " << position;
}

TEST(Blend, PerChannelMethods)
{
    struct Case {
        const char* what;
        float base, top;
        int method;
        float expected;
    };
    const Case cases[] = {
        {"normal", 0.3f, 0.5f, blendNormal, 0.5f},
        {"add", 0.3f, 0.5f, blendAdd, 0.8f},
        {"add is not clamped", 0.8f, 0.7f, blendAdd, 1.5f},
        {"subtract is not clamped", 0.3f, 0.5f, blendSubtract, -0.2f},
        {"multiply", 0.3f, 0.5f, blendMultiply, 0.15f},
        {"screen", 0.3f, 0.5f, blendScreen, 0.65f},
        {"difference", 0.3f, 0.5f, blendDifference, 0.2f},
        {"difference the other way", 0.5f, 0.3f, blendDifference, 0.2f},
        {"exclusion", 0.2f, 0.6f, blendExclusion, 0.56f},
        {"overlay, dark base", 0.4f, 0.2f, blendOverlay, 0.16f},
        {"overlay at its switch: 1 - 2 * 0.5 * 0.8", 0.5f, 0.2f, blendOverlay, 0.2f},
        {"overlay, light base", 0.8f, 0.6f, blendOverlay, 0.84f},
        {"hard light, dark top", 0.2f, 0.4f, blendHardLight, 0.16f},
        {"hard light at its switch: 1 - 2 * 0.8 * 0.5", 0.2f, 0.5f, blendHardLight, 0.2f},
        {"hard light, light top", 0.6f, 0.8f, blendHardLight, 0.84f},
        {"darken keeps the base", 0.3f, 0.5f, blendDarken, 0.3f},
        {"darken takes the top", 0.3f, 0.2f, blendDarken, 0.2f},
        {"lighten takes the top", 0.3f, 0.5f, blendLighten, 0.5f},
        {"lighten keeps the base", 0.3f, 0.2f, blendLighten, 0.3f},
        {"soft light, dark top", 0.5f, 0.25f, blendSoftLight, 0.375f},
        {"soft light, cubic below the knee", 0.1f, 0.75f, blendSoftLight, 0.199f},
        {"soft light, square root above it", 0.25f, 0.75f, blendSoftLight, 0.375f},
    };
    for (const Case& c : cases)
        EXPECT_FLOAT_EQ(blendOne(c.base, c.top, c.method), c.expected) << c.what;
}

TEST(Blend, SoftLightBranchesMeetAtTheKnee)
{
    // The knee itself takes the cubic branch; the next float above it the square root.
    const float knee = 0.1254902f;
    const float cubic = knee + (knee - knee * knee) * 0.5f * (3.0f - 8.0f * knee);
    EXPECT_FLOAT_EQ(blendOne(knee, 0.75f, blendSoftLight), cubic);
    const float above = std::nextafter(knee, 1.0f);
    EXPECT_FLOAT_EQ(blendOne(above, 0.75f, blendSoftLight), above + (std::sqrt(above) - above) * 0.5f);
}

TEST(Blend, DarkenAndLightenPickTheTopOnNotANumber)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    // A NaN on either side picks the top. Only a NaN top shows through the mix (a NaN base
    // poisons b + (r - b) * amount whatever r is): picking the base would give back 0.4.
    for (int method : {blendDarken, blendLighten}) {
        Color base(0.4f, 0.4f, 0.4f);
        Blend(base, Color(nan, 0.4f, nan), 1.0f, method);
        EXPECT_TRUE(std::isnan(base.r)) << "method " << method;
        EXPECT_EQ(base.g, 0.4f) << "method " << method;
    }
}

TEST(Blend, HsvMethodsTakeTheirNamingComponentFromTheBase)
{
    // Hue of a grey borrows the host's hue of a grey (0, red) with the top's S and V.
    const Color grey(0.5f, 0.5f, 0.5f);
    ASSERT_FLOAT_EQ(RGBtoHSV(grey).r, 0.0f);
    expectColourNear(blended(grey, Color(0.25f, 0.5f, 0.25f), blendHue), Color(0.5f, 0.25f, 0.25f));
    // Saturation 0.5 of the base, hue and value of a pure green top.
    expectColourNear(blended(Color(0.5f, 0.25f, 0.25f), Color(0, 1, 0), blendSaturation),
                     Color(0.5f, 1.0f, 0.5f));
    // Hue and saturation of a light red base, value 0.4 of a blue top.
    expectColourNear(blended(Color(1.0f, 0.5f, 0.5f), Color(0, 0, 0.4f), blendColour),
                     Color(0.4f, 0.2f, 0.2f));
    // Value 0.3 of a grey base, hue and saturation of a green top.
    expectColourNear(blended(Color(0.3f, 0.3f, 0.3f), Color(0, 1, 0), blendLuminosity),
                     Color(0.0f, 0.3f, 0.0f));
    // Mixing applies to the HSV result as to the others.
    expectColourNear(blended(grey, Color(0, 1, 0), blendHue, 0.5f), Color(0.75f, 0.25f, 0.25f));
}

TEST(Blend, IdsOutsideTheMethodsLeaveTheBase)
{
    const Color base(0.2f, 0.6f, 0.9f), top(0.7f, 0.1f, 0.4f);
    for (int id : {49, 66, 0, -1, 6, 7})
        for (float amount : {0.0f, 0.5f, 1.0f, 3.0f})
            EXPECT_EQ(blended(base, top, id, amount), base) << "id " << id << " amount " << amount;
}

constexpr float eps = 1e-5f;

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
        test_support::expectColourNear(colour, c.expected, eps);
    }
}

}  // namespace
