#include "renderer/StrokesAhead.h"

#include "renderer/BrushCache.h"
#include "renderer/StrokeList.h"
#include "renderer/StrokePaintContext.h"
#include "renderer/vmlStrokeRecord.h"
#include "shell/WorkerPool.h"

namespace vml {

StrokesAhead::StrokesAhead(StrokeList& strokes, const StrokePaintContext& context, std::size_t count)
    : strokes_(strokes), context_(context), count_(count), workers_(&renderWorkers()), slots_(ring),
      state_(std::make_unique<SlotState[]>(ring))
{}

StrokesAhead::~StrokesAhead() = default;

bool StrokesAhead::applies(const StrokeList& strokes, const StrokePaintContext& context, std::size_t count)
{
    if (!context.brushCache)
        return false;
    for (std::size_t i = 0; i < count; ++i)
        if (!strokes.stroke(i).preparable(context))
            return false;
    return true;
}

void StrokesAhead::run(const std::function<void()>& paintLoop)
{
    // Tiles handed to one thread must stay put while another looks up.
    context_.brushCache->keepTiles(true);
    struct Release {
        StrokesAhead& ahead;
        ~Release()
        {
            ahead.stop();
            ahead.context_.brushCache->keepTiles(false);
        }
    };
    WorkerPool& workers = *workers_;
    const auto walkers = static_cast<std::size_t>(workers.threads() - 1);
    workers.runAlongside(
        walkers, [this](std::size_t) { walk(); },
        [&] {
            Release release{*this};
            paintLoop();
        });
}

void StrokesAhead::walk()
{
    for (;;) {
        const std::size_t i = claimed_.fetch_add(1);
        if (i >= count_ || stopping_.load())
            return;
        // Slot i % ring is free once stroke i - ring is on the canvas. Only while a walker waits
        // for it does it take rows of the painter's bleeding: taken between walks, they would
        // hold up the walks the painter then has to make itself, and the rows' pixels would pass
        // between the cores twice.
        workers_->waitOrHelp([&] { return painted_.load(std::memory_order_acquire) + ring > i; });
        if (stopping_.load())
            return;
        prepare(i);
    }
}

void StrokesAhead::prepare(std::size_t i)
{
    const std::size_t slot = i % ring;
    bool made = false;
    try {
        made = strokes_.stroke(i).prepare(context_, slots_[slot]);
    } catch (...) {
        // Left unprepared: the painter prepares it again itself and meets the failure there.
        made = false;
    }
    SlotState& state = state_[slot];
    state.prepared = made;
    state.ready.store(i + 1, std::memory_order_release);
    state.ready.notify_all();
}

void StrokesAhead::paint(std::size_t i, StrokePaintContext& context)
{
    const std::size_t slot = i % ring;
    // Strokes before i are all taken, so either a worker has i or nobody has.
    std::size_t unclaimed = i;
    if (claimed_.compare_exchange_strong(unclaimed, i + 1))
        prepare(i);
    SlotState& state = state_[slot];
    std::size_t ready = state.ready.load(std::memory_order_acquire);
    while (ready != i + 1) {
        // Rather than wait for a worker's walk, walk the next stroke nobody has taken, if its
        // slot is free (stroke next - ring is painted: all before i are).
        std::size_t next = claimed_.load();
        if (next < count_ && next < i + ring && claimed_.compare_exchange_strong(next, next + 1))
            prepare(next);
        else
            state.ready.wait(ready);
        ready = state.ready.load(std::memory_order_acquire);
    }
    vmlStrokeRecord& stroke = strokes_.stroke(i);
    if (state.prepared || stroke.prepare(context, slots_[slot]))
        stroke.paintPrepared(context, *slots_[slot]);
    else
        stroke.paint(context);
    painted_.store(i + 1, std::memory_order_release);
    workers_->signal();
}

void StrokesAhead::stop()
{
    stopping_.store(true);
    // Walkers waiting for a free slot see a change and then the stop.
    painted_.store(count_ + ring, std::memory_order_release);
    workers_->signal();
}

}  // namespace vml
