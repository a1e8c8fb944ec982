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

TEST(NormalEdge, FlatSurfaceMeasuresZero)
{
    const auto image = line({facing, facing, facing, -10.0f, -10.0f, -10.0f});
    EXPECT_TRUE(middle(image, normalRange(0.0f, 100.0f)));
    EXPECT_FALSE(middle(image, normalRange(1.0f, 100.0f)));
}

TEST(NormalEdge, FlatPairTakesADepthForTheGapAndTheFrontTest)
{
    // Equal normals: the barycentric thirds pick A, so only zA counts against zC.
    EdgeRules rules = normalRange(0.0f, 100.0f);
    rules.normalDepth = 0.5f;
    EXPECT_FALSE(middle(line({facing, facing, facing, -10.5f, -10.0f, -10.0f}), rules));
    EXPECT_TRUE(middle(line({facing, facing, facing, -10.0f, -10.0f, -30.0f}), rules));
    rules.normalDepth = 0.6f;
    EXPECT_TRUE(middle(line({facing, facing, facing, -10.5f, -10.0f, -10.0f}), rules));
    // A in front: the pair is skipped and there is no other.
    EXPECT_FALSE(middle(line({facing, facing, facing, -9.9f, -10.0f, -10.0f}), rules));
}

TEST(NormalEdge, NonConvexPairNeedsTheOtherDepthNotInFront)
{
    // Flat normals are not convex; the other depth zA must not be in front of zC.
    EXPECT_TRUE(middle(line({facing, facing, facing, -10.0f, -10.0f, -5.0f}), normalRange(0.0f, 0.0f)));
    EXPECT_FALSE(middle(line({facing, facing, facing, -9.0f, -10.0f, -9.0f}), normalRange(0.0f, 0.0f)));
}

TEST(NormalEdge, NonConvexRiseMeasuresFiftyFivePercent)
{
    const auto image = line(risingX);
    EXPECT_TRUE(middle(image, normalRange(54.0f, 56.0f)));
    EXPECT_FALSE(middle(image, normalRange(56.0f, 100.0f)));
    EXPECT_FALSE(middle(image, normalRange(0.0f, 54.0f)));
    Triple nearB = risingX;
    nearB.zB = -9.5f;
    EXPECT_FALSE(middle(line(nearB), normalRange(0.0f, 100.0f)));
}

TEST(NormalEdge, ConvexFallWeighsTheNormalSpread)
{
    const auto image = line(fallingX);
    EXPECT_TRUE(middle(image, normalRange(62.0f, 63.0f)));
    EXPECT_FALSE(middle(image, normalRange(63.0f, 100.0f)));
    EXPECT_FALSE(middle(image, normalRange(0.0f, 62.0f)));
    Triple behindA = fallingX;
    behindA.zA = -10.5f;
    EXPECT_FALSE(middle(line(behindA), normalRange(0.0f, 100.0f)));
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

TEST(NormalEdge, DepthGapAtNormalDepthRejectsThePixel)
{
    // |zC - zO| = 0.5.
    EdgeRules rules = normalRange(0.0f, 100.0f);
    rules.normalDepth = 0.5f;
    EXPECT_FALSE(middle(line(risingX), rules));
    rules.normalDepth = 0.6f;
    EXPECT_TRUE(middle(line(risingX), rules));
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

TEST(NormalEdge, VerticalPairUsesYComponentsWithRowsGrowingDown)
{
    // The rising profile of risingX in y from top A to bottom B is convex here: nC = 0.8 nA +
    // 0.6 nB, so zO = zB, which must be in front. f = 1.4 * 0.25 + 0.5 * 0.55 = 0.625.
    const Triple risingY{{0.0f, -0.6f, 0.8f}, facing, {0.0f, 0.8f, 0.6f}, -11.0f, -10.0f, -9.5f};
    const auto image = line(risingY, true);
    EXPECT_TRUE(middle(image, normalRange(62.0f, 63.0f)));
    EXPECT_FALSE(middle(image, normalRange(54.0f, 56.0f)));
    Triple behindB = risingY;
    behindB.zB = -10.5f;
    EXPECT_FALSE(middle(line(behindB, true), normalRange(0.0f, 100.0f)));
}

TEST(NormalEdge, FullRangeTopQualifiesOnlyWhenClamped)
{
    // Zigzag: curv = 1.2 before the clamp, so f = 1.
    const Triple zigzag{{0.6f, 0.0f, 0.8f}, {-0.6f, 0.0f, 0.8f}, {0.6f, 0.0f, 0.8f}, -10.0f, -10.0f, -10.0f};
    const EdgeRules top = normalRange(100.0f, 100.0f);
    EXPECT_TRUE(middle(line(zigzag), top));
    EXPECT_FALSE(middle(line(risingX), top));
    EXPECT_FALSE(middle(line(fallingX), top));
}

TEST(NormalEdge, ScanMarksOnlyTheLineChannel)
{
    auto image = line(risingX);
    EXPECT_EQ(image.detect(normalRange(54.0f, 56.0f)), (std::vector<std::string>{".1."}));
    image.surface(1, 0, 1, 3, risingX.zC);
    EXPECT_EQ(image.detect(normalRange(54.0f, 56.0f)), (std::vector<std::string>{"..."}));
}

}  // namespace
