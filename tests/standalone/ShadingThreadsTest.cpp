#include "standalone/ShadingThreads.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <vector>

using standalone::ShadingThreads;

TEST(ShadingThreads, EveryIndexRunsOnceOnAtMostTheThreadsAskedFor)
{
    for (int threads : {1, 2, 3, 8}) {
        ShadingThreads workers(threads);
        EXPECT_EQ(workers.concurrency(), threads);
        for (int count : {0, 1, 5, 200}) {
            std::vector<std::atomic<int>> runs(static_cast<std::size_t>(count) + 3);
            workers.forEach(3, 3 + count, [&](int i) { ++runs[static_cast<std::size_t>(i)]; });
            for (int i = 0; i < count + 3; ++i)
                EXPECT_EQ(runs[static_cast<std::size_t>(i)].load(), i < 3 ? 0 : 1)
                    << threads << " threads, " << count << " indices, index " << i;
        }
    }
}

TEST(ShadingThreads, AFailureReachesTheCallerAndTheThreadsStayUsable)
{
    ShadingThreads workers(3);
    EXPECT_THROW(workers.forEach(0, 50,
                                 [](int i) {
                                     if (i == 17)
                                         throw std::runtime_error("row 17");
                                 }),
                 std::runtime_error);
    std::atomic<int> sum{0};
    workers.forEach(0, 10, [&](int i) { sum += i; });
    EXPECT_EQ(sum.load(), 45);
}
