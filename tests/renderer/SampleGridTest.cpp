#include "renderer/SampleGrid.h"
#include "renderer/PainterlyFrameMemory.h"
#include "support/StoreTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

using namespace test_support;

using test_support::CountingHooks;
using test_support::HandFaces;
using test_support::materialA;
using test_support::materialB;
using test_support::sample;
using test_support::samplesAt;
using vml::PixelSample;
using vml::SampleGrid;

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
    EXPECT_EQ(grid.first(2, 0), SampleGrid::none);

    grid.clear();
    EXPECT_EQ(grid.count(1, 1), 0u);
    EXPECT_EQ(grid.count(0, 0), 0u);
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
    EXPECT_EQ(grid.nearestOfMaterial(0, 0, vml::MaterialKey{3}, -1.0f, &fallback), &fallback);
    EXPECT_EQ(grid.nearestOfMaterial(5, 5, materialA, -1.0f, &fallback), &fallback);
}

TEST(SampleGrid, TheFrameEstimateCountsTheIndexedLists)
{
    // A head index per pixel, and per sample the sample and its next index.
    static_assert(sizeof(SampleGrid::Index) == 4);
    vml::RendererSettings settings;
    settings.saveMemory = true;
    double heads = 0.0, samples = 0.0;
    for (const vml::PainterlyPixelBytes& part : vml::painterlyBytesPerPixel(settings, 0)) {
        if (std::string(part.name) == "sample list heads")
            heads = part.bytes;
        if (std::string(part.name) == "samples")
            samples = part.bytes;
    }
    EXPECT_EQ(heads, 4.0);
    EXPECT_EQ(samples, vml::kSamplesPerPixel * (sizeof(PixelSample) + 4));
}

}  // namespace
