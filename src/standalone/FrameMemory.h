#pragma once
// What a frame needs in memory before it is rendered, and whether the machine has it: a render
// that cannot fit is refused up front with a message rather than killed half way by the system.

#include "host/MaxTypes.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace standalone {

struct MemoryPart {
    std::string name;
    double bytesPerPixel = 0.0;
};

struct FrameMemoryEstimate {
    int width = 0, height = 0;
    std::vector<MemoryPart> parts;  // per-pixel consumers, host's and renderer's
    std::uint64_t fixedBytes = 0;   // what does not grow with the image (scene, libraries)

    double bytesPerPixel() const;
    std::uint64_t bytes() const;  // for width x height
    void add(std::string name, double bytesPerPixel) { parts.push_back({std::move(name), bytesPerPixel}); }
};

// The host's share: the output bitmap with the G-buffer `channels` (those the host asks for and
// the effects'), `elementBitmaps` render element bitmaps and, when frames are written while the
// next renders, the copy being written. Writing a still adds no copy (the PNG writer holds a few
// compressed bands, a few MB).
FrameMemoryEstimate hostFrameMemory(int width, int height, ULONG channels, int elementBitmaps,
                                    bool writeBehind);

struct AvailableMemory {
    std::uint64_t bytes = UINT64_MAX;
    std::string source;  // what limits it, for the message
};

// The tighter of /proc/meminfo's MemAvailable and the room left under this process's cgroup
// memory limits (v1 or v2, every level up to the root); UINT64_MAX when nothing says.
AvailableMemory availableMemory();

// The room under one cgroup level: limit - usage, with reclaimable file cache counted as free;
// nullopt when the level sets no limit. The texts are the files' contents.
std::optional<std::uint64_t> cgroupRoom(std::string_view limit, std::string_view usage,
                                        std::string_view stat);
// MemAvailable of a /proc/meminfo text, in bytes.
std::optional<std::uint64_t> memAvailable(std::string_view meminfo);

// Empty when the frame fits; otherwise what it needs, what there is, and the largest size of
// the same shape that would fit.
std::string refuseFrame(const FrameMemoryEstimate& need, const AvailableMemory& available);

}  // namespace standalone
