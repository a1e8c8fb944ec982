#include "standalone/FrameMemory.h"

#include "host/GBufferChannels.h"

#include <gtest/gtest.h>

namespace {

using standalone::AvailableMemory;
using standalone::FrameMemoryEstimate;

TEST(FrameMemory, ReadsTheSystemsFigures)
{
    EXPECT_EQ(standalone::memAvailable("MemTotal:  100 kB\nMemFree: 5 kB\nMemAvailable:   2048 kB\n"),
              2048u * 1024u);
    EXPECT_FALSE(standalone::memAvailable("MemTotal: 100 kB\n"));
    // v1 and v2 spell "no limit" differently; neither limits.
    EXPECT_FALSE(standalone::cgroupRoom("max\n", "1000\n", ""));
    EXPECT_FALSE(standalone::cgroupRoom("9223372036854771712\n", "1000\n", ""));
    // Inactive file cache is reclaimed before anything is killed: it counts as room.
    EXPECT_EQ(standalone::cgroupRoom("1000000\n", "900000\n", "active_file 5\ninactive_file 100000\n"),
              200000u);
    EXPECT_EQ(standalone::cgroupRoom("1000000\n", "900000\n", "total_inactive_file 50000\n"), 150000u);
    // Over the limit (usage can pass it briefly): no room, not a wrapped-around huge number.
    EXPECT_EQ(standalone::cgroupRoom("1000\n", "5000\n", ""), 0u);
    EXPECT_FALSE(standalone::cgroupRoom("", "", ""));
}

TEST(FrameMemory, RefusesAFrameThatCannotFitAndSuggestsOneThatCan)
{
    FrameMemoryEstimate need = standalone::hostFrameMemory(16384, 16384, BMM_CHAN_Z, 0, false);
    need.add("paint canvas", 100);
    const AvailableMemory available{8ull << 30, "MemAvailable in /proc/meminfo"};
    const std::string message = standalone::refuseFrame(need, available);
    ASSERT_FALSE(message.empty());
    EXPECT_NE(message.find("16384 x 16384"), std::string::npos) << message;
    EXPECT_NE(message.find("8.6 GB is available"), std::string::npos) << message;
    EXPECT_NE(message.find("MemAvailable"), std::string::npos) << message;
    EXPECT_NE(message.find("paint canvas 100"), std::string::npos)
        << "the biggest consumer first: " << message;
    // The suggested size keeps the shape and fits.
    const std::size_t at = message.find("--size ");
    ASSERT_NE(at, std::string::npos) << message;
    const int w = std::stoi(message.substr(at + 7));
    FrameMemoryEstimate smaller = need;
    smaller.width = smaller.height = w;
    EXPECT_TRUE(standalone::refuseFrame(smaller, available).empty()) << w;
    smaller.width = smaller.height = w + 64;
    EXPECT_FALSE(standalone::refuseFrame(smaller, available).empty())
        << "suggestion far from the limit: " << w;
    // A frame needing exactly what there is fits; one byte less refuses it.
    EXPECT_TRUE(standalone::refuseFrame(smaller, {smaller.bytes(), "test"}).empty());
    EXPECT_FALSE(standalone::refuseFrame(smaller, {smaller.bytes() - 1, "test"}).empty());
    // Not even the fixed part fits: nothing to suggest but freeing memory.
    EXPECT_NE(standalone::refuseFrame(need, {1u << 20, "test"}).find("free memory"), std::string::npos);
    EXPECT_TRUE(standalone::refuseFrame(need, {UINT64_MAX, "unknown"}).empty());
}

}  // namespace
