#pragma once
// One spin lock per image row, for the per-row stores that shading threads write: a host shades
// a row on one thread at a time as a rule, so a lock is almost never waited for and a spin costs
// less than an operating-system lock. Each lock has a cache line of its own: packed, the locks of
// the rows two threads shade side by side would share one, and every filing on either thread
// would pull it from the other's core.

#include <atomic>
#include <cstddef>
#include <memory>
#include <thread>

namespace vml {

class RowLocks {
public:
    // `rows` unlocked rows; throws std::bad_alloc.
    void reset(std::size_t rows)
    {
        if (rows != rows_)
            locks_ = std::make_unique<Lock[]>(rows);
        rows_ = rows;
    }
    void release()
    {
        locks_.reset();
        rows_ = 0;
    }

    class Guard {
    public:
        // Row y < rows.
        Guard(RowLocks& locks, std::size_t y) : flag_(locks.locks_[y].flag)
        {
            while (flag_.exchange(true, std::memory_order_acquire))
                while (flag_.load(std::memory_order_relaxed))
                    std::this_thread::yield();
        }
        ~Guard() { flag_.store(false, std::memory_order_release); }
        Guard(const Guard&) = delete;
        Guard& operator=(const Guard&) = delete;

    private:
        std::atomic<bool>& flag_;
    };

private:
    // The line size of the x86-64 and ARM64 cores this runs on.
    struct alignas(64) Lock {
        std::atomic<bool> flag{false};
    };
    std::unique_ptr<Lock[]> locks_;
    std::size_t rows_ = 0;
};

}  // namespace vml
