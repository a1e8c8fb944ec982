#pragma once
// A recursive operating-system lock, as the host's critical sections behave: a thread that finds it
// taken tries again a few times before it sleeps, as the locks guard only a few instructions each
// and sleeping costs far more than the wait.

#include <mutex>

class CriticalSection {
public:
    void Enter()
    {
        for (int i = 0; i < spinCount; ++i)
            if (mutex_.try_lock())
                return;
        mutex_.lock();
    }
    void Leave() { mutex_.unlock(); }
    bool TryEnter() { return mutex_.try_lock(); }

private:
    static constexpr int spinCount = 200;
    std::recursive_mutex mutex_;
};

// Holds a critical section for the life of a scope.
class CriticalSectionGuard {
public:
    explicit CriticalSectionGuard(CriticalSection& cs) : cs_(cs) { cs_.Enter(); }
    ~CriticalSectionGuard() { cs_.Leave(); }
    CriticalSectionGuard(const CriticalSectionGuard&) = delete;
    CriticalSectionGuard& operator=(const CriticalSectionGuard&) = delete;

private:
    CriticalSection& cs_;
};
