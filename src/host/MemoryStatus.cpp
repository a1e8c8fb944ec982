#include "host/MemoryStatus.h"

#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

// MemAvailable of /proc/meminfo (kernels since 3.14 estimate it, page cache included); false
// when the file or the line is missing.
bool readMemAvailable(std::uint64_t& bytes)
{
    std::FILE* f = std::fopen("/proc/meminfo", "r");
    if (!f)
        return false;
    char line[256];
    bool found = false;
    while (std::fgets(line, sizeof line, f)) {
        unsigned long long kib = 0;
        if (std::sscanf(line, "MemAvailable: %llu kB", &kib) == 1) {
            bytes = static_cast<std::uint64_t>(kib) * 1024u;
            found = true;
            break;
        }
    }
    std::fclose(f);
    return found;
}

}  // namespace

std::uint64_t GetAvailablePhysicalMemory()
{
    std::uint64_t bytes = 0;
    if (readMemAvailable(bytes))
        return bytes;
    const long pages = sysconf(_SC_AVPHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGESIZE);
    if (pages <= 0 || pageSize <= 0)
        return UINT64_MAX;
    return static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(pageSize);
}
