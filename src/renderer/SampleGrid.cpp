#include "renderer/SampleGrid.h"

#include "renderer/ArenaHooks.h"
#include "renderer/SceneFaces.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace vml {

SampleGrid::SampleGrid(ArenaHooks* hooks) : hooks_(hooks) {}

SampleGrid::~SampleGrid() = default;

bool SampleGrid::setup(int width, int height)
{
    if (hooks_)
        hooks_->lowMemoryCheck();
    if (width <= 0 || height <= 0) {
        width = height = 0;
    }
    const auto w = static_cast<std::size_t>(width), h = static_cast<std::size_t>(height);
    try {
        if (byteLimit_ != 0 && w * h * sizeof(Index) > byteLimit_)
            throw std::bad_alloc();
        if (!chunks_)
            chunks_ = std::make_unique<LargeBlock[]>(maxChunks);
        if (heads_.size() != w * h) {
            checkAllocation(hooks_, AllocationSite::arena);
            heads_.release();
            heads_ = LargeArray<Index>(w * h);
        }
        rowLocks_.reset(h);
    } catch (const std::bad_alloc&) {
        release();
        if (hooks_)
            hooks_->outOfMemory();
        return false;
    }
    width_ = width;
    height_ = height;
    clear();
    return true;
}

void SampleGrid::clear()
{
    std::fill_n(heads_.data(), heads_.size(), none);
    chunksUsed_ = 0;
    lanes_.restart();
}

void SampleGrid::release()
{
    heads_.release();
    rowLocks_.release();
    width_ = height_ = 0;
    lanes_.release();
    chunks_.reset();
    chunksHeld_ = chunksUsed_ = 0;
}

SampleGrid::Lane* SampleGrid::lane()
{
    // A lane starts without a chunk: it takes one when it files its first sample.
    return lanes_.get([] { return std::make_unique<Lane>(); }, [](Lane& lane) { lane = Lane{}; });
}

bool SampleGrid::takeChunk(Lane& lane)
{
    std::lock_guard guard(chunkLock_);
    if (!chunks_ || chunksUsed_ >= maxChunks)
        return false;
    if (chunksUsed_ == chunksHeld_) {
        // Chunks are handed out in order, so the next one is new.
        if (byteLimit_ != 0 && heads_.size() * sizeof(Index) + (chunksHeld_ + 1) * chunkBytes > byteLimit_)
            return false;
        if (hooks_ && hooks_->refuseAllocation(AllocationSite::arena))
            return false;
        // A chunk's pages are touched only as samples fill them.
        LargeBlock chunk = LargeBlock::tryAllocate(chunkBytes);
        if (chunk.empty())
            return false;
        chunks_[chunksHeld_++] = std::move(chunk);
        if (hooks_)
            hooks_->lowMemoryCheck();
    }
    lane.next = static_cast<Index>(chunksUsed_ * chunkSamples);
    lane.end = static_cast<Index>(lane.next + chunkSamples);
    ++chunksUsed_;
    return true;
}

std::size_t SampleGrid::sampleCount() const
{
    std::size_t free = 0;
    for (std::size_t i = 0; i < lanes_.used(); ++i)
        free += lanes_.lane(i).end - lanes_.lane(i).next;
    return chunksUsed_ * chunkSamples - free;
}

SampleGrid::Index SampleGrid::first(int x, int y) const
{
    if (!contains(x, y))
        return none;
    return heads_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                  static_cast<std::size_t>(x)];
}

std::size_t SampleGrid::count(int x, int y) const
{
    std::size_t n = 0;
    for (Index i = first(x, y); i != none; i = next(i))
        ++n;
    return n;
}

bool SampleGrid::insertSample(int x, int y, const PixelSample& sample)
{
    if (!contains(x, y))
        return false;
    Lane* own = lane();
    if (!own || (own->next == own->end && !takeChunk(*own))) {
        if (hooks_)
            hooks_->outOfMemory();
        return false;
    }
    const Index added = own->next++;
    ::new (static_cast<void*>(&samples(added)[slot(added)])) PixelSample(sample);
    Index& head =
        heads_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)];
    RowLocks::Guard row(rowLocks_, static_cast<std::size_t>(y));
    if (head == none) {
        head = added;
        setNext(added, none);
        return true;
    }
    // After the first entry that lies farther away, else at the end.
    Index at = head;
    for (Index i = head; i != none; i = next(i)) {
        at = i;
        if (this->sample(i).depth < sample.depth)
            break;
    }
    setNext(added, next(at));
    setNext(at, added);
    return true;
}

namespace {

template <class Accept>
const PixelSample* nearestInDepth(const SampleGrid& grid, int x, int y, float depth,
                                  const PixelSample* fallback, Accept accept)
{
    const PixelSample* best = fallback;
    float bestDistance = INFINITY;
    for (SampleGrid::Index i = grid.first(x, y); i != SampleGrid::none; i = grid.next(i)) {
        const PixelSample& s = grid.sample(i);
        if (!accept(s))
            continue;
        const float d = std::fabs(s.depth - depth);
        if (d < bestDistance) {
            bestDistance = d;
            best = &s;
        }
    }
    return best;
}

}  // namespace

const PixelSample* SampleGrid::nearestOnSurface(int x, int y, int nodeId, int face, float depth,
                                                float tolerance, const SceneFaces& faces,
                                                const PixelSample* fallback) const
{
    return nearestInDepth(*this, x, y, depth, fallback, [&](const PixelSample& s) {
        return s.nodeId == nodeId && std::fabs(s.depth - depth) < tolerance &&
               (s.face == face || faces.nodeFacesShareVertex(nodeId, s.face, face));
    });
}

const PixelSample* SampleGrid::nearestOfNodeAndMaterial(int x, int y, int nodeId, MaterialKey material,
                                                        float depth, float limit,
                                                        const PixelSample* fallback) const
{
    return nearestInDepth(*this, x, y, depth, fallback, [&](const PixelSample& s) {
        return s.nodeId == nodeId && s.material == material && s.depth - depth < limit;
    });
}

const PixelSample* SampleGrid::nearestOfMaterial(int x, int y, MaterialKey material, float depth,
                                                 const PixelSample* fallback) const
{
    return nearestInDepth(*this, x, y, depth, fallback,
                          [&](const PixelSample& s) { return s.material == material; });
}

}  // namespace vml
