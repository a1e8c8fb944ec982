#include "line/EdgeDetection.h"

#include "support/GBufferImage.h"

#include <gtest/gtest.h>

using namespace test_support;

namespace {

using namespace vml;

// Three pixels of object 1, material 1, along a row (horizontal pair) or a column (vertical
// pair), with the given normals and depths for A, C, B. C is the middle pixel.
struct Triple {
    Point3 nA, nC, nB;
    float zA, zC, zB;
};

test_support::GBufferImage line(const Triple& t, bool vertical = false)
{
    test_support::GBufferImage image(vertical ? 1 : 3, vertical ? 3 : 1);
    const Point3 normals[] = {t.nA, t.nC, t.nB};
    const float depths[] = {t.zA, t.zC, t.zB};
    for (int i = 0; i < 3; ++i) {
        const int x = vertical ? 0 : i, y = vertical ? i : 0;
        image.surface(x, y, 1, 1, depths[i]);
        image.normal(x, y, normals[i]);
    }
    return image;
}

EdgeRules normalRange(float normalMin, float normalMax)
{
    EdgeRules rules;
    rules.normal = true;
    rules.normalMin = normalMin;
    rules.normalMax = normalMax;
    return rules;
}

bool middle(const test_support::GBufferImage& image, const EdgeRules& rules)
{
    const bool vertical = image.bitmap.Height() == 3;
    return testNormal(rules, image.views(), vertical ? 0 : 1, vertical ? 1 : 0);
}

const Point3 facing(0.0f, 0.0f, 1.0f);

// Horizontal pair, normal x rising from A to B: not convex. nC = 0.8 nA + 0.6 nB, so the other
// depth is zB; curv = 0.25 * 0.1 + 0.75 * 0.5 * 1.4 = 0.55, w = 0, f = 0.55. zA lies in front of
// C and would flip `front` if it were taken instead.
const Triple risingX{{-0.6f, 0.0f, 0.8f}, facing, {0.8f, 0.0f, 0.6f}, -9.0f, -10.0f, -10.5f};

// Horizontal pair, normal x falling from A to B: convex. nC = 0.6 nA + 0.8 nB, so the other depth
// is zA (in front of C); zB lies behind. curv = 0.55, w = 0.5, f = 1.4 * 0.25 + 0.5 * 0.55 = 0.625.
const Triple fallingX{{0.8f, 0.0f, 0.6f}, facing, {-0.6f, 0.0f, 0.8f}, -9.5f, -10.0f, -20.0f};

// The rising profile of risingX in y from top A to bottom B is convex: nC = 0.8 nA + 0.6 nB, so
// zO = zB, which must be in front. f = 1.4 * 0.25 + 0.5 * 0.55 = 0.625.
const Triple risingY{{0.0f, -0.6f, 0.8f}, facing, {0.0f, 0.8f, 0.6f}, -11.0f, -10.0f, -9.5f};

// Zigzag: curv = 1.2 before the clamp, so f = 1.
const Triple zigzag{{0.6f, 0.0f, 0.8f}, {-0.6f, 0.0f, 0.8f}, {0.6f, 0.0f, 0.8f}, -10.0f, -10.0f, -10.0f};

Triple with(Triple t, float zA, float zB)
{
    t.zA = zA;
    t.zB = zB;
    return t;
}

TEST(NormalEdge, MiddlePixelQualifiesByItsMeasureAndDepths)
{
    const Triple flat{facing, facing, facing, -10.0f, -10.0f, -10.0f};
    struct Case {
        const char* what;
        Triple t;
        bool vertical;
        float normalMin, normalMax, normalDepth;
        bool expected;
    };
    const Case cases[] = {
        {"flat measures zero", flat, false, 0, 100, 100, true},
        {"flat is below 1", flat, false, 1, 100, 100, false},
        // Equal normals: the barycentric thirds pick A, so only zA counts against zC.
        {"flat pair: gap to A at the depth", with(flat, -10.5f, -10.0f), false, 0, 100, 0.5f, false},
        {"flat pair: B is not taken", with(flat, -10.0f, -30.0f), false, 0, 100, 0.5f, true},
        {"flat pair: gap below the depth", with(flat, -10.5f, -10.0f), false, 0, 100, 0.6f, true},
        {"flat pair: A in front, no other pair", with(flat, -9.9f, -10.0f), false, 0, 100, 0.6f, false},
        {"not convex: other depth behind", with(flat, -10.0f, -5.0f), false, 0, 0, 100, true},
        {"not convex: other depth in front", with(flat, -9.0f, -9.0f), false, 0, 0, 100, false},
        {"rise measures 55", risingX, false, 54, 56, 100, true},
        {"rise is below 56", risingX, false, 56, 100, 100, false},
        {"rise is above 54", risingX, false, 0, 54, 100, false},
        {"rise with B in front", with(risingX, risingX.zA, -9.5f), false, 0, 100, 100, false},
        {"rise: depth gap 0.5 at the depth", risingX, false, 0, 100, 0.5f, false},
        {"rise: depth gap 0.5 below the depth", risingX, false, 0, 100, 0.6f, true},
        {"fall measures 62.5", fallingX, false, 62, 63, 100, true},
        {"fall is below 63", fallingX, false, 63, 100, 100, false},
        {"fall is above 62", fallingX, false, 0, 62, 100, false},
        {"fall with A behind", with(fallingX, -10.5f, fallingX.zB), false, 0, 100, 100, false},
        {"vertical rise is convex", risingY, true, 62, 63, 100, true},
        {"vertical rise is not 55", risingY, true, 54, 56, 100, false},
        {"vertical rise with B behind", with(risingY, risingY.zA, -10.5f), true, 0, 100, 100, false},
        {"full range top: clamped zigzag", zigzag, false, 100, 100, 100, true},
        {"full range top: rise", risingX, false, 100, 100, 100, false},
        {"full range top: fall", fallingX, false, 100, 100, 100, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EdgeRules rules = normalRange(c.normalMin, c.normalMax);
        rules.normalDepth = c.normalDepth;
        EXPECT_EQ(middle(line(c.t, c.vertical), rules), c.expected);
    }
}

TEST(NormalEdge, PartialCoverageTurnsConvexIntoNonConvex)
{
    // The convex fall with A behind C: skipped while fully covered; with B partly covered it is
    // treated as non-convex, f = 0.55 lifted to 1 - (1 - 0.4 * 0.25) * 0.45 = 0.595.
    Triple behindA = fallingX;
    behindA.zA = -10.5f;
    auto image = line(behindA);
    const EdgeRules rules = normalRange(40.0f, 60.0f);
    EXPECT_FALSE(middle(image, rules));
    image.coverage(2, 0, 128);
    EXPECT_TRUE(middle(image, rules));
    EXPECT_FALSE(middle(image, normalRange(40.0f, 59.0f)));

    // Partial coverage of a non-convex pair changes nothing.
    auto rising = line(risingX);
    rising.coverage(1, 0, 0);
    EXPECT_TRUE(middle(rising, normalRange(54.0f, 56.0f)));
}

TEST(NormalEdge, DepthRejectionSkipsTheVerticalPair)
{
    // Horizontal pair as risingX; the vertical pair is flat at C's depth and would qualify.
    test_support::GBufferImage image(3, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            image.surface(x, y, 1, 1, -10.0f);
    image.surface(0, 1, 1, 1, risingX.zA);
    image.surface(2, 1, 1, 1, risingX.zB);
    image.normal(0, 1, risingX.nA);
    image.normal(2, 1, risingX.nB);
    EdgeRules rules = normalRange(0.0f, 100.0f);
    rules.normalDepth = 0.5f;
    EXPECT_FALSE(testNormal(rules, image.views(), 1, 1));

    // With the horizontal pair skipped instead (B in front), the vertical pair is examined.
    image.surface(2, 1, 1, 1, -9.5f);
    EXPECT_TRUE(testNormal(rules, image.views(), 1, 1));
}

TEST(NormalEdge, PairOutsideTheImageOrOnAnotherObjectIsSkipped)
{
    const EdgeRules rules = normalRange(54.0f, 56.0f);
    auto image = line(risingX);
    EXPECT_TRUE(middle(image, rules));
    EXPECT_FALSE(testNormal(normalRange(0.0f, 100.0f), image.views(), 0, 0));
    EXPECT_FALSE(testNormal(normalRange(0.0f, 100.0f), image.views(), 2, 0));

    auto otherA = line(risingX);
    otherA.surface(0, 0, 2, 1, risingX.zA);
    EXPECT_FALSE(middle(otherA, rules));
    auto otherB = line(risingX);
    otherB.surface(2, 0, 2, 1, risingX.zB);
    EXPECT_FALSE(middle(otherB, rules));
    auto otherC = line(risingX);
    otherC.surface(1, 0, 2, 1, risingX.zC);
    EXPECT_FALSE(middle(otherC, rules));
}

TEST(NormalEdge, ScanMarksOnlyTheLineChannel)
{
    auto image = line(risingX);
    EXPECT_EQ(image.detect(normalRange(54.0f, 56.0f)), (std::vector<std::string>{".1."}));
    image.surface(1, 0, 1, 3, risingX.zC);
    EXPECT_EQ(image.detect(normalRange(54.0f, 56.0f)), (std::vector<std::string>{"..."}));
}

}  // namespace
