#pragma once
// Worker threads for the render work that splits into independent pieces (rows of a canvas, bands
// of an image). A job's pieces may run in any order on any worker, so a job whose pieces each write
// only their own part of the output gives the same result whatever the thread count.

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace vml {

class WorkerPool {
public:
    // `threads` counts the calling thread; 0 or less: one per core.
    explicit WorkerPool(int threads);
    ~WorkerPool();
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    int threads() const { return static_cast<int>(workers_.size()) + 1; }

    // Calls piece(i) for every i in [0, count) on the workers and the calling thread and returns
    // when all are done. The first exception a piece throws is rethrown here once every started
    // piece has finished; the pieces not yet started are skipped. A job started while another is
    // running (from a piece, or from another thread) runs its pieces on its own caller, in order.
    void run(std::size_t count, const std::function<void(std::size_t)>& piece);
    // As run, but the calling thread first runs `alongside` while only the workers take pieces;
    // then it takes what is left. Without workers, or inside another job, `alongside` runs first
    // and the pieces after it on the caller, so `alongside` must never wait for a piece to start.
    // A failure of `alongside` is rethrown once the pieces are done, before any of theirs.
    void runAlongside(std::size_t count, const std::function<void(std::size_t)>& piece,
                      const std::function<void()>& alongside);

private:
    void start(std::size_t count, const std::function<void(std::size_t)>& piece);
    // Takes part in the started job, waits for it and rethrows its first failure.
    void finish();
    void work();
    // Takes pieces of the current job until none is left.
    void drain();

    std::vector<std::thread> workers_;
    std::mutex jobLock_;  // held by the caller for a whole job
    std::mutex stateLock_;
    std::condition_variable wake_, done_;
    const std::function<void(std::size_t)>* piece_ = nullptr;
    std::size_t count_ = 0, next_ = 0, finished_ = 0;
    std::uint64_t generation_ = 0;
    std::exception_ptr failure_;
    bool stopping_ = false;
};

// The shared pool for render work, with as many threads as the host gives a render
// (Interface::GetRenderThreads; one per core when it names none). A pool is made for each count
// asked for and kept to the end of the process, so a pool in use is never torn down.
WorkerPool& renderWorkers();

}  // namespace vml
