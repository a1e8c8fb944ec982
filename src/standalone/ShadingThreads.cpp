#include "standalone/ShadingThreads.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#ifndef VML_PLAIN_THREADS
#include <tbb/blocked_range.h>
#include <tbb/global_control.h>
#include <tbb/parallel_for.h>
#include <tbb/task_arena.h>
#endif

namespace standalone {

#ifndef VML_PLAIN_THREADS

struct ShadingThreads::Backend {
    std::optional<tbb::global_control> allowance;
    std::optional<tbb::task_arena> arena;
};

ShadingThreads::ShadingThreads(int threads) : backend_(std::make_unique<Backend>())
{
    if (threads >
        static_cast<int>(tbb::global_control::active_value(tbb::global_control::max_allowed_parallelism)))
        backend_->allowance.emplace(tbb::global_control::max_allowed_parallelism,
                                    static_cast<std::size_t>(threads));
    // A value, not a reference: oneTBB declares `automatic` but the library does not define it.
    backend_->arena.emplace(threads > 0 ? threads : static_cast<int>(tbb::task_arena::automatic));
}

int ShadingThreads::concurrency() const { return backend_->arena->max_concurrency(); }

void ShadingThreads::forEach(int begin, int end, const std::function<void(int)>& body)
{
    if (begin >= end)
        return;
    backend_->arena->execute([&] {
        tbb::parallel_for(
            tbb::blocked_range<int>(begin, end, 1),
            [&](const tbb::blocked_range<int>& r) {
                for (int i = r.begin(); i < r.end(); ++i)
                    body(i);
            },
            tbb::simple_partitioner());
    });
}

int defaultThreadCount() { return std::max(1, tbb::this_task_arena::max_concurrency()); }

#else

struct ShadingThreads::Backend {
    int threads = 1;
};

ShadingThreads::ShadingThreads(int threads) : backend_(std::make_unique<Backend>())
{
    backend_->threads = threads > 0 ? threads : defaultThreadCount();
}

int ShadingThreads::concurrency() const { return backend_->threads; }

void ShadingThreads::forEach(int begin, int end, const std::function<void(int)>& body)
{
    if (begin >= end)
        return;
    std::atomic<int> next{begin};
    std::exception_ptr failure;
    std::mutex failureLock;
    auto work = [&] {
        for (int i = next++; i < end; i = next++) {
            try {
                body(i);
            } catch (...) {
                const std::lock_guard<std::mutex> lock(failureLock);
                if (!failure)
                    failure = std::current_exception();
                next = end;
            }
        }
    };
    const int helpers = std::min(backend_->threads, end - begin) - 1;
    std::vector<std::thread> workers;
    workers.reserve(static_cast<std::size_t>(std::max(helpers, 0)));
    for (int t = 0; t < helpers; ++t)
        workers.emplace_back(work);
    work();
    for (std::thread& w : workers)
        w.join();
    if (failure)
        std::rethrow_exception(failure);
}

int defaultThreadCount() { return std::max(1u, std::thread::hardware_concurrency()); }

#endif

ShadingThreads::~ShadingThreads() = default;

}  // namespace standalone
