#include "standalone/FrameMemory.h"

#include "host/Color.h"
#include "host/GBufferChannels.h"
#include "host/MemoryStatus.h"

#include <fmt/format.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace standalone {

namespace fs = std::filesystem;

namespace {

// Limits at or above this are how cgroups spell "no limit".
constexpr std::uint64_t kNoLimit = std::uint64_t{1} << 62;

std::string readSmallFile(const fs::path& p)
{
    std::ifstream in(p);
    return in ? std::string(std::istreambuf_iterator<char>(in), {}) : std::string();
}

std::optional<std::uint64_t> parseNumber(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    std::uint64_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end == text.data())
        return std::nullopt;
    return value;
}

// The value of `key` in "key value" lines (memory.stat).
std::optional<std::uint64_t> statValue(std::string_view stat, std::string_view key)
{
    std::size_t at = 0;
    while (at < stat.size()) {
        std::size_t end = stat.find('\n', at);
        if (end == std::string_view::npos)
            end = stat.size();
        std::string_view line = stat.substr(at, end - at);
        if (line.size() > key.size() && line.substr(0, key.size()) == key && line[key.size()] == ' ')
            return parseNumber(line.substr(key.size() + 1));
        at = end + 1;
    }
    return std::nullopt;
}

std::string gigabytes(double bytes) { return fmt::format("{:.1f} GB", bytes / 1e9); }

// The tightest room under the cgroup levels from `dir` up to `root`, which are v2 or v1 files.
std::optional<std::uint64_t> roomUnder(fs::path dir, const fs::path& root, bool v2)
{
    std::optional<std::uint64_t> tightest;
    for (int level = 0; level < 64; ++level) {
        const std::string limit = readSmallFile(dir / (v2 ? "memory.max" : "memory.limit_in_bytes"));
        const std::string usage = readSmallFile(dir / (v2 ? "memory.current" : "memory.usage_in_bytes"));
        if (!limit.empty() && !usage.empty())
            if (auto room = cgroupRoom(limit, usage, readSmallFile(dir / "memory.stat")))
                tightest = std::min(tightest.value_or(UINT64_MAX), *room);
        if (dir == root || !dir.has_parent_path() || dir.parent_path() == dir)
            break;
        dir = dir.parent_path();
    }
    return tightest;
}

std::optional<std::uint64_t> cgroupLimitRoom()
{
    std::istringstream lines(readSmallFile("/proc/self/cgroup"));
    std::string line;
    std::optional<std::uint64_t> room;
    auto consider = [&](std::optional<std::uint64_t> r) {
        if (r)
            room = std::min(room.value_or(UINT64_MAX), *r);
    };
    while (std::getline(lines, line)) {
        // "0::/path" (v2) or "4:memory:/path" (v1; the controller may share its line).
        const std::size_t first = line.find(':'), second = line.find(':', first + 1);
        if (first == std::string::npos || second == std::string::npos)
            continue;
        const std::string controllers = line.substr(first + 1, second - first - 1);
        const std::string path = line.substr(second + 1);
        const bool v2 = line.substr(0, first) == "0" && controllers.empty();
        bool v1 = false;
        std::istringstream names(controllers);
        for (std::string name; std::getline(names, name, ',');)
            v1 = v1 || name == "memory";
        if (!v1 && !v2)
            continue;
        const fs::path root = v2 ? fs::path("/sys/fs/cgroup") : fs::path("/sys/fs/cgroup/memory");
        // Inside a container the path is often the host's and absent here: the root then is ours.
        fs::path dir = root / fs::path(path).relative_path();
        std::error_code ec;
        if (!fs::is_directory(dir, ec))
            dir = root;
        consider(roomUnder(dir.lexically_normal(), root, v2));
    }
    return room;
}

}  // namespace

double FrameMemoryEstimate::bytesPerPixel() const
{
    double sum = 0.0;
    for (const MemoryPart& p : parts)
        sum += p.bytesPerPixel;
    return sum;
}

std::uint64_t FrameMemoryEstimate::bytes() const
{
    const double pixels = static_cast<double>(std::max(width, 0)) * static_cast<double>(std::max(height, 0));
    return fixedBytes + static_cast<std::uint64_t>(std::ceil(pixels * bytesPerPixel()));
}

FrameMemoryEstimate hostFrameMemory(int width, int height, ULONG channels, int elementBitmaps,
                                    bool writeBehind)
{
    FrameMemoryEstimate e;
    e.width = width, e.height = height;
    // Libraries, the scene and the renderers' fixed tables: about 145 MB measured on the
    // examples, whatever their size.
    e.fixedBytes = 150ull << 20;
    e.add("output bitmap", sizeof(BMM_Color_64));
    int gbuffer = 0;
    for (int slot = 0; slot < BMM_CHAN_COUNT; ++slot)
        if (channels & (1u << slot))
            gbuffer += GBufferChannelSize(1u << slot);
    if (gbuffer > 0)
        e.add("G-buffer channels", gbuffer);
    if (elementBitmaps > 0)
        e.add("render element bitmaps", elementBitmaps * static_cast<double>(sizeof(BMM_Color_64)));
    // The images of a frame being written are copied so the next frame can render meanwhile.
    if (writeBehind)
        e.add("frame being written", (1 + elementBitmaps) * static_cast<double>(sizeof(BMM_Color_64)));
    return e;
}

std::optional<std::uint64_t> memAvailable(std::string_view meminfo)
{
    const std::string_view key = "MemAvailable:";
    const std::size_t at = meminfo.find(key);
    if (at == std::string_view::npos)
        return std::nullopt;
    const auto kib = parseNumber(meminfo.substr(at + key.size()));
    if (!kib)
        return std::nullopt;
    return *kib * 1024u;
}

std::optional<std::uint64_t> cgroupRoom(std::string_view limit, std::string_view usage, std::string_view stat)
{
    const auto max = parseNumber(limit);  // "max" (v2, no limit) does not parse
    const auto used = parseNumber(usage);
    if (!max || !used || *max >= kNoLimit)
        return std::nullopt;
    // Page cache the kernel would drop before killing anything.
    const std::uint64_t reclaimable =
        statValue(stat, "total_inactive_file").value_or(statValue(stat, "inactive_file").value_or(0));
    const std::uint64_t charged = *used > reclaimable ? *used - reclaimable : 0;
    return *max > charged ? *max - charged : 0;
}

AvailableMemory availableMemory()
{
    AvailableMemory a;
    if (auto bytes = memAvailable(readSmallFile("/proc/meminfo"))) {
        a.bytes = *bytes;
        a.source = "MemAvailable in /proc/meminfo";
    } else if (const std::uint64_t sys = GetAvailablePhysicalMemory(); sys != UINT64_MAX) {
        a.bytes = sys;
        a.source = "free physical memory";
    }
    if (auto room = cgroupLimitRoom(); room && *room < a.bytes) {
        a.bytes = *room;
        a.source = "room under the cgroup memory limit";
    }
    return a;
}

std::string refuseFrame(const FrameMemoryEstimate& need, const AvailableMemory& available)
{
    const std::uint64_t bytes = need.bytes();
    if (bytes <= available.bytes)
        return {};
    const double perPixel = need.bytesPerPixel();
    // The largest frame of the same shape: pixels scale with the square of the side.
    const double room = available.bytes > need.fixedBytes ? double(available.bytes - need.fixedBytes) : 0.0;
    const double pixels = double(need.width) * double(need.height);
    const double scale = perPixel > 0 && pixels > 0 ? std::sqrt(room / (perPixel * pixels)) : 0.0;
    const int w = static_cast<int>(std::floor(need.width * scale)),
              h = static_cast<int>(std::floor(need.height * scale));

    std::vector<MemoryPart> biggest = need.parts;
    std::sort(biggest.begin(), biggest.end(),
              [](const MemoryPart& a, const MemoryPart& b) { return a.bytesPerPixel > b.bytesPerPixel; });
    std::string where;
    for (std::size_t i = 0; i < biggest.size() && i < 3; ++i)
        where += fmt::format("{}{} {:.0f}", i ? ", " : "", biggest[i].name, biggest[i].bytesPerPixel);
    std::string message = fmt::format(
        "a {} x {} frame needs about {} of memory ({:.0f} bytes per pixel: {}), but {} is available ({})",
        need.width, need.height, gigabytes(double(bytes)), perPixel, where,
        gigabytes(double(available.bytes)), available.source);
    if (w > 0 && h > 0)
        message += fmt::format("; render it smaller, at most --size {}x{}", w, h);
    else
        message += "; free memory first";
    return message;
}

}  // namespace standalone
