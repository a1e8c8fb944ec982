#pragma once
// The stroke intake of a pass: copies of the filed records in the stroke pool (1 MiB growth
// chunks) and their addresses in a chunked pointer array (8192-byte chunks of 1024 pointers).
// Neither ever moves a record, so painting may read one while nothing else changes them.
// Shading threads file at once without a lock: each further thread has a pool and an array of
// its own, whose addresses `collect` appends to the list once the threads are done.

#include "renderer/ChunkedArena.h"
#include "renderer/ThreadLanes.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

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

    // Copies the record into the calling thread's pool and appends it. False when an arena
    // cannot grow: the record is dropped and out of memory reported.
    bool fileStroke(const vmlStrokeRecord& record);
    // Appends the records the further threads filed to the list (once they are done filing).
    // False when the list cannot grow: those records are dropped and out of memory reported.
    bool collect();

    // Records filed since the reset, collected or not.
    std::size_t strokeCount() const;
    // Record i of the list (the first thread's filings in filing order, then the collected
    // ones), or in depth order after sortByDepth; i < strokeCount() after collect.
    vmlStrokeRecord& stroke(std::size_t i) const;

    // Collects, then sorts into ascending depth key; equal keys by orderKey, then by size and
    // content bytes, so the order is the same whatever order and thread the records were filed
    // in. NaN keys go last. O(n log n) with bounded stack depth.
    void sortByDepth(const SortProgress& progress = {});

    // The list's own arenas, for tests and memory limits; the pools of further threads take
    // their limit from pool().
    ChunkedArena& pool() { return pool_; }
    ChunkedArena& list() { return list_; }

private:
    // A cache line of its own, as the sample grid's lanes.
    struct alignas(64) Lane {
        ChunkedArena* pool = nullptr;
        ChunkedArena* list = nullptr;
        std::size_t* count = nullptr;
        std::unique_ptr<ChunkedArena> ownPool, ownList;
        std::size_t ownCount = 0;
    };
    Lane* lane();
    bool append(ChunkedArena& list, vmlStrokeRecord* record);

    ChunkedArena pool_;
    ChunkedArena list_;
    std::size_t count_ = 0;
    ThreadLanes<Lane> lanes_;
};

}  // namespace vml
