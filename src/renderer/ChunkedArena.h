#pragma once
// A bump allocator over a table of chunks: n preset chunks of s bytes made at set-up, then growth
// chunks of g bytes made on demand. Blocks never straddle two chunks and never move; a reset
// forgets every block but keeps the chunks for the next pass. Not thread-safe: threads that
// file at once use arenas of their own (ThreadLanes).

#include <cstddef>
#include <vector>

namespace vml {

class ArenaHooks;

class ChunkedArena {
public:
    // Every block starts on this boundary (chunks themselves come from operator new).
    static constexpr std::size_t alignment = 8;
    // The chunk table never holds fewer entries than this.
    static constexpr std::size_t minTableEntries = 1024;

    explicit ChunkedArena(ArenaHooks* hooks = nullptr);
    ~ChunkedArena();
    ChunkedArena(const ChunkedArena&) = delete;
    ChunkedArena& operator=(const ChunkedArena&) = delete;

    // Non-owning; null disables both hooks.
    void setHooks(ArenaHooks* hooks) { hooks_ = hooks; }
    // Total chunk bytes the arena may hold; a chunk that would pass it fails as if the system
    // had refused it. 0 (the default) means no limit.
    void setByteLimit(std::size_t bytes) { byteLimit_ = bytes; }
    std::size_t byteLimit() const { return byteLimit_; }
    ArenaHooks* hooks() const { return hooks_; }

    // Prepares for a pass: n chunks of s bytes (kept when s, n and g are unchanged), growth in
    // chunks of g bytes. startFull skips the preset chunks (the first block comes from growth).
    // On failure everything is freed, out of memory is reported and false returned.
    bool setup(std::size_t presetSize, std::size_t presetCount, std::size_t growthSize,
               bool startFull = false);
    // A block of `bytes` (rounded up to the alignment, at least one unit) or nullptr, reported
    // as out of memory, when the arena cannot grow or the request exceeds a growth chunk.
    void* allocate(std::size_t bytes);
    // Forgets every block (starting full again after a start-full set-up); keeps every chunk.
    void reset();
    // Frees every chunk and the table; the next setup allocates afresh.
    void release();

    // Start of chunk i (preset chunks first, then growth chunks in order of growth), or nullptr.
    std::byte* chunk(std::size_t i) const { return i < allocated_ ? table_[i] : nullptr; }
    std::size_t chunkCount() const { return allocated_; }
    std::size_t tableEntries() const { return table_.size(); }
    std::size_t used() const { return used_; }
    std::size_t capacity() const { return capacity_; }
    std::size_t growthSize() const { return growthSize_; }

private:
    bool grow(std::size_t bytes, void*& block);
    bool reserveTable(std::size_t entries);
    std::byte* newChunk(std::size_t bytes);
    void fail();

    ArenaHooks* hooks_ = nullptr;
    std::size_t byteLimit_ = 0;
    std::size_t bytesHeld_ = 0;
    std::vector<std::byte*> table_;
    std::size_t allocated_ = 0;
    std::size_t presetSize_ = 0, presetCount_ = 0, growthSize_ = 0;
    bool configured_ = false;
    bool startFull_ = false;
    std::size_t used_ = 0;
    std::size_t current_ = 0;
    std::size_t capacity_ = 0;
};

}  // namespace vml
