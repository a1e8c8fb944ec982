#pragma once
// Worker threads for the render work that splits into independent pieces (rows of a canvas, bands
// of an image). A job's pieces may run in any order on any worker, so a job whose pieces each write
// only their own part of the output gives the same result whatever the thread count.

#include <atomic>
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

    // While `alongside` runs, a job it starts (directly or deeper down) is offered to the pieces
    // of the job running beside it: they take its pieces when they call help() or wait in
    // waitOrHelp(), so long-running pieces that often wait on the caller can lend it their
    // thread. The caller takes pieces too and returns when all are done, as run does.
    // Takes pieces of such a job, if one is open; true when it took any.
    bool help();
    // Returns once `ready` answers true, taking pieces of such jobs meanwhile. `ready` is asked
    // again after every signal().
    void waitOrHelp(const std::function<bool()>& ready);
    // Wakes the pieces waiting in waitOrHelp to ask again.
    void signal();

private:
    void start(std::size_t count, const std::function<void(std::size_t)>& piece);
    // Takes part in the started job, waits for it and rethrows its first failure.
    void finish();
    void work();
    // A job's pieces and how far they are; guarded by stateLock_.
    struct Job {
        const std::function<void(std::size_t)>* piece = nullptr;
        std::size_t count = 0, next = 0, finished = 0;
        std::exception_ptr failure;
    };
    // Takes pieces of `job` until none is left (after a failure they are skipped, but counted);
    // the last one to finish notifies `done`. True when it took any.
    bool takePieces(Job& job, std::condition_variable& done);
    // Waits until every piece of `job` has finished, empties it and rethrows its first failure.
    void awaitJob(Job& job, std::condition_variable& done);
    // Takes pieces of the current job until none is left.
    void drain() { takePieces(job_, done_); }
    // Runs a job started by the alongside caller while its own job runs (see help()).
    void runLent(std::size_t count, const std::function<void(std::size_t)>& piece);

    std::vector<std::thread> workers_;
    std::mutex jobLock_;  // held by the caller for a whole job
    std::mutex stateLock_;
    std::condition_variable wake_, done_;
    Job job_;
    std::uint64_t generation_ = 0;
    bool stopping_ = false;
    // The thread running `alongside` in runAlongside, and the job it lends out (under stateLock_).
    std::atomic<std::thread::id> alongside_{};
    Job lent_;
    std::atomic<bool> lentOpen_{false};
    std::condition_variable lentDone_;
    std::atomic<std::uint64_t> events_{0};
};

// The shared pool for render work, with as many threads as the host gives a render
// (Interface::GetRenderThreads; one per core when it names none). A pool is made for each count
// asked for and kept to the end of the process, so a pool in use is never torn down.
WorkerPool& renderWorkers();

}  // namespace vml
