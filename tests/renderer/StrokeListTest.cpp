#include "renderer/StrokeList.h"
#include "renderer/StrokeOrder.h"
#include "support/StoreTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

using namespace test_support;

using test_support::CountingHooks;
using test_support::TestStroke;
using vml::StrokeList;

namespace {

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
    EXPECT_EQ(list.strokeCount(), n);
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

TEST(StrokeList, SortProgressIsBoundedAndEndsComplete)
{
    StrokeList list;
    ASSERT_TRUE(list.reset());
    std::mt19937 rng(3);
    for (std::uint32_t i = 0; i < 20000; ++i)
        ASSERT_TRUE(list.fileStroke(TestStroke(static_cast<float>(rng() % 1000), i)));
    int calls = 0;
    std::size_t lastDone = 0, lastTotal = 0;
    list.sortByDepth([&](std::size_t done, std::size_t total) {
        ++calls;
        EXPECT_LE(done, total);
        lastDone = done;
        lastTotal = total;
    });
    EXPECT_GT(calls, 1);
    EXPECT_LE(calls, StrokeList::maxSortProgressCalls + 1);
    EXPECT_EQ(lastDone, lastTotal);
}

}  // namespace
