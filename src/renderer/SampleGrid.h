#pragma once
// The per-pixel sample lists of a pass. Each pixel's list starts with the first sample filed for
// it; later samples are linked in after the first entry that lies farther away than they do.
// Samples and list cells live in arenas that are reset per pass and never move: the grid's own
// pair and one pair per further shading thread, so threads shading different rows file at once
// without a lock.

#include "renderer/ChunkedArena.h"
#include "renderer/PixelSample.h"
#include "renderer/RowLocks.h"
#include "renderer/ThreadLanes.h"

#include <cstddef>
#include <memory>
#include <vector>

namespace vml {

class ArenaHooks;
class SceneFaces;

class SampleGrid {
public:
    // A list cell: the next cell and the sample it holds. The head of a pixel is a cell too.
    struct Cell {
        Cell* next = nullptr;
        PixelSample* sample = nullptr;
    };
    static_assert(sizeof(Cell) == 16);

    explicit SampleGrid(ArenaHooks* hooks = nullptr);

    void setHooks(ArenaHooks* hooks);
    // Per pass: sizes the grid to width x height and the arenas to one row of samples and one
    // row of cells per chunk, then empties every list. False (out of memory reported) when the
    // heads or the arenas cannot be allocated; the grid is then 0 x 0.
    bool setup(int width, int height);
    // Empties every list and resets both arenas; keeps the size.
    void clear();
    // Frees everything (at Close); the grid becomes 0 x 0.
    void release();

    int width() const { return width_; }
    int height() const { return height_; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

    // Copies the sample into pixel (x, y)'s list. Threads may file at once: each takes memory
    // from its own arenas, and row y's lock while it links the sample in. A pixel outside the grid
    // is ignored; an arena that cannot grow drops the sample (out of memory reported). True when
    // the sample was filed.
    bool insertSample(int x, int y, const PixelSample& sample);

    // The head cell of pixel (x, y) (its sample is null when the list is empty); null outside.
    Cell* head(int x, int y);
    const Cell* head(int x, int y) const;
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
    const PixelSample* nearestOfNodeAndMaterial(int x, int y, int nodeId, const vmlMaterial* material,
                                                float depth, float limit, const PixelSample* fallback) const;
    // Same material, any node; the nearest in depth.
    const PixelSample* nearestOfMaterial(int x, int y, const vmlMaterial* material, float depth,
                                         const PixelSample* fallback) const;

    // The grid's own arenas, for tests and memory limits; the arenas of further threads take
    // their limits from these.
    ChunkedArena& sampleArena() { return samples_; }
    ChunkedArena& cellArena() { return cells_; }

private:
    struct Lane {
        ChunkedArena* samples = nullptr;
        ChunkedArena* cells = nullptr;
        std::unique_ptr<ChunkedArena> ownSamples, ownCells;
    };
    Lane* lane();

    int width_ = 0, height_ = 0;
    std::vector<Cell> heads_;
    RowLocks rowLocks_;
    ChunkedArena samples_;
    ChunkedArena cells_;
    ThreadLanes<Lane> lanes_;
    ArenaHooks* hooks_ = nullptr;
};

}  // namespace vml
