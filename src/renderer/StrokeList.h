#pragma once
// The stroke intake of a pass: copies of the filed records in the stroke pool (1 MiB growth
// chunks) and their addresses in a chunked pointer array (8192-byte chunks of 1024 pointers).
// Neither ever moves a record, so painting may read one while nothing else changes them.

#include "renderer/ChunkedArena.h"

#include <cstddef>
#include <cstdint>
#include <functional>

namespace vml {

class ArenaHooks;
class vmlStrokeRecord;

class StrokeList {
public:
    static constexpr std::size_t poolChunkBytes = std::size_t{1} << 20;
    static constexpr std::size_t listChunkBytes = 8192;
    static constexpr std::size_t pointersPerChunk = listChunkBytes / sizeof(void*);
    // The sort reports progress at most this many times (plus once at the end).
    static constexpr int maxSortProgressCalls = 64;

    // Reported while sorting: (done, total) in arbitrary units, done <= total.
    using SortProgress = std::function<void(std::size_t done, std::size_t total)>;

    explicit StrokeList(ArenaHooks* hooks = nullptr);

    void setHooks(ArenaHooks* hooks);
    // Per pass: forgets every record and keeps the chunks. False when the arenas cannot be set
    // up (out of memory already reported).
    bool reset();
    // Frees every chunk (at Close).
    void release();

    // Under strokeListLock. Copies the record into the pool and appends it. False when an arena
    // cannot grow: the record is dropped and out of memory reported.
    bool fileStroke(const vmlStrokeRecord& record);

    std::size_t strokeCount() const { return count_; }
    // Record i in filing order, or in depth order after sortByDepth; i < strokeCount().
    vmlStrokeRecord& stroke(std::size_t i) const;

    // Sorts into ascending depth key; equal keys by orderKey, then by size and content bytes, so
    // the order is the same whatever order the records were filed in. NaN keys go last.
    // O(n log n) with bounded stack depth.
    void sortByDepth(const SortProgress& progress = {});

    // The two arenas, for tests and memory limits.
    ChunkedArena& pool() { return pool_; }
    ChunkedArena& list() { return list_; }

private:
    ChunkedArena pool_;
    ChunkedArena list_;
    std::size_t count_ = 0;
};

}  // namespace vml
