#include "shell/WorkerPool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

TEST(WorkerPool, EveryPieceRunsOnceWhateverTheThreadCount)
{
    for (int threads : {1, 2, 3, 8}) {
        vml::WorkerPool pool(threads);
        EXPECT_EQ(pool.threads(), threads);
        for (std::size_t count : {0u, 1u, 2u, 1000u}) {
            std::vector<std::atomic<int>> runs(count);
            pool.run(count, [&](std::size_t i) { runs[i].fetch_add(1); });
            for (std::size_t i = 0; i < count; ++i)
                ASSERT_EQ(runs[i].load(), 1) << threads << " threads, piece " << i << " of " << count;
        }
    }
}

TEST(WorkerPool, NestedAndConcurrentJobsRunOnTheirCaller)
{
    vml::WorkerPool pool(3);
    std::atomic<int> inner{0};
    pool.run(8, [&](std::size_t) { pool.run(4, [&](std::size_t) { inner.fetch_add(1); }); });
    EXPECT_EQ(inner.load(), 32);

    std::atomic<int> total{0};
    std::vector<std::thread> callers;
    for (int c = 0; c < 4; ++c)
        callers.emplace_back([&] {
            for (int job = 0; job < 50; ++job)
                pool.run(16, [&](std::size_t) { total.fetch_add(1); });
        });
    for (auto& t : callers)
        t.join();
    EXPECT_EQ(total.load(), 4 * 50 * 16);
}

TEST(WorkerPool, PiecesRunAlongsideTheCallersOwnWork)
{
    for (int threads : {1, 2, 3}) {
        vml::WorkerPool pool(threads);
        std::vector<std::atomic<int>> runs(5);
        std::atomic<int> startedDuringCallerWork{0};
        bool callerRan = false;
        pool.runAlongside(
            runs.size(), [&](std::size_t i) { runs[i].fetch_add(1); },
            [&] {
                callerRan = true;
                if (threads == 1)
                    return;
                // With workers, pieces start while the caller is still busy here.
                for (int k = 0; k < 10000 && startedDuringCallerWork.load() == 0; ++k) {
                    for (auto& r : runs)
                        startedDuringCallerWork += r.load();
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
                }
            });
        EXPECT_TRUE(callerRan);
        for (std::size_t i = 0; i < runs.size(); ++i)
            EXPECT_EQ(runs[i].load(), 1) << threads << " threads, piece " << i;
        if (threads > 1) {
            EXPECT_GT(startedDuringCallerWork.load(), 0) << threads << " threads";
        }
    }
}

TEST(WorkerPool, FailuresAreRethrownAfterThePiecesAndThePoolStaysUsable)
{
    vml::WorkerPool pool(2);
    EXPECT_THROW(pool.run(100,
                          [](std::size_t i) {
                              if (i == 7)
                                  throw std::runtime_error("piece 7");
                          }),
                 std::runtime_error);
    std::atomic<int> runs{0};
    EXPECT_THROW(pool.runAlongside(
                     4, [&](std::size_t) { runs.fetch_add(1); }, [] { throw std::logic_error("caller"); }),
                 std::logic_error);
    EXPECT_EQ(runs.load(), 4);
    // Inside another job the caller's work and then the pieces run on the caller.
    std::atomic<int> inner{0};
    pool.run(3, [&](std::size_t) {
        pool.runAlongside(
            2, [&](std::size_t) { ++inner; }, [&] { ++inner; });
    });
    EXPECT_EQ(inner.load(), 9);
}

}  // namespace
