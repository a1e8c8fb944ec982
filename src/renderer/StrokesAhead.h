#pragma once
// Strokes walked ahead of the painter. While the render thread paints the strokes in order, the
// render workers prepare the ones after it (their walks, which read the samples and brush tiles
// but never the canvas) into a ring of slots; the render thread deposits each walk's paint on
// the canvas in turn. It walks a stroke itself when no worker has taken it yet, and while a worker is still
// on the one it needs, it walks the next ones nobody has taken. The workers in turn take rows of
// the render thread's bleeding (WorkerPool::waitOrHelp) while they wait for a free slot. The
// canvas receives the same deposits in the same order as when every stroke is painted by itself,
// so the pixels are the same.

#include <atomic>
#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

namespace vml {

class PreparedStroke;
class StrokeList;
class WorkerPool;
struct StrokePaintContext;

class StrokesAhead {
public:
    // How far the workers may run ahead of the painter, in strokes.
    static constexpr std::size_t ring = 256;

    // Strokes [0, count) of `strokes`, prepared with `context` (its brush cache keeps the tiles it
    // hands out while the workers walk).
    StrokesAhead(StrokeList& strokes, const StrokePaintContext& context, std::size_t count);
    ~StrokesAhead();
    StrokesAhead(const StrokesAhead&) = delete;
    StrokesAhead& operator=(const StrokesAhead&) = delete;

    // True when every stroke can be prepared ahead, so the render thread never has to evaluate a
    // brush itself while the workers walk.
    static bool applies(const StrokeList& strokes, const StrokePaintContext& context, std::size_t count);

    // Runs `paintLoop` on the calling thread while the workers prepare; it must paint the strokes
    // through paint(), in order, and may stop early (the workers then stop too).
    void run(const std::function<void()>& paintLoop);
    // Paints stroke i (the one after the last painted) with its prepared walk.
    void paint(std::size_t i, StrokePaintContext& context);

private:
    // Claims strokes in order and prepares each once its slot is free, until none is left.
    void walk();
    void prepare(std::size_t i);
    void stop();

    StrokeList& strokes_;
    const StrokePaintContext& context_;
    const std::size_t count_;
    WorkerPool* workers_;
    std::vector<std::unique_ptr<PreparedStroke>> slots_;
    // What the painter and the walkers tell each other lies on cache lines of its own: a walker
    // finishing one slot must not take the line of the slot the painter is reading from its core.
    struct alignas(64) SlotState {
        std::atomic<std::size_t> ready{0};  // 1 + the stroke whose walk the slot holds; 0 before
        bool prepared = false;              // prepare's answer for that stroke
    };
    std::unique_ptr<SlotState[]> state_;
    alignas(64) std::atomic<std::size_t> claimed_{0};  // strokes [0, claimed_) are taken by a walker
    alignas(64) std::atomic<std::size_t> painted_{0};  // strokes [0, painted_) are on the canvas
    std::atomic<bool> stopping_{false};
};

}  // namespace vml
