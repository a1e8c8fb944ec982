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

test_support::GBufferImage row(std::initializer_list<Cell> cells)
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

TEST(OutlineObject, MarksObjectNextToBackgroundWhateverTheThreshold)
{
    const auto image = row({{1, 1, -10.0f}, {bg, 0, 0.0f}, {1, 1, -10.0f}});
    EdgeRules rules = only(&EdgeRules::outlineObject);
    EXPECT_EQ(image.detect(rules), Rows{"1.1"});
    rules.outlineObjectThreshold = -10000.0f;
    EXPECT_EQ(image.detect(rules), Rows{"1.1"});
}

TEST(OutlineObject, MarksOnlyTheNearerObjectAtThresholdZero)
{
    // Z(N) - Z(C) is -10 for the near pixel and +10 for the far one.
    const auto image = row({{1, 1, -10.0f}, {2, 1, -20.0f}});
    EXPECT_EQ(image.detect(only(&EdgeRules::outlineObject)), Rows{"1."});
}

TEST(OutlineObject, ThresholdIsStrict)
{
    // Z(right) - Z(left) = -5 for the left pixel; +5 for the right one.
    const auto image = row({{1, 1, -10.0f}, {2, 1, -15.0f}});
    EdgeRules rules = only(&EdgeRules::outlineObject);
    rules.outlineObjectThreshold = -5.0f;
    EXPECT_EQ(image.detect(rules), Rows{".."});
    rules.outlineObjectThreshold = -4.0f;
    EXPECT_EQ(image.detect(rules), Rows{"1."});
    rules.outlineObjectThreshold = 5.0f;
    EXPECT_EQ(image.detect(rules), Rows{"1."});
    rules.outlineObjectThreshold = 5.5f;
    EXPECT_EQ(image.detect(rules), Rows{"11"});
}

TEST(OutlineObject, LargeNegativeThresholdLeavesOnlyBackgroundBorders)
{
    const auto image = row({{1, 1, -10.0f}, {2, 1, -20.0f}, {2, 1, -20.0f}, {bg, 0, 0.0f}});
    EdgeRules rules = only(&EdgeRules::outlineObject);
    EXPECT_EQ(image.detect(rules), Rows{"1.1."});
    rules.outlineObjectThreshold = -10000.0f;
    EXPECT_EQ(image.detect(rules), Rows{"..1."});
}

TEST(OutlineObject, BackgroundPixelsOfTheLineChannelAreNotMarked)
{
    // Background has material channel 0; its depth lies far behind any surface.
    const auto image = row({{bg, 0, 0.0f}, {1, 0, -10.0f}});
    EdgeRules rules = only(&EdgeRules::outlineObject);
    rules.lineMatID = 0;
    EXPECT_EQ(image.detect(rules), Rows{".1"});
}

TEST(OutlineMaterial, NeedsAnotherMaterialOnAnotherObject)
{
    EdgeRules rules = only(&EdgeRules::outlineMaterial);
    EXPECT_EQ(row({{1, 1, -10.0f}, {2, 2, -20.0f}}).detect(rules), Rows{"1."});
    EXPECT_EQ(row({{1, 1, -10.0f}, {2, 1, -20.0f}}).detect(rules), Rows{".."});
    EXPECT_EQ(row({{1, 1, -10.0f}, {1, 2, -20.0f}}).detect(rules), Rows{".."});
}

TEST(OutlineMaterial, BackgroundCountsOnlyWithAnotherMaterial)
{
    EdgeRules rules = only(&EdgeRules::outlineMaterial);
    rules.outlineMaterialThreshold = -10000.0f;
    EXPECT_EQ(row({{1, 1, -10.0f}, {bg, 0, 0.0f}}).detect(rules), Rows{"1."});
    rules.lineMatID = 0;
    EXPECT_EQ(row({{1, 0, -10.0f}, {bg, 0, 0.0f}}).detect(rules), Rows{".."});
}

TEST(OutlineMaterial, ThresholdIsStrictAndUsesItsOwnValue)
{
    const auto image = row({{1, 1, -10.0f}, {2, 2, -15.0f}});
    EdgeRules rules = only(&EdgeRules::outlineMaterial);
    rules.outlineObjectThreshold = 100.0f;
    rules.outlineMaterialThreshold = -5.0f;
    EXPECT_EQ(image.detect(rules), Rows{".."});
    rules.outlineMaterialThreshold = -4.0f;
    EXPECT_EQ(image.detect(rules), Rows{"1."});
}

TEST(EdgeMaterial, MarksMaterialBordersInsideOneObjectOnly)
{
    EdgeRules rules = only(&EdgeRules::edgeMaterial);
    EXPECT_EQ(row({{1, 1, -10.0f}, {1, 2, -10.0f}}).detect(rules), Rows{"1."});
    rules.lineMatID = 2;
    EXPECT_EQ(row({{1, 1, -10.0f}, {1, 2, -10.0f}}).detect(rules), Rows{".1"});
    EXPECT_EQ(row({{1, 1, -10.0f}, {2, 2, -10.0f}}).detect(rules), Rows{".."});
    EXPECT_EQ(row({{1, 2, -10.0f}, {1, 2, -50.0f}}).detect(rules), Rows{".."});
}

TEST(EdgeDepth, MarksThePixelNearerByMoreThanTheThreshold)
{
    const auto image = row({{1, 1, -10.0f}, {1, 1, -20.0f}});
    EdgeRules rules = only(&EdgeRules::edgeDepth);
    rules.edgeDepthThreshold = 10.0f;
    EXPECT_EQ(image.detect(rules), Rows{".."});
    rules.edgeDepthThreshold = 9.5f;
    EXPECT_EQ(image.detect(rules), Rows{"1."});
    rules.edgeDepthThreshold = 0.0f;
    EXPECT_EQ(row({{1, 1, -10.0f}, {1, 1, -10.0f}}).detect(rules), Rows{".."});
}

TEST(EdgeDepth, BackgroundNeighbourIsAlwaysFarBehind)
{
    EdgeRules rules = only(&EdgeRules::edgeDepth);
    rules.edgeDepthThreshold = 10000.0f;
    EXPECT_EQ(row({{bg, 0, 0.0f}, {1, 1, -5000.0f}, {2, 1, -100.0f}}).detect(rules), Rows{".1."});
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

TEST(MaterialFilter, OtherChannelsNeverReceiveTheLine)
{
    const auto image = row({{1, 1, -10.0f}, {bg, 0, 0.0f}, {2, 2, -10.0f}, {3, 1, -20.0f}});
    EdgeRules rules;
    rules.outlineObject = rules.outlineMaterial = rules.edgeMaterial = rules.edgeDepth = true;
    rules.lineMatID = 2;
    EXPECT_EQ(image.detect(rules), Rows{"..1."});
    rules.lineMatID = 1;
    EXPECT_EQ(image.detect(rules), Rows{"1..."});
}

TEST(DetectEdges, MaskIsTheUnionOfTheEnabledScans)
{
    const auto image = row({{bg, 0, 0.0f}, {1, 1, -10.0f}, {1, 1, -10.0f}, {1, 2, -10.0f}});
    EXPECT_EQ(image.detect(only(&EdgeRules::outlineObject)), Rows{".1.."});
    EXPECT_EQ(image.detect(only(&EdgeRules::edgeMaterial)), Rows{"..1."});
    EdgeRules both = only(&EdgeRules::outlineObject);
    both.edgeMaterial = true;
    EXPECT_EQ(image.detect(both), Rows{".11."});
    EXPECT_EQ(image.detect(EdgeRules{}), Rows{"...."});
}

TEST(DetectEdges, AddsToTheMaskWithoutClearingIt)
{
    const auto image = row({{bg, 0, 0.0f}, {1, 1, -10.0f}, {1, 1, -10.0f}});
    std::vector<std::uint8_t> mask{0, 0, 1};
    EXPECT_TRUE(detectEdges(only(&EdgeRules::outlineObject), image.views(), EdgeMask{mask.data(), 3, 1}));
    EXPECT_EQ(image.rows(mask), Rows{".11"});
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
    EXPECT_FALSE(testOutlineObject(rules, views, 1, 1));
    EXPECT_FALSE(testOutlineMaterial(rules, views, 1, 1));
    EXPECT_FALSE(testEdgeMaterial(rules, views, 1, 1));
    EXPECT_FALSE(testEdgeDepth(rules, views, 1, 1));
    EXPECT_TRUE(testOutlineObject(rules, views, 1, 0));
    EXPECT_TRUE(testOutlineMaterial(rules, views, 1, 0));
    EXPECT_TRUE(testEdgeDepth(rules, views, 1, 0));
}

}  // namespace
