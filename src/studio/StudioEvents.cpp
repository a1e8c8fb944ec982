#include "studio/StudioEvents.h"

#include <chrono>

namespace studio {

void StudioEvents::publish(std::string type, std::string data)
{
    {
        std::lock_guard guard(lock_);
        kept_.push_back({++latest_, std::move(type), std::move(data)});
        if (kept_.size() > kKept)
            kept_.pop_front();
    }
    changed_.notify_all();
}

std::optional<StudioMessage> StudioEvents::next(std::uint64_t after, int timeoutMs)
{
    std::unique_lock guard(lock_);
    const bool ready = changed_.wait_for(guard, std::chrono::milliseconds(timeoutMs),
                                         [&] { return closed_ || latest_ > after; });
    if (!ready || closed_)
        return std::nullopt;
    for (const StudioMessage& m : kept_)
        if (m.number > after)
            return m;
    return std::nullopt;
}

std::uint64_t StudioEvents::latest()
{
    std::lock_guard guard(lock_);
    return latest_;
}

void StudioEvents::close()
{
    {
        std::lock_guard guard(lock_);
        closed_ = true;
    }
    changed_.notify_all();
}

bool StudioEvents::closed()
{
    std::lock_guard guard(lock_);
    return closed_;
}

}  // namespace studio
