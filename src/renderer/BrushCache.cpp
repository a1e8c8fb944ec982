#include "renderer/BrushCache.h"

#include "host/Texmap.h"

#include <atomic>
#include <cmath>
#include <limits>
#include <new>
#include <stdexcept>

namespace vml {

namespace {

std::uint64_t nextGeneration()
{
    static std::atomic<std::uint64_t> last{0};
    return last.fetch_add(1, std::memory_order_relaxed) + 1;
}

}  // namespace

BrushCache::BrushCache() : generation_(nextGeneration()) {}

void BrushCache::advanceGeneration() { generation_.store(nextGeneration(), std::memory_order_release); }

void BrushCache::prepare(int tileSize, int tileCount)
{
    if (tileSize < 1 || tileCount < 1)
        throw std::invalid_argument("brush cache: tile size and count must be positive");
    if (tileSize != tileSize_ || tileCount != tileCount_ || !block_) {
        release();
        const auto s = static_cast<std::size_t>(tileSize), n = static_cast<std::size_t>(tileCount);
        if (s > std::numeric_limits<std::size_t>::max() / s / n)
            throw std::bad_alloc();
        block_ = std::make_unique<std::uint8_t[]>(s * s * n);
        slots_.resize(n);
        tileSize_ = tileSize;
        tileCount_ = tileCount;
    }
    const std::size_t tileBytes = static_cast<std::size_t>(tileSize_) * static_cast<std::size_t>(tileSize_);
    for (int i = 0; i < tileCount_; ++i) {
        Slot& s = slots_[static_cast<std::size_t>(i)];
        s = Slot{};
        s.offset = static_cast<std::size_t>(i) * tileBytes;
        s.newer = i - 1;
        s.older = i + 1 < tileCount_ ? i + 1 : -1;
    }
    mostRecent_ = 0;
    leastRecent_ = tileCount_ - 1;
    tilesRendered_ = 0;
    extras_.clear();
    advanceGeneration();
}

void BrushCache::release()
{
    block_.reset();
    slots_.clear();
    slots_.shrink_to_fit();
    tileSize_ = tileCount_ = 0;
    mostRecent_ = leastRecent_ = -1;
    tilesRendered_ = 0;
    extras_.clear();
    advanceGeneration();
}

void BrushCache::moveToFront(int i)
{
    if (i == mostRecent_)
        return;
    Slot& s = slots_[static_cast<std::size_t>(i)];
    // Unlink; i is not the front, so it has a newer neighbour.
    slots_[static_cast<std::size_t>(s.newer)].older = s.older;
    if (s.older >= 0)
        slots_[static_cast<std::size_t>(s.older)].newer = s.newer;
    else
        leastRecent_ = s.newer;
    s.newer = -1;
    s.older = mostRecent_;
    slots_[static_cast<std::size_t>(mostRecent_)].newer = i;
    mostRecent_ = i;
}

const std::uint8_t* BrushCache::lookup(Texmap* map, std::uint32_t key)
{
    if (!map || !block_)
        return nullptr;
    int found = -1;
    for (int i = mostRecent_; i >= 0; i = slots_[static_cast<std::size_t>(i)].older) {
        const Slot& s = slots_[static_cast<std::size_t>(i)];
        if (!s.map || (s.map == map && s.key == key)) {
            found = i;
            break;
        }
    }
    const bool hit = found >= 0 && slots_[static_cast<std::size_t>(found)].map;
    if (found < 0)
        found = leastRecent_;
    Slot& slot = slots_[static_cast<std::size_t>(found)];
    if (!hit) {
        if (slot.map)
            advanceGeneration();
        slot.map = map;
        slot.key = key;
        renderTile(slot);
    }
    moveToFront(found);
    return block_.get() + slot.offset;
}

const std::uint8_t* BrushCache::lookupShared(Texmap* map, std::uint32_t key,
                                             const std::function<void(Texmap*)>& beforeRender)
{
    std::lock_guard guard(lock_);
    if (!map || !block_)
        return nullptr;
    int empty = -1;
    const int found = find(map, key, empty);
    if (found < 0 && keepTiles_ && empty < 0) {
        for (const ExtraTile& e : extras_)
            if (e.map == map && e.key == key)
                return e.tile.get();
        beforeRender(map);
        auto tile = std::make_unique<std::uint8_t[]>(static_cast<std::size_t>(tileSize_) * tileSize_);
        renderTileInto(map, tile.get());
        extras_.push_back({map, key, std::move(tile)});
        return extras_.back().tile.get();
    }
    if (found < 0)
        beforeRender(map);
    return lookup(map, key);
}

int BrushCache::find(Texmap* map, std::uint32_t key, int& empty) const
{
    empty = -1;
    for (int i = mostRecent_; i >= 0; i = slots_[static_cast<std::size_t>(i)].older) {
        const Slot& s = slots_[static_cast<std::size_t>(i)];
        if (!s.map) {
            empty = i;
            return -1;
        }
        if (s.map == map && s.key == key)
            return i;
    }
    return -1;
}

void BrushCache::renderTile(Slot& slot) { renderTileInto(slot.map, block_.get() + slot.offset); }

void BrushCache::renderTileInto(Texmap* map, std::uint8_t* tile)
{
    const int s = tileSize_;
    const float step = 1.0f / static_cast<float>(s);
    for (int j = 0; j < s; ++j) {
        for (int i = 0; i < s; ++i) {
            context_.setTextureCoords({static_cast<float>(i) * step, static_cast<float>(j) * step, 0.0f},
                                      {step, step, 0.0f});
            const float m = map->EvalMono(context_);
            std::uint8_t byte = 0;
            if (m > 1.0f)
                byte = 255;
            else if (m >= 0.0f)
                byte = static_cast<std::uint8_t>(std::trunc(m * 255.0f));
            tile[static_cast<std::size_t>(j) * static_cast<std::size_t>(s) + static_cast<std::size_t>(i)] =
                byte;
        }
    }
    ++tilesRendered_;
}

std::vector<int> BrushCache::lruOrder() const
{
    std::vector<int> order;
    for (int i = mostRecent_; i >= 0; i = slots_[static_cast<std::size_t>(i)].older)
        order.push_back(i);
    return order;
}

}  // namespace vml
