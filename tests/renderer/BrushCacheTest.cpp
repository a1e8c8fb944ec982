#include "renderer/BrushCache.h"
#include "renderer/BrushTileSampler.h"

#include "host/Texmap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <new>
#include <random>
#include <stdexcept>
#include <vector>

using vml::BrushCache;
using vml::BrushTileSampler;
using vml::ReadRun;
using vml::TexelBox;
using vml::TextureBox;

namespace {

// Mono value (u - 0.25) x 3, or 10 in the lower half (v >= 0.5); counts its evaluations.
class CountingMap : public Texmap {
public:
    int evaluations = 0;
    TimeValue lastTime = -1;
    AColor EvalColor(ShadeContext&) override { return {}; }
    float EvalMono(ShadeContext& sc) override
    {
        ++evaluations;
        lastTime = sc.CurTime();
        const Point3 uvw = sc.UVW();
        return uvw.y >= 0.5f ? 10.0f : (uvw.x - 0.25f) * 3.0f;
    }
    void Update(TimeValue, Interval&) override {}
};

TEST(BrushCache, RendersATileOnceAndStoresClampedBytes)
{
    BrushCache cache;
    cache.prepare(4, 3);
    cache.setFrame(nullptr, 160);
    CountingMap map;
    const std::uint8_t* tile = cache.lookup(&map, 1);
    ASSERT_NE(tile, nullptr);
    EXPECT_EQ(map.evaluations, 16);
    EXPECT_EQ(map.lastTime, 160);
    EXPECT_EQ(cache.lookup(&map, 1), tile);
    EXPECT_EQ(map.evaluations, 16);
    EXPECT_EQ(cache.tilesRendered(), 1u);
    // Row 0: u = 0, 1/4, 2/4, 3/4 give -0.75, 0, 0.75, 1.5.
    EXPECT_EQ(std::vector<std::uint8_t>(tile, tile + 4), (std::vector<std::uint8_t>{0, 0, 191, 255}));
    EXPECT_EQ(tile[2 * 4 + 0], 255);  // rows 2 and 3 lie at v >= 0.5
    // Another key or map is another tile.
    CountingMap other;
    EXPECT_NE(cache.lookup(&map, 2), tile);
    EXPECT_NE(cache.lookup(&other, 1), cache.lookup(&map, 1));
    EXPECT_EQ(cache.tilesRendered(), 3u);
    EXPECT_EQ(cache.lookup(nullptr, 1), nullptr);
}

TEST(BrushCache, EvictsTheLeastRecentlyUsedSlot)
{
    BrushCache cache;
    cache.prepare(2, 3);
    EXPECT_EQ(cache.lruOrder(), (std::vector<int>{0, 1, 2}));
    CountingMap map;
    for (std::uint32_t key : {1, 2, 3})
        cache.lookup(&map, key);
    EXPECT_EQ(cache.lruOrder(), (std::vector<int>{2, 1, 0}));
    cache.lookup(&map, 1);  // hit
    EXPECT_EQ(cache.lruOrder(), (std::vector<int>{0, 2, 1}));
    cache.lookup(&map, 4);  // replaces key 2, the least recent
    EXPECT_EQ(cache.slot(1).key, 4u);
    EXPECT_EQ(cache.lruOrder(), (std::vector<int>{1, 0, 2}));
    EXPECT_EQ(cache.tilesRendered(), 4u);
    // A new pass empties every slot.
    cache.prepare(2, 3);
    EXPECT_EQ(cache.lruOrder(), (std::vector<int>{0, 1, 2}));
    cache.lookup(&map, 1);
    EXPECT_EQ(cache.tilesRendered(), 1u);
}

// Threads remember tiles by (cache address, generation). A cache made where an earlier one lived
// (the next frame's, from the same allocation) must not answer a generation the earlier one gave
// out, or a thread would read that cache's freed tiles.
TEST(BrushCache, ACacheMadeWhereAnEarlierOneLivedNeverRepeatsItsGenerations)
{
    alignas(BrushCache) unsigned char storage[sizeof(BrushCache)];
    std::vector<std::uint64_t> seen;
    for (int frame = 0; frame < 3; ++frame) {
        auto* cache = new (storage) BrushCache;
        seen.push_back(cache->generation());
        cache->prepare(2, 1);
        seen.push_back(cache->generation());
        CountingMap map;
        cache->lookup(&map, 1);
        cache->lookup(&map, 2);  // evicts key 1
        seen.push_back(cache->generation());
        cache->~BrushCache();
    }
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(std::adjacent_find(seen.begin(), seen.end()), seen.end());
}

TEST(BrushCache, RejectsImpossibleSizes)
{
    BrushCache cache;
    EXPECT_THROW(cache.prepare(0, 4), std::invalid_argument);
    EXPECT_THROW(cache.prepare(4, 0), std::invalid_argument);
    EXPECT_THROW(cache.prepare(0x7FFFFFFF, 0x7FFFFFFF), std::bad_alloc);
    CountingMap map;
    EXPECT_EQ(cache.lookup(&map, 1), nullptr);
}

// Texel (column c, row r) holds 10 x r + c + 1.
std::vector<std::uint8_t> numberedTile(int s)
{
    std::vector<std::uint8_t> t(static_cast<std::size_t>(s * s));
    for (int r = 0; r < s; ++r)
        for (int c = 0; c < s; ++c)
            t[static_cast<std::size_t>(r * s + c)] = static_cast<std::uint8_t>(10 * r + c + 1);
    return t;
}

// The texel number the next sample reads (values are texel / 255), 0 outside the tile.
long next(BrushTileSampler& s) { return std::lround(s.sample() * 255.0f); }

TEST(BrushTileSampler, PositionsClampIntoTheTileAndStepsMoveByFixedPointTexels)
{
    const auto tile = numberedTile(4);
    BrushTileSampler s(tile.data(), 4);
    s.setPosition(0.0f, 0.0f);
    EXPECT_EQ(next(s), 1);
    s.setPosition(1.0f, 1.0f);  // 4 x 256 clamps to 3 x 256
    EXPECT_EQ(s.x(), 768);
    EXPECT_EQ(next(s), 34);
    s.setPosition(-1.0f, 2.0f);
    EXPECT_EQ(next(s), 31);
    s.setPosition(0.5f, 0.26f);  // x 512, y 266: column 2, row 1
    EXPECT_EQ(s.y(), 266);
    EXPECT_EQ(next(s), 13);
    s.setPosition(std::nanf(""), 0.0f);
    EXPECT_EQ(s.x(), 0);
    s.setPosition(0.0f, 0.25f);
    s.setSteps(256, 0);
    std::vector<long> row;
    for (int i = 0; i < 5; ++i)
        row.push_back(next(s));
    EXPECT_EQ(row, (std::vector<long>{11, 12, 13, 14, 0}));
    s.setPosition(0.0f, 0.0f);
    s.setSteps(128, 128);  // half a texel each way
    EXPECT_EQ(next(s), 1);
    EXPECT_EQ(next(s), 1);
    EXPECT_EQ(next(s), 12);
    s.setPosition(0.0f, 0.0f);
    s.setSteps(-1, 0);
    s.sample();
    EXPECT_EQ(s.sample(), 0.0f);
    BrushTileSampler empty;
    empty.setPosition(0.5f, 0.5f);
    EXPECT_EQ(empty.sample(), 0.0f);
    // Texture steps are fixed-point texels per read: a quarter and a half texel, then back one
    // texel with a NaN that stays put.
    s.setTextureSteps(0.0625f, 0.125f);
    s.setPosition(0.0f, 0.0f);
    EXPECT_EQ(next(s), 1);
    EXPECT_EQ(s.x(), 64);
    EXPECT_EQ(s.y(), 128);
    s.setTextureSteps(-0.25f, std::nanf(""));
    s.setPosition(0.5f, 0.5f);
    EXPECT_EQ(next(s), 23);
    EXPECT_EQ(next(s), 22);
    EXPECT_EQ(s.y(), 512);
}

// A tip of a few texels away from the centre of an otherwise empty tile, as brush tiles are.
std::vector<std::uint8_t> tipTile(int s)
{
    std::vector<std::uint8_t> t(static_cast<std::size_t>(s * s));
    for (int r = 5; r <= 11; ++r)
        for (int c = 18 + r % 3; c <= 26 - r % 2; ++c)
            t[static_cast<std::size_t>(r * s + c)] = static_cast<std::uint8_t>(3 * r + c);
    return t;
}

TEST(BrushTileSampler, NonzeroRunsReadWhatWholeRunsReadAndStayWithinTheirReach)
{
    constexpr int size = 32;
    const auto tile = tipTile(size);
    const TexelBox box = BrushTileSampler::nonzeroBox(tile.data(), size);
    EXPECT_EQ(std::vector<int>({box.x0, box.y0, box.x1, box.y1}), std::vector<int>({18, 5, 26, 11}));
    EXPECT_TRUE(BrushTileSampler::nonzeroBox(std::vector<std::uint8_t>(16, 0).data(), 4).empty());
    EXPECT_TRUE(BrushTileSampler::nonzeroBox(nullptr, 4).empty());

    // A second tip runs to the tile's last column and row, where reads past the last texel's
    // start answer 0 although they fall in its box.
    std::vector<std::uint8_t> edgeTile(tile.size());
    for (int r = size - 4; r < size; ++r)
        for (int c = size - 6; c < size; ++c)
            edgeTile[static_cast<std::size_t>(r * size + c)] = static_cast<std::uint8_t>(r + 2 * c);
    const TexelBox edgeBox = BrushTileSampler::nonzeroBox(edgeTile.data(), size);
    BrushTileSampler whole(tile.data(), size), nonzero(tile.data(), size, box);
    BrushTileSampler edgeWhole(edgeTile.data(), size), edgeNonzero(edgeTile.data(), size, edgeBox);
    std::mt19937 random(7);
    std::uniform_real_distribution<float> position(0.0f, 1.0f), step(-0.3f, 0.3f);
    constexpr int reads = 60;
    std::vector<float> all(reads), some(reads);
    int nonzeroReads = 0;
    for (int run = 0; run < 20000; ++run) {
        const float u = position(random), v = position(random);
        // Axis-aligned and tile-sized steps too, as unrotated and tiny dabs make them.
        const float du = run % 7 == 0 ? 0.0f : run % 11 == 0 ? 1.5f : step(random);
        const float dv = run % 5 == 0 ? 0.0f : step(random);
        for (BrushTileSampler* s : {&whole, &nonzero, &edgeWhole, &edgeNonzero}) {
            s->setTextureSteps(du, dv);
            s->setPosition(u, v);
        }
        // Worked out ahead, a run reads the same as it does when sampled.
        const BrushTileSampler::PlannedRun planned = nonzero.planNonzeroRun(u, v, reads);
        const BrushTileSampler::PlannedRun edgePlanned = edgeNonzero.planNonzeroRun(u, v, reads);
        std::vector<float> edgeAll(reads), edgeSome(reads, 0.0f), plannedSome(reads, 0.0f);
        edgeWhole.sampleRun(edgeAll.data(), reads);
        const ReadRun edgeGot = edgeNonzero.sampleNonzeroRun(edgeSome.data(), reads);
        ASSERT_EQ(edgePlanned.reads.first, edgeGot.first);
        ASSERT_EQ(edgePlanned.reads.count, edgeGot.count);
        std::vector<float> edgePlaced(reads, 0.0f);
        std::copy_n(edgeSome.begin(), edgeGot.count, edgePlaced.begin() + edgeGot.first);
        ASSERT_EQ(edgePlaced, edgeAll) << "run " << run;

        whole.sampleRun(all.data(), reads);
        std::fill(some.begin(), some.end(), 0.0f);
        const ReadRun got = nonzero.sampleNonzeroRun(some.data(), reads);
        ASSERT_TRUE(got.first >= 0 && got.count >= 0 && got.first + got.count <= reads);
        std::vector<float> placed(reads, 0.0f);
        std::copy_n(some.begin(), got.count, placed.begin() + got.first);
        ASSERT_EQ(placed, all) << "run " << run;
        ASSERT_EQ(nonzero.x(), whole.x());
        ASSERT_EQ(nonzero.y(), whole.y());
        ASSERT_EQ(planned.reads.first, got.first);
        ASSERT_EQ(planned.reads.count, got.count);
        nonzero.readPlanned(planned, plannedSome.data());
        ASSERT_TRUE(std::equal(some.begin(), some.begin() + got.count, plannedSome.begin())) << "run " << run;
        // Every read above 0 lies within the reach for runs this long, on its exact line.
        const TextureBox reach = nonzero.nonzeroReach(reads);
        for (int i = 0; i < reads; ++i) {
            if (all[static_cast<std::size_t>(i)] == 0.0f)
                continue;
            ++nonzeroReads;
            const float ui = u + static_cast<float>(i) * du, vi = v + static_cast<float>(i) * dv;
            ASSERT_TRUE(ui >= reach.u0 && ui <= reach.u1 && vi >= reach.v0 && vi <= reach.v1)
                << "run " << run << " read " << i;
        }
    }
    EXPECT_GT(nonzeroReads, 1000);
    EXPECT_TRUE(BrushTileSampler(nullptr, size).nonzeroReach(reads).empty());
}

TEST(BrushCache, KeptTilesAreNeverEvictedAndAMissBeyondTheSlotsIsRenderedOnce)
{
    BrushCache cache;
    cache.prepare(4, 2);
    CountingMap map;
    int told = 0;
    auto tell = [&](Texmap*) { ++told; };
    const std::uint8_t* a = cache.lookupShared(&map, 1, tell);
    const std::uint8_t* b = cache.lookupShared(&map, 2, tell);
    ASSERT_TRUE(a && b);
    EXPECT_EQ(told, 2) << "told before each tile is rendered";
    cache.keepTiles(true);
    const std::uint8_t* c = cache.lookupShared(&map, 3, tell);
    ASSERT_NE(c, nullptr);
    EXPECT_NE(c, a);
    EXPECT_NE(c, b);
    EXPECT_EQ(cache.lookupShared(&map, 3, tell), c) << "the extra tile is found again";
    EXPECT_EQ(cache.lookupShared(&map, 1, tell), a);
    EXPECT_EQ(cache.tilesRendered(), 3u);
    EXPECT_EQ(told, 3);
    EXPECT_EQ(std::vector<std::uint8_t>(c, c + 16), std::vector<std::uint8_t>(a, a + 16))
        << "the same map renders the same tile whatever the key";
    // Tiles no longer kept: a new key evicts as before.
    cache.keepTiles(false);
    const std::uint8_t* d = cache.lookupShared(&map, 4, tell);
    EXPECT_TRUE(d == a || d == b);
    EXPECT_EQ(cache.tilesRendered(), 4u);
}

}  // namespace
