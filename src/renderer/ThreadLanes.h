#pragma once
// Per-thread lanes of a shared intake: each shading thread files into a lane of its own, so the
// hot path takes no lock. A thread is given a lane the first time it asks after a restart (under
// a lock, once per thread and pass); lanes are kept across restarts so their memory is reused.
// Which thread gets which lane is up to timing: what is filed must not depend on the lane.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace vml {

template <class Lane> class ThreadLanes {
public:
    ThreadLanes() : id_(nextId().fetch_add(1, std::memory_order_relaxed)) {}

    // The calling thread's lane for the current round; `make()` builds a lane when every kept one
    // is taken and `ready(lane)` prepares one as it is handed out. Null when `make` fails (it
    // returns null or throws).
    template <class Make, class Ready> Lane* get(Make&& make, Ready&& ready)
    {
        Slot& slot = threadSlot();
        const std::uint64_t round = round_.load(std::memory_order_acquire);
        if (slot.owner == id_ && slot.round == round)
            return slot.lane;
        std::lock_guard guard(lock_);
        Lane* lane = nullptr;
        if (handedOut_ < lanes_.size()) {
            lane = lanes_[handedOut_].get();
        } else {
            try {
                std::unique_ptr<Lane> made = make();
                if (!made)
                    return nullptr;
                lanes_.push_back(std::move(made));
            } catch (...) {
                return nullptr;
            }
            lane = lanes_.back().get();
        }
        ++handedOut_;
        ready(*lane);
        slot = {id_, round, lane};
        return lane;
    }

    // A new round: every thread asks again. Lanes are kept. Not while a thread files.
    void restart()
    {
        std::lock_guard guard(lock_);
        handedOut_ = 0;
        round_.fetch_add(1, std::memory_order_acq_rel);
    }
    // Frees every lane; a new round begins.
    void release()
    {
        std::lock_guard guard(lock_);
        lanes_.clear();
        handedOut_ = 0;
        round_.fetch_add(1, std::memory_order_acq_rel);
    }

    // The lanes handed out in this round, in the order they were handed out.
    std::size_t used() const { return handedOut_; }
    Lane& lane(std::size_t i) const { return *lanes_[i]; }
    // Every lane held, handed out or not.
    std::size_t held() const { return lanes_.size(); }

private:
    struct Slot {
        std::uint64_t owner = 0;
        std::uint64_t round = 0;
        Lane* lane = nullptr;
    };
    // A thread remembers the lanes it was given by its last few owners; an owner's id is never
    // reused, so a stale slot cannot match a later owner.
    Slot& threadSlot() const
    {
        constexpr std::size_t kept = 8;
        thread_local Slot slots[kept];
        thread_local std::size_t next = 0;
        for (Slot& s : slots)
            if (s.owner == id_)
                return s;
        Slot& s = slots[next];
        next = (next + 1) % kept;
        s = Slot{};
        return s;
    }
    static std::atomic<std::uint64_t>& nextId()
    {
        static std::atomic<std::uint64_t> id{1};
        return id;
    }

    const std::uint64_t id_;
    std::atomic<std::uint64_t> round_{1};
    std::mutex lock_;
    std::vector<std::unique_ptr<Lane>> lanes_;
    std::size_t handedOut_ = 0;
};

}  // namespace vml
