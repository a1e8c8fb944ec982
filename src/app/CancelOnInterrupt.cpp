#include "app/CancelOnInterrupt.h"

#include "host/Interface.h"

#include <atomic>
#include <csignal>

namespace app {

namespace {

Interface* cancelTarget = nullptr;
std::atomic<bool> interruptSeen{false};
static_assert(std::atomic<bool>::is_always_lock_free, "the signal handler needs a lock-free flag");

extern "C" void onInterrupt(int)
{
    if (interruptSeen.exchange(true)) {
        std::signal(SIGINT, SIG_DFL);
        std::raise(SIGINT);
        return;
    }
    // The core's cancel flag is a lock-free atomic as well.
    if (cancelTarget)
        cancelTarget->SetCancel(TRUE);
}

}  // namespace

void cancelOnInterrupt(Interface& core)
{
    cancelTarget = &core;
    std::signal(SIGINT, onInterrupt);
    std::signal(SIGTERM, onInterrupt);
}

bool interrupted() { return interruptSeen.load(); }

}  // namespace app
