#include "host/ColorSpace.h"
#include "host/Noise.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

void expectNear(const Color& a, const Color& b, float tol = 1e-5f)
{
    EXPECT_NEAR(a.r, b.r, tol);
    EXPECT_NEAR(a.g, b.g, tol);
    EXPECT_NEAR(a.b, b.b, tol);
}

TEST(ColorSpace, RoundTrip)
{
    for (float r = 0; r <= 1.0f; r += 0.125f)
        for (float g = 0; g <= 1.0f; g += 0.125f)
            for (float b = 0; b <= 1.0f; b += 0.125f)
                expectNear(HSVtoRGB(RGBtoHSV({r, g, b})), {r, g, b});
}

TEST(Noise, SmoothBoundedAndDeterministic)
{
    float prev = noise1(-50.0f);
    float maxAbs = 0.0f;
    for (float x = -50.0f; x < 50.0f; x += 0.01f) {
        float v = noise1(x);
        ASSERT_LE(std::fabs(v), 1.0f);
        ASSERT_LT(std::fabs(v - prev), 0.05f) << "jump at " << x;
        maxAbs = std::max(maxAbs, std::fabs(v));
        prev = v;
    }
    EXPECT_GT(maxAbs, 0.3f);  // not flat
    EXPECT_FLOAT_EQ(noise1(3.0f), 0.0f);
    EXPECT_NEAR(noise1(1.37f), noise1(1.37f + 256.0f), 1e-4f);  // period 256
    EXPECT_EQ(noise1(INFINITY), 0.0f);
    EXPECT_LE(std::fabs(noise1(1.0e9f)), 1.0f);
}

}  // namespace
