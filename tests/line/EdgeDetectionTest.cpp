#include "line/EdgeDetection.h"

#include "support/GBufferImage.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

using namespace test_support;

namespace {

using namespace vml;
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
    struct Case {
        char rule;  // O outline object, M outline material, E edge material, D edge depth
        const char* cells;
        float threshold;
        int lineMatID;
        const char* expected;
    };
    const Case cases[] = {
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
    for (const Case& c : cases) {
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
    const auto image = row("bg 1:1:-10 1:1:-10 1:2:-10");
    EdgeRules both = only(&EdgeRules::outlineObject);
    both.edgeMaterial = true;
    EXPECT_EQ(image.detect(both), Rows{".11."});
    EXPECT_EQ(image.detect(EdgeRules{}), Rows{"...."});

    const auto mixed = row("1:1:-10 bg 2:2:-10 3:1:-20");
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

}  // namespace
