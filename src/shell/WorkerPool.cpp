#include "shell/WorkerPool.h"

#include "host/Interface.h"

#include <algorithm>
#include <memory>

namespace vml {

WorkerPool::WorkerPool(int threads)
{
    if (threads <= 0)
        threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    workers_.reserve(static_cast<std::size_t>(threads - 1));
    for (int i = 1; i < threads; ++i)
        workers_.emplace_back([this] { work(); });
}

WorkerPool::~WorkerPool()
{
    {
        std::lock_guard lock(stateLock_);
        stopping_ = true;
    }
    wake_.notify_all();
    for (std::thread& t : workers_)
        t.join();
}

void WorkerPool::run(std::size_t count, const std::function<void(std::size_t)>& piece)
{
    std::unique_lock job(jobLock_, std::try_to_lock);
    if (!job.owns_lock() && count >= 2 && alongside_.load() == std::this_thread::get_id()) {
        runLent(count, piece);
        return;
    }
    if (!job.owns_lock() || workers_.empty() || count < 2) {
        for (std::size_t i = 0; i < count; ++i)
            piece(i);
        return;
    }
    start(count, piece);
    finish();
}

void WorkerPool::runLent(std::size_t count, const std::function<void(std::size_t)>& piece)
{
    {
        std::unique_lock lock(stateLock_);
        if (lent_.piece) {
            // A job started from a piece of the lent one runs on its own caller.
            lock.unlock();
            for (std::size_t i = 0; i < count; ++i)
                piece(i);
            return;
        }
        lent_ = {&piece, count, 0, 0, nullptr};
        lentOpen_.store(true);
    }
    signal();
    help();
    awaitJob(lent_, lentDone_);
}

bool WorkerPool::help()
{
    if (!lentOpen_.load())
        return false;
    const bool took = takePieces(lent_, lentDone_);
    std::lock_guard lock(stateLock_);
    if (!lent_.piece || lent_.next >= lent_.count)
        lentOpen_.store(false);
    return took;
}

void WorkerPool::waitOrHelp(const std::function<bool()>& ready)
{
    for (;;) {
        const std::uint64_t seen = events_.load(std::memory_order_acquire);
        if (ready())
            return;
        if (help())
            continue;
        events_.wait(seen, std::memory_order_acquire);
    }
}

void WorkerPool::signal()
{
    events_.fetch_add(1, std::memory_order_release);
    events_.notify_all();
}

void WorkerPool::runAlongside(std::size_t count, const std::function<void(std::size_t)>& piece,
                              const std::function<void()>& alongside)
{
    std::unique_lock job(jobLock_, std::try_to_lock);
    if (!job.owns_lock() || workers_.empty() || count == 0) {
        alongside();
        for (std::size_t i = 0; i < count; ++i)
            piece(i);
        return;
    }
    start(count, piece);
    std::exception_ptr failure;
    alongside_.store(std::this_thread::get_id());
    try {
        alongside();
    } catch (...) {
        failure = std::current_exception();
    }
    alongside_.store(std::thread::id{});
    if (!failure) {
        finish();
        return;
    }
    // The pieces may refer to what the failed caller set up: they finish before it unwinds.
    try {
        finish();
    } catch (...) {
    }
    std::rethrow_exception(failure);
}

void WorkerPool::start(std::size_t count, const std::function<void(std::size_t)>& piece)
{
    {
        std::lock_guard lock(stateLock_);
        job_ = {&piece, count, 0, 0, nullptr};
        ++generation_;
    }
    wake_.notify_all();
}

void WorkerPool::finish()
{
    drain();
    awaitJob(job_, done_);
}

void WorkerPool::awaitJob(Job& job, std::condition_variable& done)
{
    std::exception_ptr failure;
    {
        std::unique_lock lock(stateLock_);
        done.wait(lock, [&] { return job.finished == job.count; });
        failure = job.failure;
        job = {};
    }
    if (failure)
        std::rethrow_exception(failure);
}

bool WorkerPool::takePieces(Job& job, std::condition_variable& done)
{
    bool took = false;
    for (;;) {
        std::size_t i = 0;
        const std::function<void(std::size_t)>* piece = nullptr;
        {
            std::lock_guard lock(stateLock_);
            if (!job.piece || job.next >= job.count)
                return took;
            i = job.next++;
            piece = job.piece;
            took = true;
            if (job.failure) {
                // Skipped, but counted so the caller stops waiting.
                if (++job.finished == job.count)
                    done.notify_all();
                continue;
            }
        }
        std::exception_ptr failure;
        try {
            (*piece)(i);
        } catch (...) {
            failure = std::current_exception();
        }
        std::lock_guard lock(stateLock_);
        if (failure && !job.failure)
            job.failure = failure;
        if (++job.finished == job.count)
            done.notify_all();
    }
}

void WorkerPool::work()
{
    std::uint64_t seen = 0;
    for (;;) {
        {
            std::unique_lock lock(stateLock_);
            wake_.wait(lock, [&] { return stopping_ || (generation_ != seen && job_.piece); });
            if (stopping_)
                return;
            seen = generation_;
        }
        drain();
    }
}

WorkerPool& renderWorkers()
{
    static std::mutex lock;
    static std::vector<std::unique_ptr<WorkerPool>> pools;
    Interface* core = GetCOREInterface();
    int wanted = core ? core->GetRenderThreads() : 0;
    if (wanted <= 0)
        wanted = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    std::lock_guard guard(lock);
    for (auto& pool : pools)
        if (pool->threads() == wanted)
            return *pool;
    pools.push_back(std::make_unique<WorkerPool>(wanted));
    return *pools.back();
}

}  // namespace vml
