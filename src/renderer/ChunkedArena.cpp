#include "renderer/ChunkedArena.h"

#include "renderer/ArenaHooks.h"

#include <algorithm>
#include <new>

namespace vml {

namespace {

std::size_t roundUp(std::size_t bytes)
{
    if (bytes == 0)
        return ChunkedArena::alignment;
    return (bytes + ChunkedArena::alignment - 1) / ChunkedArena::alignment * ChunkedArena::alignment;
}

}  // namespace

ChunkedArena::ChunkedArena(ArenaHooks* hooks) : hooks_(hooks) {}

ChunkedArena::~ChunkedArena() { release(); }

void ChunkedArena::fail()
{
    if (hooks_)
        hooks_->outOfMemory();
}

std::byte* ChunkedArena::newChunk(std::size_t bytes)
{
    if (byteLimit_ != 0 && (bytes > byteLimit_ || bytesHeld_ > byteLimit_ - bytes))
        return nullptr;
    if (hooks_ && hooks_->refuseAllocation(AllocationSite::arena))
        return nullptr;
    auto* chunk = new (std::nothrow) std::byte[bytes];
    if (chunk)
        bytesHeld_ += bytes;
    return chunk;
}

bool ChunkedArena::reserveTable(std::size_t entries)
{
    if (table_.size() >= entries)
        return true;
    if (hooks_ && hooks_->refuseAllocation(AllocationSite::arena))
        return false;
    try {
        table_.resize(entries, nullptr);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

void ChunkedArena::release()
{
    for (std::size_t i = 0; i < allocated_; ++i)
        delete[] table_[i];
    table_.clear();
    table_.shrink_to_fit();
    allocated_ = 0;
    bytesHeld_ = 0;
    configured_ = false;
    startFull_ = false;
    presetSize_ = presetCount_ = growthSize_ = 0;
    used_ = current_ = capacity_ = 0;
}

bool ChunkedArena::setup(std::size_t presetSize, std::size_t presetCount, std::size_t growthSize,
                         bool startFull)
{
    if (hooks_)
        hooks_->lowMemoryCheck();
    // Preset chunks hold whole alignment units so that offsets stay aligned.
    presetSize = presetSize / alignment * alignment;
    growthSize = growthSize / alignment * alignment;
    if (presetSize == 0)
        presetCount = 0;
    if (!reserveTable(std::max(presetCount, minTableEntries))) {
        release();
        fail();
        return false;
    }
    if (!configured_ || presetSize != presetSize_ || presetCount != presetCount_ ||
        growthSize != growthSize_) {
        for (std::size_t i = 0; i < allocated_; ++i) {
            delete[] table_[i];
            table_[i] = nullptr;
        }
        allocated_ = 0;
        bytesHeld_ = 0;
        for (std::size_t i = 0; i < presetCount; ++i) {
            table_[i] = newChunk(presetSize);
            if (!table_[i]) {
                release();
                fail();
                return false;
            }
            allocated_ = i + 1;
        }
        presetSize_ = presetSize;
        presetCount_ = presetCount;
        growthSize_ = growthSize;
        configured_ = true;
    }
    startFull_ = startFull;
    reset();
    return true;
}

void ChunkedArena::reset()
{
    capacity_ = presetSize_ * presetCount_;
    used_ = startFull_ ? capacity_ : 0;
    current_ = startFull_ ? presetCount_ : 0;
}

void* ChunkedArena::allocate(std::size_t bytes)
{
    const std::size_t k = roundUp(bytes);
    const std::size_t presetBytes = presetSize_ * presetCount_;
    // Chunks [0, current_) are behind us; current_ exists while used_ is below the capacity.
    while (used_ < capacity_ && used_ + k <= capacity_) {
        const bool preset = current_ < presetCount_;
        const std::size_t size = preset ? presetSize_ : growthSize_;
        const std::size_t offset = preset ? used_ % presetSize_ : (used_ - presetBytes) % growthSize_;
        if (offset + k > size) {
            used_ += size - offset;  // skip the rest: blocks never straddle chunks
            ++current_;
            continue;
        }
        std::byte* block = table_[current_] + offset;
        used_ += k;
        if (offset + k == size)
            ++current_;
        return block;
    }
    void* block = nullptr;
    if (!grow(k, block)) {
        fail();
        return nullptr;
    }
    return block;
}

bool ChunkedArena::grow(std::size_t k, void*& block)
{
    if (!configured_ || k > growthSize_)
        return false;
    const std::size_t presetBytes = presetSize_ * presetCount_;
    const std::size_t index = presetCount_ + (capacity_ - presetBytes) / growthSize_;
    if (index >= table_.size()) {
        std::size_t entries = table_.size();
        while (entries <= index)
            entries = entries + entries / 2 + 1;
        if (!reserveTable(entries))
            return false;
    }
    if (index >= allocated_) {
        // Chunks are made in order, so index == allocated_ here.
        table_[index] = newChunk(growthSize_);
        if (!table_[index])
            return false;
        allocated_ = index + 1;
    }
    capacity_ += growthSize_;
    used_ = capacity_ - growthSize_ + k;
    current_ = k == growthSize_ ? index + 1 : index;
    block = table_[index];
    if (hooks_)
        hooks_->lowMemoryCheck();
    return true;
}

}  // namespace vml
