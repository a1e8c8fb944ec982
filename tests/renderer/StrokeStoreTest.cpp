// The stroke stores and their painting order: the chunked arena, the depth-sorted stroke list, and
// the strokes walked ahead on the workers.

#include "renderer/BrushCache.h"
#include "renderer/ChunkedArena.h"
#include "renderer/StrokeList.h"
#include "renderer/StrokeOrder.h"
#include "renderer/StrokePaintContext.h"
#include "renderer/StrokesAhead.h"
#include "renderer/vmlStrokeRecord.h"
#include "support/StoreTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <random>
#include <stdexcept>
#include <thread>
#include <vector>

using namespace test_support;
using vml::ChunkedArena;
using vml::StrokeList;

namespace {

// Index of the chunk that holds [p, p + bytes), or -1 when no single chunk holds it.
int owningChunk(const ChunkedArena& a, const void* p, std::size_t bytes, std::size_t chunkBytes)
{
    const auto* b = static_cast<const std::byte*>(p);
    for (std::size_t i = 0; i < a.chunkCount(); ++i) {
        const std::byte* c = a.chunk(i);
        if (b >= c && b + bytes <= c + chunkBytes)
            return static_cast<int>(i);
    }
    return -1;
}

TEST(ChunkedArena, GrowsAcrossChunksWithoutStraddlingOrMoving)
{
    CountingHooks hooks;
    ChunkedArena arena(&hooks);
    ASSERT_TRUE(arena.setup(0, 0, 100 * 8));
    EXPECT_EQ(arena.chunkCount(), 0u);
    EXPECT_GE(arena.tableEntries(), ChunkedArena::minTableEntries);
    // 24-byte blocks: 33 fit a 800-byte chunk, the 34th skips the 8 bytes left.
    std::vector<std::uint8_t*> blocks;
    for (int i = 0; i < 100; ++i) {
        auto* b = static_cast<std::uint8_t*>(arena.allocate(24));
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(b) % ChunkedArena::alignment, 0u);
        EXPECT_EQ(owningChunk(arena, b, 24, 800), i / 33) << i;
        std::memset(b, i, 24);
        blocks.push_back(b);
    }
    EXPECT_EQ(arena.chunkCount(), 4u);
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(blocks[static_cast<std::size_t>(i)][23], static_cast<std::uint8_t>(i)) << "block moved";
    EXPECT_EQ(hooks.lowMemoryChecks, 1 + 4);  // set-up and every growth
    EXPECT_EQ(hooks.outOfMemoryReports, 0);
}

TEST(ChunkedArena, PresetChunksComeFirstUnlessStartingFull)
{
    ChunkedArena arena;
    ASSERT_TRUE(arena.setup(64, 3, 256));
    EXPECT_EQ(arena.chunkCount(), 3u);
    EXPECT_EQ(arena.capacity(), 192u);
    EXPECT_EQ(arena.allocate(40), arena.chunk(0));
    EXPECT_EQ(arena.allocate(40), arena.chunk(1));  // 24 bytes left in chunk 0 are skipped
    EXPECT_EQ(arena.allocate(64), arena.chunk(2));
    void* grown = arena.allocate(100);  // a growth chunk of 256
    EXPECT_EQ(arena.chunkCount(), 4u);
    EXPECT_EQ(grown, arena.chunk(3));
    EXPECT_EQ(arena.allocate(100), arena.chunk(3) + 104);
    ASSERT_TRUE(arena.setup(64, 3, 256, true));
    EXPECT_EQ(arena.used(), arena.capacity());
    EXPECT_EQ(arena.allocate(8), arena.chunk(3));  // kept growth chunk, preset ones skipped
    arena.reset();
    EXPECT_EQ(arena.allocate(8), arena.chunk(3));  // reset starts full again
}

TEST(ChunkedArena, FailuresAreReportedAndLeaveTheArenaUsable)
{
    CountingHooks hooks;
    ChunkedArena arena(&hooks);
    ASSERT_TRUE(arena.setup(0, 0, 64));
    EXPECT_EQ(arena.allocate(65), nullptr);  // larger than a growth chunk
    EXPECT_EQ(hooks.outOfMemoryReports, 1);
    arena.setByteLimit(128);
    void* a = arena.allocate(64);
    void* b = arena.allocate(64);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(arena.allocate(8), nullptr);  // a third chunk passes the limit
    EXPECT_EQ(hooks.outOfMemoryReports, 2);
    // The next pass works with the chunks it has, in the same order.
    arena.reset();
    EXPECT_EQ(arena.used(), 0u);
    EXPECT_EQ(arena.allocate(64), a);
    EXPECT_EQ(arena.allocate(64), b);
    EXPECT_EQ(hooks.outOfMemoryReports, 2);
    // A set-up whose preset chunks cannot be made fails and frees everything.
    EXPECT_FALSE(arena.setup(64, 3, 64));
    EXPECT_EQ(hooks.outOfMemoryReports, 3);
    EXPECT_EQ(arena.chunkCount(), 0u);
    arena.setByteLimit(0);
    EXPECT_TRUE(arena.setup(64, 3, 64));
}

static_assert(sizeof(TestStroke) == 24, "the byte tie-break needs a record without padding");

const TestStroke& at(const StrokeList& list, std::size_t i)
{
    return static_cast<const TestStroke&>(list.stroke(i));
}

std::vector<std::uint32_t> ids(const StrokeList& list)
{
    std::vector<std::uint32_t> out;
    for (std::size_t i = 0; i < list.strokeCount(); ++i)
        out.push_back(at(list, i).id);
    return out;
}

// Files one stroke per depth, ids 0, 1, 2, ... in the order given, and sorts.
std::vector<std::uint32_t> fileAndSort(StrokeList& list, const std::vector<float>& depths)
{
    EXPECT_TRUE(list.reset());
    for (std::size_t i = 0; i < depths.size(); ++i)
        EXPECT_TRUE(list.fileStroke(TestStroke(depths[i], static_cast<std::uint32_t>(i))));
    list.sortByDepth();
    return ids(list);
}

void expectSortedPermutation(const StrokeList& list, std::size_t n)
{
    ASSERT_EQ(list.strokeCount(), n);
    std::vector<std::uint32_t> seen = ids(list);
    std::sort(seen.begin(), seen.end());
    for (std::size_t i = 0; i < n; ++i)
        ASSERT_EQ(seen[i], i) << "every record present exactly once";
    for (std::size_t i = 1; i < n; ++i)
        ASSERT_LE(list.stroke(i - 1).depthKey, list.stroke(i).depthKey) << i;
}

TEST(StrokeList, FilesCopiesAcrossListChunks)
{
    StrokeList list;
    ASSERT_TRUE(list.reset());
    TestStroke record(-1.0f, 0);
    const std::size_t n = StrokeList::pointersPerChunk * 2 + 5;
    for (std::size_t i = 0; i < n; ++i) {
        record.id = static_cast<std::uint32_t>(i);
        ASSERT_TRUE(list.fileStroke(record));
    }
    record.id = 999999;  // the list holds copies
    for (std::size_t i = 0; i < n; ++i)
        ASSERT_EQ(at(list, i).id, i);
    EXPECT_EQ(list.list().chunkCount(), 3u);
}

TEST(StrokeList, AFullPoolDropsTheRecordAndTheNextPassWorks)
{
    CountingHooks hooks;
    StrokeList list(&hooks);
    ASSERT_TRUE(list.reset());
    list.pool().setByteLimit(StrokeList::poolChunkBytes);
    const std::size_t perChunk = StrokeList::poolChunkBytes / sizeof(TestStroke);
    for (std::size_t i = 0; i < perChunk; ++i)
        ASSERT_TRUE(list.fileStroke(TestStroke(0.0f, static_cast<std::uint32_t>(i))));
    EXPECT_FALSE(list.fileStroke(TestStroke(0.0f, 1)));
    EXPECT_EQ(list.strokeCount(), perChunk);
    EXPECT_EQ(hooks.outOfMemoryReports, 1);
    ASSERT_TRUE(list.reset());
    EXPECT_TRUE(list.fileStroke(TestStroke(-2.0f, 7)));
    EXPECT_EQ(list.strokeCount(), 1u);
    EXPECT_EQ(at(list, 0).id, 7u);
    EXPECT_EQ(hooks.outOfMemoryReports, 1);
}

TEST(StrokeList, SortsAscendingDescendingRandomAndEqualKeys)
{
    const std::size_t n = 5000;
    std::vector<float> ascending(n), descending(n), random(n), equal(n, -3.0f);
    std::mt19937 rng(7);
    std::uniform_real_distribution<float> depth(-100.0f, 0.0f);
    for (std::size_t i = 0; i < n; ++i) {
        ascending[i] = -static_cast<float>(n - i);
        descending[i] = -static_cast<float>(i);
        random[i] = depth(rng);
    }
    StrokeList list;
    for (const auto* depths : {&ascending, &descending, &random, &equal}) {
        fileAndSort(list, *depths);
        expectSortedPermutation(list, n);
    }
    // Descending input reverses exactly.
    const std::vector<std::uint32_t> order = fileAndSort(list, descending);
    for (std::size_t i = 0; i < n; ++i)
        ASSERT_EQ(order[i], n - 1 - i);
    // NaN keys would break the sort's ordering: they go last; -0 and +0 are one depth.
    EXPECT_EQ(fileAndSort(list, {std::nanf(""), -1.0f, 0.0f, -INFINITY}),
              (std::vector<std::uint32_t>{3, 1, 2, 0}));
    EXPECT_EQ(vml::depthSortKey(0.0f), vml::depthSortKey(-0.0f));
}

TEST(StrokeList, EqualDepthsSortTheSameWhateverTheFilingOrder)
{
    // Few distinct depths and groups, so most comparisons are ties.
    struct Case {
        float depth;
        std::uint32_t id, group;
    };
    std::vector<Case> cases;
    for (std::uint32_t i = 0; i < 3000; ++i)
        cases.push_back({-static_cast<float>(i % 3), i, (i * 7) % 5});
    std::vector<std::vector<std::uint32_t>> orders;
    std::mt19937 rng(11);
    for (int run = 0; run < 3; ++run) {
        std::shuffle(cases.begin(), cases.end(), rng);
        StrokeList list;
        ASSERT_TRUE(list.reset());
        for (const Case& s : cases)
            ASSERT_TRUE(list.fileStroke(TestStroke(s.depth, s.id, s.group)));
        list.sortByDepth();
        orders.push_back(ids(list));
        for (std::size_t i = 1; i < list.strokeCount(); ++i) {
            const TestStroke &a = at(list, i - 1), &b = at(list, i);
            ASSERT_TRUE(a.depthKey < b.depthKey || (a.depthKey == b.depthKey && a.group <= b.group));
        }
    }
    EXPECT_EQ(orders[0], orders[1]);
    EXPECT_EQ(orders[0], orders[2]);
}

using vml::PreparedStroke;
using vml::StrokePaintContext;

struct Log {
    explicit Log(std::size_t n) : prepares(n) {}
    std::vector<std::atomic<int>> prepares;
    std::vector<std::uint32_t> painted;  // render thread only
    std::vector<std::uint32_t> direct;   // painted without a prepared walk
    std::atomic<int> failOffMainThread{-1};
    std::thread::id mainThread = std::this_thread::get_id();
};

struct Walk final : PreparedStroke {
    std::uint32_t id = 0;
};

class AheadStroke final : public vml::vmlStrokeRecord {
public:
    AheadStroke(std::uint32_t id, Log* log) : vmlStrokeRecord(static_cast<float>(id)), id_(id), log_(log) {}
    AheadStroke(const AheadStroke&) = default;
    void paint(StrokePaintContext&) override { log_->direct.push_back(id_); }
    bool preparable(const StrokePaintContext&) const override { return true; }
    bool prepare(const StrokePaintContext&, std::unique_ptr<PreparedStroke>& slot) const override
    {
        log_->prepares[id_].fetch_add(1);
        int failing = static_cast<int>(id_);
        if (std::this_thread::get_id() != log_->mainThread &&
            log_->failOffMainThread.compare_exchange_strong(failing, -1))
            throw std::bad_alloc();
        if (!dynamic_cast<Walk*>(slot.get()))
            slot = std::make_unique<Walk>();
        static_cast<Walk&>(*slot).id = id_;
        return true;
    }
    void paintPrepared(StrokePaintContext&, PreparedStroke& prepared) override
    {
        // A walk left over from another stroke in the same slot would show here.
        log_->painted.push_back(static_cast<Walk&>(prepared).id == id_ ? id_ : 0xFFFFFFFFu);
    }
    std::size_t size() const override { return sizeof(AheadStroke); }
    vml::vmlStrokeRecord* copyTo(void* storage) const override { return new (storage) AheadStroke(*this); }
    std::uint64_t orderKey() const override { return id_; }

private:
    std::uint32_t id_;
    Log* log_;
};

struct StrokesAheadTest : ::testing::Test {
    static constexpr std::size_t count = 5 * vml::StrokesAhead::ring + 17;
    Log log{count};
    vml::StrokeList strokes;
    vml::BrushCache cache;
    StrokePaintContext context;
    void SetUp() override
    {
        ASSERT_TRUE(strokes.reset());
        for (std::uint32_t i = 0; i < count; ++i)
            ASSERT_TRUE(strokes.fileStroke(AheadStroke(i, &log)));
        strokes.sortByDepth();
        context.brushCache = &cache;
        ASSERT_TRUE(vml::StrokesAhead::applies(strokes, context, count));
    }
    void expectPaintedInOrder(std::size_t n) const
    {
        ASSERT_EQ(log.painted.size(), n);
        for (std::size_t i = 0; i < n; ++i)
            ASSERT_EQ(log.painted[i], i) << "stroke " << i;
        EXPECT_TRUE(log.direct.empty());
    }
};

TEST_F(StrokesAheadTest, EveryStrokeIsPaintedInOrderWithItsOwnWalkPreparedOnce)
{
    // A walk that fails on a worker is walked again by the painter.
    log.failOffMainThread = 700;
    vml::StrokesAhead ahead(strokes, context, count);
    ahead.run([&] {
        for (std::size_t i = 0; i < count; ++i)
            ahead.paint(i, context);
    });
    expectPaintedInOrder(count);
    for (std::size_t i = 0; i < count; ++i)
        ASSERT_EQ(log.prepares[i].load(), 1 + (i == 700 && log.failOffMainThread < 0)) << "stroke " << i;
}

TEST_F(StrokesAheadTest, AFailingPaintLoopIsRethrownOnceTheWalkersStop)
{
    vml::StrokesAhead ahead(strokes, context, count);
    EXPECT_THROW(ahead.run([&] {
        for (std::size_t i = 0; i < 50; ++i)
            ahead.paint(i, context);
        throw std::runtime_error("cancelled");
    }),
                 std::runtime_error);
    expectPaintedInOrder(50);
}

}  // namespace
