#pragma once
// The per-pixel sample lists of a pass. Each pixel's list starts with the first sample filed for
// it; later samples are linked in after the first entry that lies farther away than they do.
//
// Samples are addressed by 32-bit indices, not pointers: a pixel's head is one index (4 bytes per
// pixel) and each sample carries the index of the next one beside it (32 bytes per sample in
// all). Samples live in chunks of `chunkSamples` that never move and are kept from pass to pass;
// a shading thread takes a whole chunk at a time (under a lock, once per chunk) and files into it
// without one, so threads shading different rows file at once. Chunks are handed out from one
// table, so a frame holds only the chunks its samples fill, however many threads filed them.

#include "host/LargeBlock.h"
#include "renderer/PixelSample.h"
#include "renderer/RowLocks.h"
#include "renderer/ThreadLanes.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace vml {

class ArenaHooks;
class SceneFaces;

class SampleGrid {
public:
    // A sample's place in the grid; `none` ends a list (and is the head of an empty one).
    using Index = std::uint32_t;
    static constexpr Index none = UINT32_MAX;
    // Samples per chunk (a chunk is one large page: 2 MB), and the most chunks a pass may use
    // (so every index fits 32 bits).
    static constexpr std::size_t chunkSamples = std::size_t{1} << 16;
    static constexpr std::size_t maxChunks = std::size_t{1} << 13;
    static constexpr std::size_t chunkBytes = chunkSamples * (sizeof(PixelSample) + sizeof(Index));

    explicit SampleGrid(ArenaHooks* hooks = nullptr);
    ~SampleGrid();
    SampleGrid(const SampleGrid&) = delete;
    SampleGrid& operator=(const SampleGrid&) = delete;

    // Non-owning; null disables the hooks (the low-memory check at set-up and at every new chunk,
    // out of memory on every failure).
    void setHooks(ArenaHooks* hooks) { hooks_ = hooks; }
    // The most bytes the grid may hold, heads and chunks; heads or a chunk that would pass it
    // fail as if the system had refused them. 0 (the default) means no limit.
    void setByteLimit(std::size_t bytes) { byteLimit_ = bytes; }
    std::size_t byteLimit() const { return byteLimit_; }

    // Per pass: sizes the grid to width x height and empties every list; chunks of earlier passes
    // are kept for reuse. False (out of memory reported) when the heads cannot be allocated; the
    // grid is then 0 x 0.
    bool setup(int width, int height);
    // Empties every list; keeps the size and the chunks.
    void clear();
    // Frees everything (once a frame's painting is done, and at Close); the grid becomes 0 x 0.
    void release();

    int width() const { return width_; }
    int height() const { return height_; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

    // Copies the sample into pixel (x, y)'s list. Threads may file at once: each fills a chunk of
    // its own, and takes row y's lock while it links the sample in. A pixel outside the grid is
    // ignored; a chunk that cannot be had drops the sample (out of memory reported). True when
    // the sample was filed.
    bool insertSample(int x, int y, const PixelSample& sample);

    // The first sample of pixel (x, y)'s list; none when the list is empty or the pixel outside.
    Index first(int x, int y) const;
    // The sample after `i` in its list, or none.
    Index next(Index i) const { return nextSlots(i)[slot(i)]; }
    // Relinks: the sample after `i` becomes `after` (none ends the list there).
    void setNext(Index i, Index after) { nextSlots(i)[slot(i)] = after; }
    PixelSample& sample(Index i) { return samples(i)[slot(i)]; }
    const PixelSample& sample(Index i) const { return samples(i)[slot(i)]; }
    // Number of samples in pixel (x, y)'s list.
    std::size_t count(int x, int y) const;

    // Painter searches over pixel (x, y)'s list; each answers `fallback` when nothing qualifies
    // or the pixel is outside. Ties in depth go to the sample nearer the head.
    //
    // Same surface: samples of the node on the same face or a face sharing a vertex with it,
    // whose |depth difference| < tolerance; the nearest in depth.
    const PixelSample* nearestOnSurface(int x, int y, int nodeId, int face, float depth, float tolerance,
                                        const SceneFaces& faces, const PixelSample* fallback) const;
    // Same node and material whose signed difference (sample depth - depth) < limit, i.e. at
    // most `limit` nearer than `depth` and any amount farther; the nearest in depth.
    const PixelSample* nearestOfNodeAndMaterial(int x, int y, int nodeId, MaterialKey material, float depth,
                                                float limit, const PixelSample* fallback) const;
    // Same material, any node; the nearest in depth.
    const PixelSample* nearestOfMaterial(int x, int y, MaterialKey material, float depth,
                                         const PixelSample* fallback) const;

    // Samples filed since the last clear, and the chunk bytes held (for tests and the memory
    // figures).
    std::size_t sampleCount() const;
    std::size_t bytesHeld() const { return heads_.size() * sizeof(Index) + chunksHeld_ * chunkBytes; }

private:
    // The chunk a thread fills: indices [next, end).
    // A cache line of its own: lanes made one after another would share one, and every filing
    // would pull it from the other thread's core.
    struct alignas(64) Lane {
        Index next = 0, end = 0;
    };
    Lane* lane();
    // A fresh chunk for `lane`; false (out of memory reported) when none can be had.
    bool takeChunk(Lane& lane);

    static std::size_t slot(Index i) { return i % chunkSamples; }
    std::byte* chunkOf(Index i) const { return chunks_[i / chunkSamples].data(); }
    // A chunk holds its samples, then their next indices.
    PixelSample* samples(Index i) const { return reinterpret_cast<PixelSample*>(chunkOf(i)); }
    Index* nextSlots(Index i) const
    {
        return reinterpret_cast<Index*>(chunkOf(i) + chunkSamples * sizeof(PixelSample));
    }

    int width_ = 0, height_ = 0;
    LargeArray<Index> heads_;
    RowLocks rowLocks_;
    // Every chunk ever made, in the order they are handed out; the table never moves, so threads
    // read it while another adds to it.
    std::unique_ptr<LargeBlock[]> chunks_;
    std::size_t chunksHeld_ = 0;
    std::size_t chunksUsed_ = 0;  // handed out since the last clear
    std::mutex chunkLock_;
    std::size_t byteLimit_ = 0;
    ThreadLanes<Lane> lanes_;
    ArenaHooks* hooks_ = nullptr;
};

}  // namespace vml
