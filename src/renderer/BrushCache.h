#pragma once
// Rendered brush tiles: n tiles of s x s bytes (the map's mono value x 255), one per (map, key),
// reused least recently used first. Prepared per pass; filled lazily, on the render thread or,
// through lookupShared, on the threads that walk strokes ahead of the painting.

#include "renderer/BrushTileSampler.h"
#include "renderer/VmlRenderContext.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

class RenderGlobalContext;
class Texmap;

namespace vml {

class BrushCache {
public:
    struct Slot {
        Texmap* map = nullptr;  // null: empty
        std::uint32_t key = 0;
        std::size_t offset = 0;  // of its tile in the block
        int newer = -1;          // LRU neighbours (slot indices), -1 at the ends
        int older = -1;
    };

    BrushCache();
    BrushCache(const BrushCache&) = delete;
    BrushCache& operator=(const BrushCache&) = delete;

    // Per pass: (re)allocates for tile size s and count n when they changed or nothing is
    // allocated, then empties every slot (tile i at i x s x s, slots linked in order).
    // Throws std::bad_alloc when the block cannot be allocated (the render then fails) and
    // std::invalid_argument when s or n is below 1.
    void prepare(int tileSize, int tileCount);
    void release();

    // The frame the tiles are rendered in (its time); may be changed between lookups.
    void setFrame(RenderGlobalContext* gc, TimeValue t) { context_.setFrame(gc, t); }

    // The tile of (map, key), rendered on a miss; the slot becomes the most recent. Null when the
    // cache is not prepared or map is null.
    const std::uint8_t* lookup(Texmap* map, std::uint32_t key);
    // As lookup, from any thread: the cache's lock is held throughout, and `beforeRender(map)`
    // runs (under it) before a tile of the map is rendered. While tiles are kept, a miss never
    // evicts: with every slot taken, its tile goes to an extra slot outside the n, kept until the
    // next prepare, so a tile handed out to one thread stays put while another looks up.
    const std::uint8_t* lookupShared(Texmap* map, std::uint32_t key,
                                     const std::function<void(Texmap*)>& beforeRender);
    void keepTiles(bool on)
    {
        std::lock_guard guard(lock_);
        keepTiles_ = on;
        advanceGeneration();
    }
    // Changes whenever a tile handed out may have moved (an eviction, a prepare, tiles kept or
    // no longer kept): a tile remembered with the generation it was looked up in is still valid
    // while the generation is the same. Generations are drawn from one count for the whole
    // process, so a cache made where an earlier one lived never answers that one's generation.
    std::uint64_t generation() const { return generation_.load(std::memory_order_acquire); }
    // A sampler over the tile of (map, key), as lookup.
    BrushTileSampler sampler(Texmap* map, std::uint32_t key) { return {lookup(map, key), tileSize_}; }

    int tileSize() const { return tileSize_; }
    int tileCount() const { return tileCount_; }
    // Texture-space step between texels: 1 / s.
    float texelStep() const { return tileSize_ > 0 ? 1.0f / static_cast<float>(tileSize_) : 0.0f; }
    // Tiles rendered since prepare (misses).
    std::size_t tilesRendered() const { return tilesRendered_; }
    // Slot indices, most recent first.
    std::vector<int> lruOrder() const;
    const Slot& slot(int i) const { return slots_[static_cast<std::size_t>(i)]; }
    VmlRenderContext& context() { return context_; }

private:
    void advanceGeneration();
    void moveToFront(int i);
    void renderTile(Slot& slot);
    void renderTileInto(Texmap* map, std::uint8_t* tile);
    // The slot of (map, key), or -1 (found) and an empty slot or -1 (none empty).
    int find(Texmap* map, std::uint32_t key, int& empty) const;

    int tileSize_ = 0, tileCount_ = 0;
    std::unique_ptr<std::uint8_t[]> block_;
    std::vector<Slot> slots_;
    int mostRecent_ = -1, leastRecent_ = -1;
    std::size_t tilesRendered_ = 0;
    VmlRenderContext context_;
    std::mutex lock_;
    bool keepTiles_ = false;
    std::atomic<std::uint64_t> generation_;
    struct ExtraTile {
        Texmap* map;
        std::uint32_t key;
        std::unique_ptr<std::uint8_t[]> tile;
    };
    std::vector<ExtraTile> extras_;
};

}  // namespace vml
