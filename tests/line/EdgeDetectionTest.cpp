#include "line/EdgeDetection.h"

#include "support/GBufferImage.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

using namespace test_support;

namespace {

using namespace vml;
using Rows = std::vector<std::string>;

constexpr std::uint16_t bg = BMM_BACKGROUND_NODE_RENDER_ID;

EdgeRules only(bool EdgeRules::*detectionSwitch)
{
    EdgeRules rules;
    rules.*detectionSwitch = true;
    return rules;
}

// One row: each entry is {node, material, z}; node 0xFFFF keeps the pixel background.
struct Cell {
    std::uint16_t node;
    std::uint8_t material;
    float z;
};

test_support::GBufferImage row(const std::vector<Cell>& cells)
{
    test_support::GBufferImage image(static_cast<int>(cells.size()), 1);
    int x = 0;
    for (const Cell& c : cells) {
        if (c.node != bg)
            image.surface(x, 0, c.node, c.material, c.z);
        ++x;
    }
    return image;
}

// Each scan over one row of pixels; thresholds are strict and each rule reads its own.
TEST(EdgeRulesOnOneRow, MarkWhatEachRuleDescribes)
{
    constexpr float same = 0.0f, keep = 1e30f;  // keep: the rules' default threshold
    struct Case {
        const char* what;
        bool EdgeRules::*rule;
        std::vector<Cell> cells;
        float threshold;  // of the rule under test; keep leaves the default
        int lineMatID;
        std::string expected;
    };
    const Case cases[] = {
        {"outline: object next to background",
         &EdgeRules::outlineObject,
         {{1, 1, -10}, {bg, 0, 0}, {1, 1, -10}},
         keep,
         1,
         "1.1"},
        {"outline: background whatever the threshold",
         &EdgeRules::outlineObject,
         {{1, 1, -10}, {bg, 0, 0}, {1, 1, -10}},
         -10000,
         1,
         "1.1"},
        {"outline: only the nearer object at 0",
         &EdgeRules::outlineObject,
         {{1, 1, -10}, {2, 1, -20}},
         same,
         1,
         "1."},
        {"outline: -5 is not below -5", &EdgeRules::outlineObject, {{1, 1, -10}, {2, 1, -15}}, -5, 1, ".."},
        {"outline: -4", &EdgeRules::outlineObject, {{1, 1, -10}, {2, 1, -15}}, -4, 1, "1."},
        {"outline: 5 is not above 5", &EdgeRules::outlineObject, {{1, 1, -10}, {2, 1, -15}}, 5, 1, "1."},
        {"outline: 5.5 marks both", &EdgeRules::outlineObject, {{1, 1, -10}, {2, 1, -15}}, 5.5f, 1, "11"},
        {"outline: objects and background",
         &EdgeRules::outlineObject,
         {{1, 1, -10}, {2, 1, -20}, {2, 1, -20}, {bg, 0, 0}},
         keep,
         1,
         "1.1."},
        {"outline: large negative leaves background borders",
         &EdgeRules::outlineObject,
         {{1, 1, -10}, {2, 1, -20}, {2, 1, -20}, {bg, 0, 0}},
         -10000,
         1,
         "..1."},
        {"outline: background of the line channel is not marked",
         &EdgeRules::outlineObject,
         {{bg, 0, 0}, {1, 0, -10}},
         keep,
         0,
         ".1"},
        {"outline material: another material on another object",
         &EdgeRules::outlineMaterial,
         {{1, 1, -10}, {2, 2, -20}},
         keep,
         1,
         "1."},
        {"outline material: same material",
         &EdgeRules::outlineMaterial,
         {{1, 1, -10}, {2, 1, -20}},
         keep,
         1,
         ".."},
        {"outline material: same object",
         &EdgeRules::outlineMaterial,
         {{1, 1, -10}, {1, 2, -20}},
         keep,
         1,
         ".."},
        {"outline material: background is another material",
         &EdgeRules::outlineMaterial,
         {{1, 1, -10}, {bg, 0, 0}},
         -10000,
         1,
         "1."},
        {"outline material: background of the line's material",
         &EdgeRules::outlineMaterial,
         {{1, 0, -10}, {bg, 0, 0}},
         -10000,
         0,
         ".."},
        {"outline material: -5 is strict",
         &EdgeRules::outlineMaterial,
         {{1, 1, -10}, {2, 2, -15}},
         -5,
         1,
         ".."},
        {"outline material: -4", &EdgeRules::outlineMaterial, {{1, 1, -10}, {2, 2, -15}}, -4, 1, "1."},
        {"edge material: inside one object",
         &EdgeRules::edgeMaterial,
         {{1, 1, -10}, {1, 2, -10}},
         keep,
         1,
         "1."},
        {"edge material: of the line channel",
         &EdgeRules::edgeMaterial,
         {{1, 1, -10}, {1, 2, -10}},
         keep,
         2,
         ".1"},
        {"edge material: not across objects",
         &EdgeRules::edgeMaterial,
         {{1, 1, -10}, {2, 2, -10}},
         keep,
         2,
         ".."},
        {"edge material: not within one material",
         &EdgeRules::edgeMaterial,
         {{1, 2, -10}, {1, 2, -50}},
         keep,
         2,
         ".."},
        {"depth: 10 is not above 10", &EdgeRules::edgeDepth, {{1, 1, -10}, {1, 1, -20}}, 10, 1, ".."},
        {"depth: 9.5", &EdgeRules::edgeDepth, {{1, 1, -10}, {1, 1, -20}}, 9.5f, 1, "1."},
        {"depth: flat at 0", &EdgeRules::edgeDepth, {{1, 1, -10}, {1, 1, -10}}, same, 1, ".."},
        {"depth: background is far behind",
         &EdgeRules::edgeDepth,
         {{bg, 0, 0}, {1, 1, -5000}, {2, 1, -100}},
         10000,
         1,
         ".1."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EdgeRules rules = only(c.rule);
        rules.lineMatID = c.lineMatID;
        rules.outlineObjectThreshold = 100.0f;  // the other rules must not read it
        if (c.rule == &EdgeRules::outlineObject)
            rules.outlineObjectThreshold = c.threshold == keep ? 0.0f : c.threshold;
        if (c.threshold != keep && c.rule == &EdgeRules::outlineMaterial)
            rules.outlineMaterialThreshold = c.threshold;
        if (c.threshold != keep && c.rule == &EdgeRules::edgeDepth)
            rules.edgeDepthThreshold = c.threshold;
        EXPECT_EQ(row(c.cells).detect(rules), Rows{c.expected});
    }
}

TEST(ImageBorders, OutsideNeighboursAreSkippedNotTakenAsBackground)
{
    test_support::GBufferImage image(3, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            image.surface(x, y, 1, 1, -10.0f);
    EdgeRules rules;
    rules.outlineObject = rules.outlineMaterial = rules.edgeMaterial = rules.edgeDepth = true;
    rules.edgeDepthThreshold = 0.0f;
    EXPECT_EQ(image.detect(rules), (Rows{"...", "...", "..."}));

    test_support::GBufferImage single(1, 1);
    single.surface(0, 0, 1, 1, -10.0f);
    rules.normal = true;
    rules.normalMin = 0.0f;
    EXPECT_EQ(single.detect(rules), Rows{"."});
}

TEST(ImageBorders, FirstAndLastRowsSeeTheirInImageNeighbours)
{
    // Column 0 is a far object, the rest a near one: the near column next to it is the outline,
    // in the top and bottom rows too.
    test_support::GBufferImage image(3, 3);
    for (int y = 0; y < 3; ++y) {
        image.surface(0, y, 2, 1, -50.0f);
        image.surface(1, y, 1, 1, -10.0f);
        image.surface(2, y, 1, 1, -10.0f);
    }
    EXPECT_EQ(image.detect(only(&EdgeRules::outlineObject)), (Rows{".1.", ".1.", ".1."}));

    // Depth boundary along the bottom edge, seen from the last row upwards only.
    test_support::GBufferImage rows(2, 3);
    for (int x = 0; x < 2; ++x) {
        rows.surface(x, 0, 1, 1, -30.0f);
        rows.surface(x, 1, 1, 1, -30.0f);
        rows.surface(x, 2, 1, 1, -10.0f);
    }
    EdgeRules depth = only(&EdgeRules::edgeDepth);
    depth.edgeDepthThreshold = 5.0f;
    EXPECT_EQ(rows.detect(depth), (Rows{"..", "..", "11"}));
}

TEST(DetectEdges, MaskIsTheUnionOfTheEnabledScansOnTheLineChannelOnly)
{
    const auto image = row({{bg, 0, 0.0f}, {1, 1, -10.0f}, {1, 1, -10.0f}, {1, 2, -10.0f}});
    EdgeRules both = only(&EdgeRules::outlineObject);
    both.edgeMaterial = true;
    EXPECT_EQ(image.detect(both), Rows{".11."});
    EXPECT_EQ(image.detect(EdgeRules{}), Rows{"...."});

    const auto mixed = row({{1, 1, -10.0f}, {bg, 0, 0.0f}, {2, 2, -10.0f}, {3, 1, -20.0f}});
    EdgeRules all;
    all.outlineObject = all.outlineMaterial = all.edgeMaterial = all.edgeDepth = true;
    all.lineMatID = 2;
    EXPECT_EQ(mixed.detect(all), Rows{"..1."});
    all.lineMatID = 1;
    EXPECT_EQ(mixed.detect(all), Rows{"1..."});

    // Adds to the mask without clearing it.
    std::vector<std::uint8_t> mask{0, 0, 1, 0};
    EXPECT_TRUE(detectEdges(only(&EdgeRules::outlineObject), image.views(), EdgeMask{mask.data(), 4, 1}));
    EXPECT_EQ(image.rows(mask), Rows{".11."});
}

TEST(DetectEdges, MissingRequiredChannelMarksNothing)
{
    const auto fill = [](test_support::GBufferImage& image) {
        image.surface(0, 0, 1, 1, -10.0f);
        image.surface(1, 0, 2, 1, -20.0f);
    };
    EdgeRules depth = only(&EdgeRules::edgeDepth);
    depth.edgeDepthThreshold = 5.0f;
    bool ok = false;

    // Depth boundaries need no node ids.
    test_support::GBufferImage noNodes(2, 1, 0x13);
    noNodes.surface(0, 0, 0, 1, -10.0f);
    noNodes.surface(1, 0, 0, 1, -20.0f);
    EXPECT_EQ(noNodes.detect(depth, 0, &ok), Rows{"1."});
    EXPECT_TRUE(ok);
    EXPECT_EQ(noNodes.detect(only(&EdgeRules::outlineObject), 0, &ok), Rows{".."});
    EXPECT_FALSE(ok);

    // The normal channel is required even when no switch reads it.
    test_support::GBufferImage noNormals(2, 1, test_support::allEdgeChannels & ~BMM_CHAN_NORMAL);
    fill(noNormals);
    EXPECT_EQ(noNormals.detect(only(&EdgeRules::outlineObject), 0, &ok), Rows{".."});
    EXPECT_FALSE(ok);

    test_support::GBufferImage noCoverage(2, 1, test_support::allEdgeChannels & ~BMM_CHAN_COVERAGE);
    fill(noCoverage);
    EXPECT_EQ(noCoverage.detect(depth, 0, &ok), Rows{"1."});
    EXPECT_TRUE(ok);
    EdgeRules normalToo = depth;
    normalToo.normal = true;
    EXPECT_EQ(noCoverage.detect(normalToo, 0, &ok), Rows{".."});
    EXPECT_FALSE(ok);

    // Channels the caller needs besides detection, such as velocity for the smear.
    test_support::GBufferImage all(2, 1);
    fill(all);
    EXPECT_EQ(all.detect(depth, BMM_CHAN_VELOC, &ok), Rows{".."});
    EXPECT_FALSE(ok);
    all.bitmap.CreateChannels(BMM_CHAN_VELOC);
    EXPECT_EQ(all.detect(depth, BMM_CHAN_VELOC, &ok), Rows{"1."});
    EXPECT_TRUE(ok);
}

TEST(ScanEdges, DoesNothingWithoutTestOrUsableMask)
{
    const auto image = row({{bg, 0, 0.0f}, {1, 1, -10.0f}});
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

}  // namespace
