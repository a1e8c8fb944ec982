#include "renderer/SampleGrid.h"

#include "renderer/ArenaHooks.h"
#include "renderer/SceneFaces.h"

#include <cmath>
#include <new>

namespace vml {

SampleGrid::SampleGrid(ArenaHooks* hooks) : samples_(hooks), cells_(hooks), hooks_(hooks) {}

void SampleGrid::setHooks(ArenaHooks* hooks)
{
    hooks_ = hooks;
    samples_.setHooks(hooks);
    cells_.setHooks(hooks);
}

bool SampleGrid::setup(int width, int height)
{
    if (width <= 0 || height <= 0) {
        width = height = 0;
    }
    const auto w = static_cast<std::size_t>(width), h = static_cast<std::size_t>(height);
    try {
        if (heads_.size() != w * h) {
            heads_.clear();
            heads_.shrink_to_fit();
            heads_.resize(w * h);
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
    // One row of samples and one row of cells per chunk; rows beyond the image grow alike.
    const bool samples = samples_.setup(w * sizeof(PixelSample), h, w * sizeof(PixelSample));
    const bool cells = cells_.setup(w * sizeof(Cell), h, w * sizeof(Cell));
    if (!samples || !cells) {
        release();
        return false;
    }
    clear();
    return true;
}

void SampleGrid::clear()
{
    for (Cell& c : heads_)
        c = Cell{};
    samples_.reset();
    cells_.reset();
    lanes_.restart();
}

void SampleGrid::release()
{
    heads_.clear();
    heads_.shrink_to_fit();
    rowLocks_.release();
    width_ = height_ = 0;
    samples_.release();
    cells_.release();
    lanes_.release();
}

SampleGrid::Lane* SampleGrid::lane()
{
    return lanes_.get(
        [this] {
            auto made = std::make_unique<Lane>();
            if (lanes_.held() == 0) {
                made->samples = &samples_;
                made->cells = &cells_;
            } else {
                made->ownSamples = std::make_unique<ChunkedArena>(hooks_);
                made->ownCells = std::make_unique<ChunkedArena>(hooks_);
                made->samples = made->ownSamples.get();
                made->cells = made->ownCells.get();
            }
            return made;
        },
        [this](Lane& lane) {
            if (!lane.ownSamples)
                return;
            // A further thread's arenas grow a row at a time like the grid's own, under the
            // same limits.
            const auto w = static_cast<std::size_t>(width_);
            lane.ownSamples->setHooks(hooks_);
            lane.ownCells->setHooks(hooks_);
            lane.ownSamples->setByteLimit(samples_.byteLimit());
            lane.ownCells->setByteLimit(cells_.byteLimit());
            lane.ownSamples->setup(0, 0, w * sizeof(PixelSample));
            lane.ownCells->setup(0, 0, w * sizeof(Cell));
        });
}

SampleGrid::Cell* SampleGrid::head(int x, int y)
{
    if (!contains(x, y))
        return nullptr;
    return &heads_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                   static_cast<std::size_t>(x)];
}

const SampleGrid::Cell* SampleGrid::head(int x, int y) const
{
    return const_cast<SampleGrid*>(this)->head(x, y);
}

std::size_t SampleGrid::count(int x, int y) const
{
    std::size_t n = 0;
    for (const Cell* c = head(x, y); c && c->sample; c = c->next)
        ++n;
    return n;
}

bool SampleGrid::insertSample(int x, int y, const PixelSample& sample)
{
    Cell* h = head(x, y);
    if (!h)
        return false;
    Lane* arenas = lane();
    if (!arenas) {
        if (hooks_)
            hooks_->outOfMemory();
        return false;
    }
    auto* copy = static_cast<PixelSample*>(arenas->samples->allocate(sizeof(PixelSample)));
    if (!copy)
        return false;
    *copy = sample;
    RowLocks::Guard row(rowLocks_, static_cast<std::size_t>(y));
    if (!h->sample) {
        h->sample = copy;
        return true;
    }
    auto* cell = static_cast<Cell*>(arenas->cells->allocate(sizeof(Cell)));
    if (!cell)
        return false;
    // After the first entry that lies farther away, else at the end.
    Cell* at = h;
    for (Cell* c = h; c; c = c->next) {
        at = c;
        if (c->sample->depth < sample.depth)
            break;
    }
    cell->sample = copy;
    cell->next = at->next;
    at->next = cell;
    return true;
}

namespace {

template <class Accept>
const PixelSample* nearestInDepth(const SampleGrid::Cell* c, float depth, const PixelSample* fallback,
                                  Accept accept)
{
    const PixelSample* best = fallback;
    float bestDistance = INFINITY;
    for (; c && c->sample; c = c->next) {
        const PixelSample& s = *c->sample;
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
    return nearestInDepth(head(x, y), depth, fallback, [&](const PixelSample& s) {
        return s.nodeId == nodeId && std::fabs(s.depth - depth) < tolerance &&
               (s.face == face || faces.nodeFacesShareVertex(nodeId, s.face, face));
    });
}

const PixelSample* SampleGrid::nearestOfNodeAndMaterial(int x, int y, int nodeId, const vmlMaterial* material,
                                                        float depth, float limit,
                                                        const PixelSample* fallback) const
{
    return nearestInDepth(head(x, y), depth, fallback, [&](const PixelSample& s) {
        return s.nodeId == nodeId && s.material == material && s.depth - depth < limit;
    });
}

const PixelSample* SampleGrid::nearestOfMaterial(int x, int y, const vmlMaterial* material, float depth,
                                                 const PixelSample* fallback) const
{
    return nearestInDepth(head(x, y), depth, fallback,
                          [&](const PixelSample& s) { return s.material == material; });
}

}  // namespace vml
