#include "renderer/SampleGrid.h"
#include "renderer/StoreTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

using vml::PixelSample;
using vml::SampleGrid;
using vml::test::CountingHooks;
using vml::test::HandFaces;
using vml::test::materialA;
using vml::test::materialB;
using vml::test::sample;
using vml::test::samplesAt;

namespace {

std::vector<float> depths(const SampleGrid& grid, int x, int y)
{
    std::vector<float> out;
    for (const PixelSample* s : samplesAt(grid, x, y))
        out.push_back(s->depth);
    return out;
}

TEST(SampleGrid, LinksSamplesAfterTheFirstFartherEntry)
{
    SampleGrid grid;
    ASSERT_TRUE(grid.setup(4, 3));
    for (float d : {-5.0f, -2.0f})
        grid.insertSample(0, 0, sample(d));
    for (float d : {-2.0f, -5.0f})
        grid.insertSample(1, 0, sample(d));
    for (float d : {-3.0f, -2.0f, -1.0f})
        grid.insertSample(2, 0, sample(d));
    for (float d : {-1.0f, -2.0f, -3.0f, -1.5f})
        grid.insertSample(3, 2, sample(d));
    for (float d : {-2.0f, -1.0f, -2.0f})
        grid.insertSample(0, 1, sample(d));
    EXPECT_EQ(depths(grid, 0, 0), (std::vector<float>{-5, -2}));
    EXPECT_EQ(depths(grid, 1, 0), (std::vector<float>{-2, -5}));
    EXPECT_EQ(depths(grid, 2, 0), (std::vector<float>{-3, -1, -2}));
    // -1.5 goes after -2, the first entry farther than it.
    EXPECT_EQ(depths(grid, 3, 2), (std::vector<float>{-1, -2, -1.5, -3}));
    // An equal depth is not farther: it goes on past it.
    EXPECT_EQ(depths(grid, 0, 1), (std::vector<float>{-2, -1, -2}));
    EXPECT_EQ(grid.count(3, 2), 4u);
    EXPECT_EQ(grid.count(1, 1), 0u);
}

TEST(SampleGrid, IgnoresPixelsOutsideAndClearsPerPass)
{
    SampleGrid grid;
    ASSERT_TRUE(grid.setup(2, 2));
    EXPECT_FALSE(grid.insertSample(-1, 0, sample(-1)));
    EXPECT_FALSE(grid.insertSample(2, 0, sample(-1)));
    EXPECT_FALSE(grid.insertSample(0, 2, sample(-1)));
    EXPECT_TRUE(grid.insertSample(1, 1, sample(-1)));
    EXPECT_EQ(grid.head(2, 0), nullptr);

    grid.clear();
    EXPECT_EQ(grid.count(1, 1), 0u);
    EXPECT_EQ(grid.count(0, 0), 0u);
    EXPECT_TRUE(grid.insertSample(0, 0, sample(-2)));
    EXPECT_EQ(depths(grid, 0, 0), (std::vector<float>{-2}));
}

TEST(SampleGrid, AnArenaThatCannotGrowDropsTheSample)
{
    CountingHooks hooks;
    SampleGrid grid(&hooks);
    ASSERT_TRUE(grid.setup(1, 1));
    grid.cellArena().setByteLimit(sizeof(SampleGrid::Cell));  // the preset row only
    EXPECT_TRUE(grid.insertSample(0, 0, sample(-1)));
    EXPECT_TRUE(grid.insertSample(0, 0, sample(-2)));
    EXPECT_FALSE(grid.insertSample(0, 0, sample(-3)));
    EXPECT_EQ(hooks.outOfMemoryReports, 1);
    EXPECT_EQ(depths(grid, 0, 0), (std::vector<float>{-1, -2}));

    grid.clear();
    EXPECT_TRUE(grid.insertSample(0, 0, sample(-1)));
    EXPECT_TRUE(grid.insertSample(0, 0, sample(-2)));
}

TEST(SampleGrid, SearchesPickTheNearestQualifyingDepth)
{
    HandFaces faces;
    faces.add(1, 0, {{0, 1, 2}, {}});
    faces.add(1, 1, {{2, 3, 4}, {}});  // shares vertex 2 with face 0
    faces.add(1, 2, {{5, 6, 7}, {}});
    SampleGrid grid;
    ASSERT_TRUE(grid.setup(1, 1));
    grid.insertSample(0, 0, sample(-1.0f, 1, 2));                       // unrelated face
    grid.insertSample(0, 0, sample(-1.3f, 1, 1));                       // sharing face
    grid.insertSample(0, 0, sample(-2.0f, 1, 0, 0, 1.0f, materialB));   // same face, far
    grid.insertSample(0, 0, sample(-1.05f, 2, 0, 0, 1.0f, materialB));  // other node
    PixelSample fallback = sample(-99.0f, 9);

    const PixelSample* s = grid.nearestOnSurface(0, 0, 1, 0, -1.0f, 0.5f, faces, &fallback);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->depth, -1.3f);
    EXPECT_EQ(grid.nearestOnSurface(0, 0, 1, 0, -1.0f, 0.2f, faces, &fallback), &fallback);
    EXPECT_EQ(grid.nearestOnSurface(0, 0, 1, 0, -1.8f, 0.5f, faces, &fallback)->depth, -2.0f);

    // Same node and material: the signed limit admits samples farther away without bound.
    EXPECT_EQ(grid.nearestOfNodeAndMaterial(0, 0, 1, materialA, -1.2f, 0.1f, &fallback)->depth, -1.3f);
    EXPECT_EQ(grid.nearestOfNodeAndMaterial(0, 0, 1, materialA, -1.5f, 0.1f, &fallback), &fallback);
    EXPECT_EQ(grid.nearestOfNodeAndMaterial(0, 0, 1, materialB, 0.0f, 0.1f, &fallback)->depth, -2.0f);

    // Same material, any node.
    EXPECT_EQ(grid.nearestOfMaterial(0, 0, materialB, -1.0f, &fallback)->depth, -1.05f);
    EXPECT_EQ(grid.nearestOfMaterial(0, 0, nullptr, -1.0f, &fallback), &fallback);
    EXPECT_EQ(grid.nearestOfMaterial(5, 5, materialA, -1.0f, &fallback), &fallback);
}

}  // namespace
