// The procedural tip: falloff, stretch, rotation, groove and bristle dots, checked against
// values worked out by hand from the formulas.

#include "paint/BrushShape.h"
#include "shell/RandomTables.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using vml::bristleCoverage;
using vml::BrushShape;
using vml::tipShape;

class BrushShapeTest : public ::testing::Test {
protected:
    void SetUp() override { vml::fillRandomTables(); }

    // A single tip without groove: only falloff, stretch and rotation shape it.
    static BrushShape plainTip()
    {
        BrushShape s;
        s.type = 0;
        s.groove = 0.0f;
        s.derive();
        return s;
    }
    // S at tip radius r along +p (angle 0): u = 0.5 + r / 2, v = 0.5.
    static float alongP(const BrushShape& s, float r) { return tipShape(s, 0.5f + r / 2.0f, 0.5f, 0); }
};

TEST_F(BrushShapeTest, DampFallsFromStartToEndRadius)
{
    struct Case {
        const char* what;
        float dampStart, dampEnd, r, expected;
    };
    const float nan = std::nanf("");
    const Case cases[] = {
        // Default damp 50 .. 100: a = 0.25, b = 1, k = 1 / 0.75.
        {"centre", 50, 100, 0.0f, 1.0f},
        {"inside half radius", 50, 100, 0.3f, 1.0f},
        {"half radius", 50, 100, 0.5f, 1.0f},
        // d2 = 0.5625, x = 1 - 0.3125 / 0.75 = 0.583333;
        // S = (0.375 - 0.083333 * 1.083333 * -0.916667) / 0.75 = 0.610340.
        {"three quarters", 50, 100, 0.75f, 0.610340f},
        {"x = 0.5, which the smooth step keeps", 50, 100, std::sqrt(0.625f), 0.5f},
        {"radius one", 50, 100, 1.0f, 0.0f},
        {"beyond", 50, 100, 1.2f, 0.0f},
        {"not a number", 50, 100, nan, 0.0f},
        // Start beyond end makes a ring: a = 0.64, b = 0.04, k = 1 / 0.6.
        {"ring centre", 80, 20, 0.0f, 0.0f},
        {"ring d2 = b", 80, 20, 0.2f, 0.0f},
        {"ring d2 = 0.34: x = 0.5", 80, 20, std::sqrt(0.34f), 0.5f},
        {"ring d2 >= a", 80, 20, 0.9f, 1.0f},
        {"ring radius one", 80, 20, 1.0f, 0.0f},
        // Equal start and end: a hard edge at 0.6, without NaN.
        {"hard edge inside", 60, 60, 0.59f, 1.0f},
        {"hard edge outside", 60, 60, 0.61f, 0.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        BrushShape s = plainTip();
        s.dampStart = c.dampStart;
        s.dampEnd = c.dampEnd;
        s.derive();
        EXPECT_NEAR(alongP(s, c.r), c.expected, 1e-5f);
    }
    BrushShape s = plainTip();
    EXPECT_EQ(tipShape(s, 0.0f, 0.0f, 0), 0.0f);  // corner: d2 = 2
    s.dampStart = s.dampEnd = 60.0f;
    s.derive();
    EXPECT_TRUE(std::isfinite(s.dampK));
    for (int i = 0; i <= 100; ++i) {
        const float value = alongP(s, static_cast<float>(i) * 0.01f);
        EXPECT_TRUE(value == 0.0f || std::fabs(value - 1.0f) < 1e-5f) << i << ": " << value;
    }
}

TEST_F(BrushShapeTest, StretchScalesOneAxisAndItsRandomnessFollowsTableB)
{
    BrushShape s = plainTip();
    s.stretch = 20.0f;  // p *= 20 * 0.05 + 1 = 2
    s.derive();
    EXPECT_EQ(tipShape(s, 0.75f, 0.5f, 0), 0.0f);           // p = 0.5 -> 1
    EXPECT_NEAR(tipShape(s, 0.5f, 0.75f, 0), 1.0f, 1e-5f);  // q = 0.5 untouched

    s.stretch = -20.0f;  // q *= 1 + 20 * 0.05 = 2
    s.derive();
    EXPECT_NEAR(tipShape(s, 0.75f, 0.5f, 0), 1.0f, 1e-5f);
    EXPECT_EQ(tipShape(s, 0.5f, 0.75f, 0), 0.0f);

    s.stretch = 20.0f;
    s.stretchRnd = 100.0f;
    s.derive();
    // Variant 3: randomTableB[3] = 61811; (65535 - 61811) * 2061 + 7 = 7675171, & 0xFFFF = 7459,
    // r = 7459 / 65536 = 0.113815; sigma = 20 * (1 - r) = 17.72369, factor 1.886185.
    // p = 0.5 * 1.886185 = 0.943092, d2 = 0.889423, x = 1 - 0.639423 / 0.75 = 0.147436,
    // S = smooth(0.147436) = 0.088347.
    EXPECT_NEAR(tipShape(s, 0.75f, 0.5f, 3), 0.088347f, 1e-4f);
    EXPECT_EQ(tipShape(s, 0.75f, 0.5f, 0), 0.0f);  // variant 0 has no stretch randomness
}

TEST_F(BrushShapeTest, QuarterTurnEqualsUnrotatedTipAtSwappedCoordinates)
{
    BrushShape straight = plainTip();
    straight.stretch = 30.0f;
    straight.dampStart = 20.0f;
    straight.derive();
    BrushShape turned = straight;
    turned.angle = 90.0f;
    turned.derive();
    // At 90 degrees p = v - 0.5 and q = -(u - 0.5), which the unrotated tip sees at (v, 1 - u).
    bool asymmetric = false;
    for (int i = 0; i <= 20; ++i) {
        for (int j = 0; j <= 20; ++j) {
            const float u = 0.05f * static_cast<float>(i), v = 0.05f * static_cast<float>(j);
            EXPECT_NEAR(tipShape(turned, u, v, 0), tipShape(straight, v, 1.0f - u, 0), 1e-5f)
                << u << ", " << v;
            asymmetric =
                asymmetric || std::fabs(tipShape(straight, u, v, 0) - tipShape(straight, v, u, 0)) > 0.1f;
        }
    }
    EXPECT_TRUE(asymmetric);  // the stretched tip is not symmetric under the swap itself
}

TEST_F(BrushShapeTest, GrooveFollowsNoiseAtAngleTwo)
{
    BrushShape s = plainTip();
    s.groove = 100.0f;
    s.grooveNum = 5;
    s.derive();
    // A point at radius 0.75 with atan2(p, q) = 2 - pi, so phi = 2 and noise1(8) = noise1(20) = 0:
    // g = 2 / (2 pi) * 5 = 1.591549, tau = |0.591549 * 2 - 1| = 0.183099,
    // w = 1.25 * tau^3 = 0.0076730; d2 = 0.5625 * (w * 1.25 + 1) = 0.567895,
    // x = 1 - 0.317895 / 0.75 = 0.576140, S = 0.600931 (0.610340 without groove).
    const float alpha = 2.0f - 3.14159265f;
    const float p = 0.75f * std::sin(alpha), q = 0.75f * std::cos(alpha);
    EXPECT_NEAR(tipShape(s, 0.5f + p / 2.0f, 0.5f + q / 2.0f, 0), 0.600931f, 1e-4f);
    s.groove = 0.0f;
    s.derive();
    EXPECT_NEAR(tipShape(s, 0.5f + p / 2.0f, 0.5f + q / 2.0f, 0), 0.610340f, 1e-4f);
}

TEST_F(BrushShapeTest, NegativeSoftnessIsCompressedAndVariantCountStaysPositive)
{
    BrushShape s;
    s.anti = 200.0f;  // e = (1 - 2) * 0.9 = -0.9, then -0.9 / (1 + 0.45)
    s.rndNum = 0;
    s.derive();
    EXPECT_NEAR(s.softness, -0.620690f, 1e-5f);
    EXPECT_FLOAT_EQ(s.radiusFactor, 2.5f);
    EXPECT_EQ(s.rndNum, 1);
}

// Bristles: size 5, anti 0 (e = 0.9, ra = 1, edge 0.81), no size spread.
class BristleTest : public BrushShapeTest {
protected:
    static BrushShape bristles(float space, float spaceRand)
    {
        BrushShape s;
        s.anti = 0.0f;
        s.hSpace = s.vSpace = space;
        s.hSpaceRand = s.vSpaceRand = spaceRand;
        s.derive();
        return s;
    }
};

TEST_F(BristleTest, DotCentreIsCoveredAndTheEdgeFallsSmoothly)
{
    const BrushShape s = bristles(0.0f, 0.0f);  // cells 10 x 10, dots at multiples of 10
    EXPECT_EQ(bristleCoverage(s, 0.0f, 0.0f, 0), 1.0f);
    // 4.75 from dot (0, 0), out of reach of every other dot: t = 22.5625 / 25 = 0.9025,
    // sqrt((0.9025 - 0.81) / 0.19) = 0.697741, 1 - smooth(0.697741) = 0.246655.
    EXPECT_NEAR(bristleCoverage(s, 4.75f / 50.0f, 0.0f, 0), 0.246655f, 1e-4f);
    EXPECT_NEAR(bristleCoverage(s, 0.2f, 0.2f, 0), 1.0f, 1e-6f);  // dot (10, 10)
}

TEST_F(BristleTest, VariantShiftsTheFieldByTableA)
{
    const BrushShape s = bristles(0.0f, 0.0f);  // dot layout does not depend on the hash
    // Variant 1: r1 = lcg(randomTableA[1]) = 16641, r2 = 21780; shifts
    // (16641 / 65536 - 0.5) * 256 = -62.996094 and (21780 / 65536 - 0.5) * 256 = -42.921875.
    const float p = 4.75f / 50.0f + 62.99609375f, q = 42.921875f;
    EXPECT_NEAR(bristleCoverage(s, p, q, 1), 0.246655f, 1e-3f);
    // Unshifted, (p, q) * 50 = (3154.55, 2146.09) lies 6.0 from the nearest dot (3150, 2150).
    EXPECT_EQ(bristleCoverage(s, p, q, 0), 0.0f);
}

TEST_F(BristleTest, DotCentresFollowTheCellHash)
{
    const BrushShape s = bristles(100.0f, 100.0f);  // cells 110 x 110, dots of radius 5 apart
    // Cell (0, 0), variant 0: h = (31786 * 13319 + 31786 + 13319 + 31786) & 0xFFFF = 6529,
    // r1 = 21396, r2 = 56971; centre ((21396 / 65536 - 0.5) * 110, (56971 / 65536 - 0.5) * 110)
    // = (-19.087524, 40.623932).
    EXPECT_EQ(bristleCoverage(s, -19.087524f / 50.0f, 40.623932f / 50.0f, 0), 1.0f);
    EXPECT_NEAR(bristleCoverage(s, (-19.087524f + 4.75f) / 50.0f, 40.623932f / 50.0f, 0), 0.246655f, 1e-3f);
    EXPECT_EQ(bristleCoverage(s, 0.0f, 0.0f, 0), 0.0f);
    // Cell (-1, 0) reads entry 65535: h = (55535 * 13319 + 31786 + 1024 + 31786) & 0xFFFF = 30429,
    // r1 = 61760, r2 = 16455; centre ((0.942383 - 0.5 - 1) * 110, (0.251083 - 0.5) * 110)
    // = (-61.337891, -27.380829).
    EXPECT_EQ(bristleCoverage(s, -61.337891f / 50.0f, -27.380829f / 50.0f, 0), 1.0f);
}

TEST_F(BristleTest, CoverageStaysWithinZeroAndOneAndReachesOne)
{
    BrushShape s = bristles(0.0f, 100.0f);
    s.sizeRnd = 100.0f;
    s.anti = 300.0f;  // large overlapping dots
    s.derive();
    int full = 0;
    for (int variant = 0; variant < 10; ++variant) {
        for (int i = -20; i <= 20; ++i) {
            for (int j = -20; j <= 20; ++j) {
                const float c =
                    bristleCoverage(s, 0.05f * static_cast<float>(i), 0.05f * static_cast<float>(j), variant);
                ASSERT_GE(c, 0.0f);
                ASSERT_LE(c, 1.0f);
                full += c == 1.0f;
            }
        }
    }
    EXPECT_GT(full, 0);
}

TEST_F(BristleTest, CellRangeFollowsTheFormulaAndDegenerateSettingsStayBounded)
{
    // trunc((0 - 10 - 5) / 10 + 0.5) = -1 up to trunc((10 + 0 + 5) / 10 + 0.5) = 2.
    vml::BrushCellRange r = vml::bristleCellRange(0.0f, 10.0f, 5.0f);
    EXPECT_EQ(r.first, -1);
    EXPECT_EQ(r.end, 2);
    // trunc(32 / 10 + 0.5) = 3 up to trunc(62 / 10 + 0.5) = 6.
    r = vml::bristleCellRange(47.0f, 10.0f, 5.0f);
    EXPECT_EQ(r.first, 3);
    EXPECT_EQ(r.end, 6);

    r = vml::bristleCellRange(3.0f, 1.0f, 1.0e6f);  // a million cells either side
    EXPECT_EQ(r.end - r.first, vml::maxBristleCells);
    EXPECT_LE(r.first, 3);
    EXPECT_GT(r.end, 3);
    r = vml::bristleCellRange(1.0e30f, 0.2f, 1.0f);
    EXPECT_LE(r.end - r.first, vml::maxBristleCells);
    r = vml::bristleCellRange(std::nanf(""), 10.0f, 5.0f);
    EXPECT_EQ(r.end - r.first, 0);

    BrushShape s = bristles(0.0f, 0.0f);
    s.anti = 1.0e6f;  // 7500 cells per axis without the cap
    s.derive();
    const float c = bristleCoverage(s, 0.3f, -0.2f, 2);
    EXPECT_TRUE(c >= 0.0f && c <= 1.0f) << c;
    s.size = 5.0f;
    s.hSpace = -20.0f;  // cells of negative width hold no dots
    s.derive();
    EXPECT_EQ(bristleCoverage(s, 0.0f, 0.0f, 0), 0.0f);
}

TEST_F(BristleTest, MultipleTypeMultipliesTheTipByItsBristles)
{
    BrushShape s = bristles(0.0f, 0.0f);
    s.groove = 0.0f;
    s.derive();
    // (u, v) = (0.5 + 0.095 / 2, 0.5): p = 0.095, d2 < a so the tip is 1 and the bristles
    // (p * 50 = 4.75 from dot (0, 0)) give 0.246655.
    EXPECT_NEAR(tipShape(s, 0.5475f, 0.5f, 0), 0.246655f, 1e-3f);
    s.type = 0;
    EXPECT_NEAR(tipShape(s, 0.5475f, 0.5f, 0), 1.0f, 1e-5f);
}

}  // namespace
