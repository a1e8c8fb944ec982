// The per-frame sample stores: the pixel sample grid with its searches, the resolution of partly
// covered samples, and the row filter that keeps one stroke per object and pixel.

#include "renderer/FaceCoverage.h"
#include "renderer/RowRecords.h"
#include "renderer/SampleGrid.h"
#include "renderer/SampleResolution.h"
#include "support/StoreTestSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <thread>
#include <vector>

using namespace test_support;
using namespace vml;

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
    // (x, y), depths filed, depths listed. -1.5 goes after -2, the first entry farther than it;
    // an equal depth is not farther: it goes on past it.
    const struct {
        int x, y;
        std::vector<float> filed, listed;
    } cases[] = {{0, 0, {-5, -2}, {-5, -2}},
                 {1, 0, {-2, -5}, {-2, -5}},
                 {2, 0, {-3, -2, -1}, {-3, -1, -2}},
                 {3, 2, {-1, -2, -3, -1.5}, {-1, -2, -1.5, -3}},
                 {0, 1, {-2, -1, -2}, {-2, -1, -2}}};
    for (const auto& c : cases)
        for (float d : c.filed)
            grid.insertSample(c.x, c.y, sample(d));
    for (const auto& c : cases)
        EXPECT_EQ(depths(grid, c.x, c.y), c.listed) << c.x << ", " << c.y;
    EXPECT_EQ(grid.count(3, 2), 4u);
    EXPECT_EQ(grid.count(1, 1), 0u);
    // Pixels outside are refused; a clear empties every list.
    EXPECT_FALSE(grid.insertSample(-1, 0, sample(-1)));
    EXPECT_FALSE(grid.insertSample(4, 0, sample(-1)));
    EXPECT_FALSE(grid.insertSample(0, 3, sample(-1)));
    grid.clear();
    EXPECT_EQ(grid.count(3, 2), 0u);
    EXPECT_TRUE(grid.insertSample(0, 0, sample(-2)));
    EXPECT_EQ(depths(grid, 0, 0), (std::vector<float>{-2}));
}

TEST(SampleGrid, AGridThatCannotGrowDropsTheSample)
{
    CountingHooks hooks;
    SampleGrid grid(&hooks);
    // One chunk's worth of pixels: every pixel gets one sample, then one more does not fit.
    const int width = 64, height = static_cast<int>(SampleGrid::chunkSamples) / width;
    ASSERT_TRUE(grid.setup(width, height));
    grid.setByteLimit(SampleGrid::chunkSamples * sizeof(SampleGrid::Index) + SampleGrid::chunkBytes);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            ASSERT_TRUE(grid.insertSample(x, y, sample(-1.0f - static_cast<float>(x))));
    EXPECT_EQ(grid.sampleCount(), SampleGrid::chunkSamples);
    EXPECT_FALSE(grid.insertSample(0, 0, sample(-3)));
    EXPECT_EQ(hooks.outOfMemoryReports, 1);
    EXPECT_EQ(depths(grid, 0, 0), (std::vector<float>{-1}));
    EXPECT_EQ(depths(grid, 5, 1), (std::vector<float>{-6}));
    // The chunk is kept for the next pass.
    grid.clear();
    EXPECT_EQ(grid.sampleCount(), 0u);
    EXPECT_EQ(grid.bytesHeld(),
              SampleGrid::chunkSamples * sizeof(SampleGrid::Index) + SampleGrid::chunkBytes);
    EXPECT_TRUE(grid.insertSample(0, 0, sample(-1)));
    EXPECT_TRUE(grid.insertSample(0, 0, sample(-2)));
    EXPECT_EQ(depths(grid, 0, 0), (std::vector<float>{-1, -2}));
    EXPECT_EQ(hooks.outOfMemoryReports, 1);
}

TEST(SampleGrid, IndicesReachSamplesAcrossChunks)
{
    // More samples than one chunk holds, several per pixel: the lists run across chunks, and
    // each pixel's list still holds its own samples in filing order (all at one depth).
    SampleGrid grid;
    const int width = 7, height = 5;
    ASSERT_TRUE(grid.setup(width, height));
    const int perPixel = static_cast<int>(SampleGrid::chunkSamples) / (width * height) + 3;
    for (int k = 0; k < perPixel; ++k)
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                ASSERT_TRUE(grid.insertSample(x, y, sample(-1.0f, y * width + x, k)));
    EXPECT_GT(grid.bytesHeld(), 2 * SampleGrid::chunkBytes);
    EXPECT_EQ(grid.sampleCount(), static_cast<std::size_t>(perPixel * width * height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const auto found = samplesAt(grid, x, y);
            ASSERT_EQ(found.size(), static_cast<std::size_t>(perPixel));
            for (int k = 0; k < perPixel; ++k) {
                EXPECT_EQ(found[static_cast<std::size_t>(k)]->nodeId, y * width + x);
                EXPECT_EQ(found[static_cast<std::size_t>(k)]->face, k);
            }
        }
    // The searches find the same samples through the indices.
    EXPECT_EQ(grid.nearestOfMaterial(3, 2, test_support::materialA, -1.0f, nullptr),
              samplesAt(grid, 3, 2).front());
    grid.release();
    EXPECT_EQ(grid.bytesHeld(), 0u);
    EXPECT_EQ(grid.width(), 0);
    EXPECT_EQ(grid.first(0, 0), SampleGrid::none);
}

TEST(SampleGrid, ThreadsFilingAtOnceShareTheChunks)
{
    // Two threads file into different rows; every sample is found, and the grid holds no more
    // chunks than the samples fill (a partly filled chunk per thread at most).
    SampleGrid grid;
    const int width = 300, height = 60;
    ASSERT_TRUE(grid.setup(width, height));
    auto file = [&](int firstRow) {
        for (int y = firstRow; y < height; y += 2)
            for (int x = 0; x < width; ++x)
                grid.insertSample(x, y, sample(-1.0f - static_cast<float>(y), x, y));
    };
    std::thread other(file, 1);
    file(0);
    other.join();
    EXPECT_EQ(grid.sampleCount(), static_cast<std::size_t>(width * height));
    const auto pixels = static_cast<std::size_t>(width * height);
    EXPECT_LE(grid.bytesHeld(), pixels * sizeof(SampleGrid::Index) +
                                    (pixels / SampleGrid::chunkSamples + 2) * SampleGrid::chunkBytes);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const auto found = samplesAt(grid, x, y);
            ASSERT_EQ(found.size(), 1u);
            EXPECT_EQ(found[0]->nodeId, x);
            EXPECT_EQ(found[0]->face, y);
        }
}

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
    for (int x : {0, 1, 2})
        grid.insertSample(x, 0, sample(-1, 1, 0, std::array{10, 40, 100}[x]));
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

RowSampleQuery at(int x, int y, int node, int face, float depth = -1.0f, Point2 subPixel = {0.5f, 0.5f})
{
    return {{x, y}, subPixel, node, face, depth};
}

class RowFilter : public ::testing::Test {
protected:
    void SetUp() override
    {
        faces.add(1, 0, {{0, 1, 2}, {}});
        faces.add(1, 1, {{2, 3, 4}, {}});  // shares vertex 2 with face 0
        faces.add(1, 2, {{5, 6, 7}, {}});
        ASSERT_TRUE(rows.reset(3));
    }
    HandFaces faces;
    RowRecords rows;
};

TEST_F(RowFilter, RowsCountFromTheCropOrigin)
{
    EXPECT_TRUE(rows.acceptSample(at(5, 12, 1, 0), false, 10, faces));
    EXPECT_EQ(rows.row(2).x, 5);
    EXPECT_FALSE(rows.acceptSample(at(5, 12, 1, 0), false, 10, faces));
    EXPECT_FALSE(rows.acceptSample(at(5, 13, 1, 0), false, 10, faces));  // below the table
    EXPECT_FALSE(rows.acceptSample(at(5, 9, 1, 0), false, 10, faces));   // above it
}

TEST_F(RowFilter, HiddenFaceRecordsRejectOffCentreOrOtherDepth)
{
    // A centred hidden-face record admits unrelated faces at its own depth only.
    EXPECT_TRUE(rows.acceptSample(at(5, 0, 1, 0, -1.0f), true, 0, faces));
    EXPECT_FALSE(rows.acceptSample(at(5, 0, 1, 2, -1.1f), false, 0, faces));
    EXPECT_TRUE(rows.acceptSample(at(5, 0, 1, 2, -1.000005f), false, 0, faces));
    // An off-centre one rejects them whatever the depth.
    EXPECT_TRUE(rows.acceptSample(at(5, 1, 1, 0, -1.0f, {0.25f, 0.5f}), true, 0, faces));
    EXPECT_FALSE(rows.acceptSample(at(5, 1, 1, 2, -1.0f), false, 0, faces));
    // Without the flag the same sample is accepted.
    EXPECT_TRUE(rows.acceptSample(at(5, 2, 1, 0, -1.0f, {0.25f, 0.5f}), false, 0, faces));
    EXPECT_TRUE(rows.acceptSample(at(5, 2, 1, 2, -3.0f), false, 0, faces));
}

}  // namespace
