#pragma once
// The operating system's memory status, as the low-memory warning needs it.

#include <cstdint>

// Bytes of physical memory available to new allocations without swapping. When the system does
// not say, the largest value: an unknown amount is never taken for a shortage.
std::uint64_t GetAvailablePhysicalMemory();
