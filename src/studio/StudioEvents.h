#pragma once
// What the studio tells every open browser tab as it happens (render progress, new viewport
// frames, changed state): numbered messages that listeners wait for, keeping only the latest few
// so a slow or closed tab never holds memory.

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>

namespace studio {

struct StudioMessage {
    std::uint64_t number = 0;
    std::string type;  // progress, frame, sample, render, state
    std::string data;  // JSON
};

class StudioEvents {
public:
    void publish(std::string type, std::string data);
    // The first message numbered above `after`, waiting at most `timeoutMs`; nullopt on timeout
    // or once closed. A listener that fell behind the kept messages resumes at the oldest kept.
    std::optional<StudioMessage> next(std::uint64_t after, int timeoutMs);
    std::uint64_t latest();
    // Wakes every listener for good (the server is stopping).
    void close();
    bool closed();

private:
    static constexpr std::size_t kKept = 64;
    std::mutex lock_;
    std::condition_variable changed_;
    std::deque<StudioMessage> kept_;
    std::uint64_t latest_ = 0;
    bool closed_ = false;
};

}  // namespace studio
