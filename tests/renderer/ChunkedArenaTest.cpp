#include "renderer/ChunkedArena.h"
#include "support/StoreTestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

using namespace test_support;

using test_support::CountingHooks;
using vml::ChunkedArena;

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

TEST(ChunkedArena, ResetReusesTheSameChunks)
{
    ChunkedArena arena;
    ASSERT_TRUE(arena.setup(0, 0, 64));
    std::vector<void*> first;
    for (int i = 0; i < 10; ++i)
        first.push_back(arena.allocate(32));
    const std::size_t chunks = arena.chunkCount();
    arena.reset();
    EXPECT_EQ(arena.used(), 0u);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(arena.allocate(32), first[static_cast<std::size_t>(i)]);
    EXPECT_EQ(arena.chunkCount(), chunks);
    ASSERT_TRUE(arena.setup(0, 0, 128));  // another set-up starts over
    EXPECT_EQ(arena.chunkCount(), 0u);
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

    // The next pass works with the chunks it has.
    arena.reset();
    EXPECT_EQ(arena.allocate(64), a);
    EXPECT_EQ(hooks.outOfMemoryReports, 2);

    // A set-up whose preset chunks cannot be made fails and frees everything.
    EXPECT_FALSE(arena.setup(64, 3, 64));
    EXPECT_EQ(hooks.outOfMemoryReports, 3);
    EXPECT_EQ(arena.chunkCount(), 0u);
    arena.setByteLimit(0);
    EXPECT_TRUE(arena.setup(64, 3, 64));
}

}  // namespace
