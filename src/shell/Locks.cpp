#include "shell/Locks.h"

#include <cassert>
#include <memory>

namespace vml {

namespace {

struct LockSet {
    CriticalSection shadeContextPool, strokeList, pixelSample;
};

std::unique_ptr<LockSet> locks;

LockSet& existingLocks()
{
    // Using a lock outside initialise..shutdown is a host sequencing error.
    assert(locks && "locks used before initialisation or after shutdown");
    if (!locks)
        locks = std::make_unique<LockSet>();
    return *locks;
}

}  // namespace

CriticalSection& shadeContextPoolLock() { return existingLocks().shadeContextPool; }
CriticalSection& strokeListLock() { return existingLocks().strokeList; }
CriticalSection& pixelSampleLock() { return existingLocks().pixelSample; }

void createLocks()
{
    if (!locks)
        locks = std::make_unique<LockSet>();
}

void deleteLocks() { locks.reset(); }
bool locksExist() { return locks != nullptr; }

}  // namespace vml
