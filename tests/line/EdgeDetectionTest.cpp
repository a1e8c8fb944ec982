// Edge detection of the line effect: the G-buffer views it reads, the outline and edge rules,
// and the normal-angle test.

#include "support/GBufferImage.h"

#include "line/EdgeDetection.h"
#include "line/GBufferViews.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

using namespace test_support;

namespace {

using namespace vml;

TEST(GBufferViews, HasChannelsNeedsEveryBitPresentAtTheGivenSize)
{
    Bitmap bitmap(4, 3);
    bitmap.CreateChannels(BMM_CHAN_Z | BMM_CHAN_MTL_ID | BMM_CHAN_NORMAL);
    GBufferViews views = makeGBufferViews(bitmap);
    EXPECT_TRUE(hasChannels(views, 0, 4, 3));
    EXPECT_TRUE(hasChannels(views, 0x13, 4, 3));
    EXPECT_FALSE(hasChannels(views, 0x13 | BMM_CHAN_NODE_RENDER_ID, 4, 3));
    EXPECT_FALSE(hasChannels(views, BMM_CHAN_VELOC, 4, 3));
    EXPECT_FALSE(hasChannels(views, 0x13, 3, 4));
    // A channel of another size would be read past its end.
    views.normal.width = 2;
    EXPECT_FALSE(hasChannels(views, BMM_CHAN_NORMAL, 4, 3));
    EXPECT_TRUE(hasChannels(views, BMM_CHAN_Z, 4, 3));
    // Channels the views do not hold cannot be vouched for.
    bitmap.CreateChannels(BMM_CHAN_UV);
    EXPECT_FALSE(hasChannels(makeGBufferViews(bitmap), BMM_CHAN_Z | BMM_CHAN_UV, 4, 3));
}

using Rows = std::vector<std::string>;

EdgeRules only(bool EdgeRules::*detectionSwitch)
{
    EdgeRules rules;
    rules.*detectionSwitch = true;
    return rules;
}

// One row of pixels, "node:material:z" each, "bg" for background.
test_support::GBufferImage row(const std::string& cells)
{
    std::vector<std::string> tokens;
    std::istringstream in(cells);
    for (std::string t; in >> t;)
        tokens.push_back(t);
    test_support::GBufferImage image(static_cast<int>(tokens.size()), 1);
    for (std::size_t x = 0; x < tokens.size(); ++x) {
        int node = 0, material = 0;
        float z = 0.0f;
        if (std::sscanf(tokens[x].c_str(), "%d:%d:%f", &node, &material, &z) == 3)
            image.surface(static_cast<int>(x), 0, static_cast<std::uint16_t>(node),
                          static_cast<std::uint8_t>(material), z);
    }
    return image;
}

// Each rule alone over one row; thresholds are strict, and each rule reads its own.
TEST(EdgeRulesOnOneRow, MarkWhatEachRuleDescribes)
{
    constexpr float keep = 1e30f;  // the rule's default threshold
    const struct {
        char rule;  // O outline object, M outline material, E edge material, D edge depth
        const char* cells;
        float threshold;
        int lineMatID;
        const char* expected;
    } cases[] = {
        // Background counts as an object far behind, whatever the threshold.
        {'O', "1:1:-10 bg 1:1:-10", keep, 1, "1.1"},
        {'O', "1:1:-10 bg 1:1:-10", -10000, 1, "1.1"},
        {'O', "1:1:-10 2:1:-20", keep, 1, "1."},  // at 0 only the nearer object
        {'O', "1:1:-10 2:1:-15", -5, 1, ".."},
        {'O', "1:1:-10 2:1:-15", -4, 1, "1."},
        {'O', "1:1:-10 2:1:-15", 5, 1, "1."},
        {'O', "1:1:-10 2:1:-15", 5.5f, 1, "11"},
        {'O', "1:1:-10 2:1:-20 2:1:-20 bg", keep, 1, "1.1."},
        {'O', "1:1:-10 2:1:-20 2:1:-20 bg", -10000, 1, "..1."},
        {'O', "bg 1:0:-10", keep, 0, ".1"},  // background of the line channel is not marked
        // Another material on another object; background only with another material.
        {'M', "1:1:-10 2:2:-20", keep, 1, "1."},
        {'M', "1:1:-10 2:1:-20", keep, 1, ".."},
        {'M', "1:1:-10 1:2:-20", keep, 1, ".."},
        {'M', "1:1:-10 bg", -10000, 1, "1."},
        {'M', "1:0:-10 bg", -10000, 0, ".."},
        {'M', "1:1:-10 2:2:-15", -5, 1, ".."},
        {'M', "1:1:-10 2:2:-15", -4, 1, "1."},
        // Material borders inside one object, on the line's channel.
        {'E', "1:1:-10 1:2:-10", keep, 1, "1."},
        {'E', "1:1:-10 1:2:-10", keep, 2, ".1"},
        {'E', "1:1:-10 2:2:-10", keep, 2, ".."},
        {'E', "1:2:-10 1:2:-50", keep, 2, ".."},
        // The pixel nearer by more than the threshold; background is far behind.
        {'D', "1:1:-10 1:1:-20", 10, 1, ".."},
        {'D', "1:1:-10 1:1:-20", 9.5f, 1, "1."},
        {'D', "1:1:-10 1:1:-10", 0, 1, ".."},
        {'D', "bg 1:1:-5000 2:1:-100", 10000, 1, ".1."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(1, c.rule) + " " + c.cells + " at " + std::to_string(c.threshold));
        EdgeRules rules;
        rules.lineMatID = c.lineMatID;
        rules.outlineObjectThreshold = 100.0f;  // the other rules must not read it
        switch (c.rule) {
        case 'O':
            rules.outlineObject = true;
            rules.outlineObjectThreshold = c.threshold == keep ? 0.0f : c.threshold;
            break;
        case 'M':
            rules.outlineMaterial = true;
            if (c.threshold != keep)
                rules.outlineMaterialThreshold = c.threshold;
            break;
        case 'E': rules.edgeMaterial = true; break;
        default: rules.edgeDepth = true; rules.edgeDepthThreshold = c.threshold;
        }
        EXPECT_EQ(row(c.cells).detect(rules), Rows{c.expected});
    }
}

// Neighbours outside the image are skipped, not taken as background; the first and last rows and
// columns still see their neighbours inside it.
TEST(ImageBorders, OutsideNeighboursAreSkippedAndInsideOnesSeen)
{
    test_support::GBufferImage image(3, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            image.surface(x, y, 1, 1, -10.0f);
    EdgeRules all;
    all.outlineObject = all.outlineMaterial = all.edgeMaterial = all.edgeDepth = true;
    all.edgeDepthThreshold = 0.0f;
    EXPECT_EQ(image.detect(all), (Rows{"...", "...", "..."}));
    test_support::GBufferImage single(1, 1);
    single.surface(0, 0, 1, 1, -10.0f);
    all.normal = true;
    all.normalMin = 0.0f;
    EXPECT_EQ(single.detect(all), Rows{"."});
    // Column 0 a far object: the near column beside it is the outline in the top and bottom rows
    // too. Then the bottom row alone is nearer, seen from the last row upwards only.
    for (int y = 0; y < 3; ++y)
        image.surface(0, y, 2, 1, -50.0f);
    EXPECT_EQ(image.detect(only(&EdgeRules::outlineObject)), (Rows{".1.", ".1.", ".1."}));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            image.surface(x, y, 1, 1, y == 2 ? -5.0f : -10.0f);
    EdgeRules depth = only(&EdgeRules::edgeDepth);
    depth.edgeDepthThreshold = 4.0f;
    EXPECT_EQ(image.detect(depth), (Rows{"...", "...", "111"}));
}

TEST(DetectEdges, MissingRequiredChannelMarksNothing)
{
    EdgeRules depth = only(&EdgeRules::edgeDepth);
    depth.edgeDepthThreshold = 5.0f;
    EdgeRules normalToo = depth;
    normalToo.normal = true;
    const EdgeRules outline = only(&EdgeRules::outlineObject);
    constexpr ULONG all = test_support::allEdgeChannels;
    const struct {
        const char* what;
        ULONG channels;
        const EdgeRules& rules;
        ULONG otherRequired;
        const char* row;
    } cases[] = {
        {"depth boundaries need no node ids", 0x13, depth, 0, "1."},
        {"outlines do", 0x13, outline, 0, ".."},
        {"the normal channel even when no switch reads it", all & ~BMM_CHAN_NORMAL, outline, 0, ".."},
        {"depth boundaries need no coverage", all & ~BMM_CHAN_COVERAGE, depth, 0, "1."},
        {"normal edges do", all & ~BMM_CHAN_COVERAGE, normalToo, 0, ".."},
        // Channels the caller needs besides detection, such as velocity for the smear.
        {"velocity missing", all, depth, BMM_CHAN_VELOC, ".."},
        {"velocity present", all | BMM_CHAN_VELOC, depth, BMM_CHAN_VELOC, "1."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        test_support::GBufferImage image(2, 1, c.channels);
        image.surface(0, 0, 1, 1, -10.0f);
        image.surface(1, 0, 2, 1, -20.0f);
        bool ok = false;
        EXPECT_EQ(image.detect(c.rules, c.otherRequired, &ok), Rows{c.row});
        EXPECT_EQ(ok, std::string(c.row) == "1.");
    }
}

TEST(ScanEdges, DoesNothingWithoutTestOrUsableMask)
{
    const auto image = row("bg 1:1:-10");
    const EdgeRules rules;
    std::vector<std::uint8_t> mask(2, 0);
    scanEdges(nullptr, rules, image.views(), EdgeMask{mask.data(), 2, 1});
    scanEdges(testOutlineObject, rules, image.views(), EdgeMask{});
    scanEdges(testOutlineObject, rules, image.views(), EdgeMask{mask.data(), 1, 1});
    EXPECT_EQ(image.rows(mask), Rows{".."});
    scanEdges(testOutlineObject, rules, image.views(), EdgeMask{mask.data(), 2, 1});
    EXPECT_EQ(image.rows(mask), Rows{".1"});
}

TEST(Predicates, VisitOnlyTheFourNeighbours)
{
    // Object 1 at -10 with far corners of object 2, material 2: the centre sees only object 1.
    test_support::GBufferImage image(3, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            image.surface(x, y, 1, 1, -10.0f);
    for (const auto& [x, y] : {std::pair{0, 0}, std::pair{2, 0}, std::pair{0, 2}, std::pair{2, 2}})
        image.surface(x, y, 2, 2, -90.0f);
    const GBufferViews views = image.views();
    EdgeRules rules;
    rules.edgeDepthThreshold = 0.0f;
    for (EdgeTest test : {testOutlineObject, testOutlineMaterial, testEdgeMaterial, testEdgeDepth})
        EXPECT_FALSE(test(rules, views, 1, 1));
    for (EdgeTest test : {testOutlineObject, testOutlineMaterial, testEdgeDepth})
        EXPECT_TRUE(test(rules, views, 1, 0));
}

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
    const struct {
        const char* what;
        Triple t;
        bool vertical;
        float normalMin, normalMax, normalDepth;
        bool expected;
    } cases[] = {
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
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EdgeRules rules = normalRange(c.normalMin, c.normalMax);
        rules.normalDepth = c.normalDepth;
        EXPECT_EQ(middle(line(c.t, c.vertical), rules), c.expected);
    }
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
    // A, C or B on object 2.
    for (const auto& [x, z] :
         {std::pair{0, risingX.zA}, std::pair{1, risingX.zC}, std::pair{2, risingX.zB}}) {
        auto other = line(risingX);
        other.surface(x, 0, 2, 1, z);
        EXPECT_FALSE(middle(other, rules)) << x;
    }
}

}  // namespace
