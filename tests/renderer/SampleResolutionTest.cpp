#include "renderer/SampleResolution.h"
#include "renderer/FaceCoverage.h"
#include "renderer/SampleGrid.h"
#include "support/StoreTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

using namespace test_support;

using test_support::HandFaces;
using test_support::materialA;
using test_support::materialB;
using test_support::sample;
using test_support::samplesAt;
using vml::PixelSample;
using vml::SampleGrid;
using vml::ScreenProjection;
using vml::Triangle3;

namespace {

// Parallel, screen = camera x, y.
const ScreenProjection identity{false, 1.0f, 1.0f, 0.0f, 0.0f};
// Perspective with screen x = x / -z... as the host's: xscale < 0, yscale > 0.
const ScreenProjection perspective{true, -1.0f, 1.0f, 0.0f, 0.0f};

// x <= 0.5 over the whole of pixel (0, 0): the three left columns of points.
const Triangle3 leftHalf{{{-10, -10, -1}, {0.5f, -10, -1}, {0.5f, 10, -1}}};
// x >= 0.8: the right column only.
const Triangle3 rightStrip{{{0.8f, -10, -1}, {10, -10, -1}, {0.8f, 10, -1}}};

TEST(FaceCoverage, CountsTwentyFivePointsAroundThePixelCentre)
{
    const Point2 centre{0.5f, 0.5f};
    EXPECT_FLOAT_EQ(vml::faceCoverage(std::vector<Triangle3>{leftHalf}, identity, centre), 15.0f / 25.0f);
    EXPECT_FLOAT_EQ(vml::faceCoverage(std::vector<Triangle3>{rightStrip}, identity, centre), 5.0f / 25.0f);
    // Points are counted once however many triangles hold them.
    EXPECT_FLOAT_EQ(
        vml::faceCoverage(std::vector<Triangle3>{leftHalf, rightStrip, leftHalf}, identity, centre),
        20.0f / 25.0f);
    // A degenerate triangle covers nothing, even the points on its line.
    const Triangle3 line{{{0.5f, -10, -1}, {0.5f, 0, -1}, {0.5f, 10, -1}}};
    EXPECT_FLOAT_EQ(vml::faceCoverage(std::vector<Triangle3>{line}, identity, centre), 0.0f);
}

TEST(FaceCoverage, PerspectiveClipsAtTheNearPlane)
{
    // Wholly behind the camera: projecting it unclipped would mirror it over the pixel.
    const Triangle3 behind{{{-100, -100, 1}, {100, -100, 1}, {0, 100, 1}}};
    EXPECT_FLOAT_EQ(vml::faceCoverage(std::vector<Triangle3>{behind}, perspective, {0.5f, 0.5f}), 0.0f);

    // Crossing the near plane: the visible part reaches far up the screen; the unclipped
    // triangle would only reach y = 1.
    const Triangle3 crossing{{{-1, -1, -1}, {1, -1, -1}, {0, 0, 1}}};
    EXPECT_FLOAT_EQ(vml::faceCoverage(std::vector<Triangle3>{crossing}, perspective, {0.5f, 10.5f}), 1.0f);

    // In front: screen = (x, -y) at z = -1.
    const Triangle3 front{{{-10, 10, -1}, {0.5f, 10, -1}, {0.5f, -10, -1}}};
    EXPECT_FLOAT_EQ(vml::faceCoverage(std::vector<Triangle3>{front}, perspective, {0.5f, 0.5f}),
                    15.0f / 25.0f);
}

class Resolution : public ::testing::Test {
protected:
    void SetUp() override
    {
        faces.add(1, 0, {{0, 1, 2}, {leftHalf.v[0], leftHalf.v[1], leftHalf.v[2]}});
        faces.add(1, 1, {{2, 3, 4}, {rightStrip.v[0], rightStrip.v[1], rightStrip.v[2]}});
        faces.add(1, 2, {{5, 6, 7}, {leftHalf.v[0], leftHalf.v[1], leftHalf.v[2]}});
    }
    HandFaces faces;
    SampleGrid grid;
};

TEST_F(Resolution, MergesARunIntoItsFirstSampleWithCoverageWeight)
{
    ASSERT_TRUE(grid.setup(1, 1));
    grid.insertSample(0, 0, sample(-1, 1, 0, 100, 0.5f));
    grid.insertSample(0, 0, sample(-2, 1, 1, 200, 0.25f));  // shares vertex 2
    grid.insertSample(0, 0, sample(-3, 2, 0, 50));          // another node ends the run
    vml::mergeSampleRuns(grid, identity, faces, {0, 0});

    const auto l = samplesAt(grid, 0, 0);
    ASSERT_EQ(l.size(), 2u);
    EXPECT_EQ(l[0]->color[0], 133);  // (0.5 x 100 + 0.25 x 200) / 0.75
    EXPECT_EQ(l[0]->color[3], 255);
    EXPECT_FLOAT_EQ(l[0]->weight, 20.0f / 25.0f);
    EXPECT_EQ(l[1]->nodeId, 2);
    EXPECT_EQ(l[1]->color[0], 50);
}

TEST_F(Resolution, MergeKeepsOtherMaterialsUnrelatedFacesAndLoneSamples)
{
    ASSERT_TRUE(grid.setup(3, 1));
    // Pixel 0: the run's other material stays linked and out of the mean.
    grid.insertSample(0, 0, sample(-1, 1, 0, 90, 0.5f));
    grid.insertSample(0, 0, sample(-2, 1, 1, 0, 1.0f, materialB));
    grid.insertSample(0, 0, sample(-3, 1, 0, 90, 0.5f));
    // Pixel 1: faces without a shared vertex are two runs.
    grid.insertSample(1, 0, sample(-1, 1, 0, 10, 0.3f));
    grid.insertSample(1, 0, sample(-2, 1, 2, 20, 0.3f));
    // Pixel 2: weights that are all 0 give the plain mean, not a division by zero.
    grid.insertSample(2, 0, sample(-1, 1, 0, 10, 0.0f));
    grid.insertSample(2, 0, sample(-2, 1, 0, 30, 0.0f));
    vml::mergeSampleRuns(grid, identity, faces, {0, 0});

    auto l = samplesAt(grid, 0, 0);
    ASSERT_EQ(l.size(), 2u);
    EXPECT_EQ(l[0]->color[0], 90);
    EXPECT_EQ(l[1]->material, materialB);

    l = samplesAt(grid, 1, 0);
    ASSERT_EQ(l.size(), 2u);
    EXPECT_FLOAT_EQ(l[0]->weight, 0.3f);
    EXPECT_EQ(l[0]->color[0], 10);

    l = samplesAt(grid, 2, 0);
    ASSERT_EQ(l.size(), 1u);
    EXPECT_EQ(l[0]->color[0], 20);
}

TEST_F(Resolution, PartialSamplesBlendTowardTheSampleBehindFromTheEnd)
{
    ASSERT_TRUE(grid.setup(3, 1));
    // Pixel 0: the last partial sample is blended first, and the head sees its result.
    grid.insertSample(0, 0, sample(-1, 1, 0, 0, 0.5f));
    grid.insertSample(0, 0, sample(-2, 1, 1, 100, 0.5f));
    grid.insertSample(0, 0, sample(-3, 1, 2, 200, 1.0f));
    // Pixel 1: samples of its own face and of another material are passed over.
    grid.insertSample(1, 0, sample(-1, 1, 0, 100, 0.6f));
    grid.insertSample(1, 0, sample(-2, 1, 0, 0, 1.0f));
    grid.insertSample(1, 0, sample(-3, 1, 1, 0, 1.0f, materialB));
    grid.insertSample(1, 0, sample(-4, 1, 2, 200, 1.0f));
    // Pixel 2: another node stops the search; the sample is left as it is.
    grid.insertSample(2, 0, sample(-1, 1, 0, 100, 0.6f));
    grid.insertSample(2, 0, sample(-2, 2, 1, 0, 1.0f));
    grid.insertSample(2, 0, sample(-3, 1, 2, 200, 1.0f));
    vml::blendPartialSamples(grid);

    auto l = samplesAt(grid, 0, 0);
    EXPECT_EQ(l[1]->color[0], 150);
    EXPECT_EQ(l[0]->color[0], 75);
    EXPECT_FLOAT_EQ(l[0]->weight, 1.0f);
    EXPECT_EQ(l[0]->color[3], 255);

    l = samplesAt(grid, 1, 0);
    EXPECT_EQ(l[0]->color[0], 140);  // 100 + (200 - 100) x 0.4

    l = samplesAt(grid, 2, 0);
    EXPECT_EQ(l[0]->color[0], 100);
    EXPECT_FLOAT_EQ(l[0]->weight, 0.6f);
}

TEST_F(Resolution, RowsSmoothFromTheirOriginalValues)
{
    ASSERT_TRUE(grid.setup(3, 1));
    grid.insertSample(0, 0, sample(-1, 1, 0, 10));
    grid.insertSample(1, 0, sample(-1, 1, 0, 40));
    grid.insertSample(2, 0, sample(-1, 1, 0, 100));
    vml::smoothSampleLines(grid);
    EXPECT_EQ(samplesAt(grid, 0, 0)[0]->color[0], 15);   // (50 + 40) / 6
    EXPECT_EQ(samplesAt(grid, 1, 0)[0]->color[0], 44);   // (200 + 10 + 100) / 7
    EXPECT_EQ(samplesAt(grid, 2, 0)[0]->color[0], 90);   // (500 + 40) / 6
    EXPECT_EQ(samplesAt(grid, 1, 0)[0]->color[3], 255);  // alpha too, unchanged when all agree

    // Columns see the row results.
    ASSERT_TRUE(grid.setup(2, 2));
    grid.insertSample(0, 0, sample(-1, 1, 0, 0));
    grid.insertSample(1, 0, sample(-1, 1, 0, 60));
    grid.insertSample(0, 1, sample(-1, 1, 0, 120));
    grid.insertSample(1, 1, sample(-1, 1, 0, 0));
    vml::smoothSampleLines(grid);
    EXPECT_EQ(samplesAt(grid, 0, 0)[0]->color[0], 25);
    EXPECT_EQ(samplesAt(grid, 1, 0)[0]->color[0], 45);
    EXPECT_EQ(samplesAt(grid, 0, 1)[0]->color[0], 85);
    EXPECT_EQ(samplesAt(grid, 1, 1)[0]->color[0], 25);
}

TEST_F(Resolution, ResolveRunsTheThreeStepsInOrder)
{
    ASSERT_TRUE(grid.setup(1, 1));
    grid.insertSample(0, 0, sample(-1, 1, 0, 100, 0.5f));
    grid.insertSample(0, 0, sample(-2, 1, 1, 100, 0.5f));
    grid.insertSample(0, 0, sample(-3, 1, 2, 200, 1.0f));
    vml::resolveSampleGrid(grid, identity, faces);
    const auto l = samplesAt(grid, 0, 0);
    ASSERT_EQ(l.size(), 2u);
    // Merged weight 0.8, then blended toward face 2: 100 + 100 x 0.2.
    EXPECT_EQ(l[0]->color[0], 120);
    EXPECT_FLOAT_EQ(l[0]->weight, 1.0f);
}

}  // namespace
