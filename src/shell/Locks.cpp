#include "shell/Locks.h"

#include <atomic>
#include <cassert>

namespace vml {

namespace {

struct LockSet {
    CriticalSection shadeContextPool, strokeList, pixelSample;
};

// One set for the whole process, never destroyed: a shading thread still inside a lock when the
// shutdown notification arrives holds a lock that stays valid, and every late user shares the
// same locks instead of racing to make new ones.
LockSet& lockSet()
{
    static LockSet* const set = new LockSet;
    return *set;
}

std::atomic<bool> usable{false};

LockSet& existingLocks()
{
    // Using a lock outside initialise..shutdown is a host sequencing error. Debug builds stop
    // on it; release builds go on with the one set, which still serialises, and the set does
    // not come back to life.
    assert(usable.load(std::memory_order_acquire) && "locks used before initialisation or after shutdown");
    return lockSet();
}

}  // namespace

CriticalSection& shadeContextPoolLock() { return existingLocks().shadeContextPool; }
CriticalSection& strokeListLock() { return existingLocks().strokeList; }
CriticalSection& pixelSampleLock() { return existingLocks().pixelSample; }

void createLocks()
{
    lockSet();
    usable.store(true, std::memory_order_release);
}

void deleteLocks() { usable.store(false, std::memory_order_release); }
bool locksExist() { return usable.load(std::memory_order_acquire); }

}  // namespace vml
