#include "host/LargeBlock.h"

#include <cstdint>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace {

// Below this a block comes from the heap: a large page would mostly stay empty.
constexpr std::size_t largePageThreshold = std::size_t{2} << 20;
constexpr std::size_t largePage = std::size_t{2} << 20;

}  // namespace

LargeBlock::LargeBlock(std::size_t bytes)
{
    *this = tryAllocate(bytes);
    if (bytes > 0 && empty())
        throw std::bad_alloc();
}

LargeBlock LargeBlock::tryAllocate(std::size_t bytes)
{
    LargeBlock block;
    if (bytes == 0)
        return block;
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    if (bytes >= largePageThreshold && bytes <= SIZE_MAX - largePage) {
        // Mapped a large page longer than asked, so the block can start on a large-page boundary;
        // the system's fresh pages are zeros.
        const std::size_t length = (bytes + largePage - 1) / largePage * largePage + largePage;
        void* mapped = ::mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (mapped == MAP_FAILED)
            return block;
        auto* start = static_cast<std::byte*>(mapped);
        const auto misalignment = reinterpret_cast<std::uintptr_t>(start) % largePage;
        const std::size_t lead = misalignment ? largePage - misalignment : 0;
        if (lead > 0)
            ::munmap(start, lead);
        const std::size_t kept = length - largePage;
        if (largePage > lead)
            ::munmap(start + lead + kept, largePage - lead);
        start += lead;
        // Advice only: without large pages the block still works, in small ones.
        ::madvise(start, kept, MADV_HUGEPAGE);
        block.data_ = start;
        block.bytes_ = bytes;
        block.mapped_ = kept;
        return block;
    }
#endif
    auto* heap = static_cast<std::byte*>(::operator new(bytes, std::nothrow));
    if (!heap)
        return block;
    std::memset(heap, 0, bytes);
    block.data_ = heap;
    block.bytes_ = bytes;
    return block;
}

void LargeBlock::release()
{
    if (!data_)
        return;
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    if (mapped_ > 0)
        ::munmap(data_, mapped_);
    else
#endif
        ::operator delete(data_);
    data_ = nullptr;
    bytes_ = mapped_ = 0;
}
