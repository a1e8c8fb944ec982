#pragma once
// The per-frame work canvases of the line effect, shared by all its elements in one frame: the
// stamp union with and without depth fade, the edge mask and the width factors, all of the
// output bitmap's size.

#include "line/EdgeDetection.h"
#include "line/LineBands.h"
#include "line/LineCanvas.h"
#include "renderer/ArenaHooks.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <vector>

namespace vml {

struct LineFrameCanvases {
    LineCanvas lineCoverage;
    LineCanvas lineFade;
    LineCanvas deformMap;
    std::vector<std::uint8_t> edgeMask;
    int width = 0;
    int height = 0;
    // Asked before these canvases and every buffer of the frame's line drawing are allocated
    // (the active painterly renderer's hooks, or null). Not owned.
    ArenaHooks* memory = nullptr;

    // Sizes every canvas to width x height, reallocating only when the size changes, and clears
    // them. Throws std::bad_alloc when the memory is not there (or `memory` refuses it, asked
    // also when the canvases are kept, so a frame asks the same whatever the last one left);
    // the canvases are then empty.
    void resize(int w, int h)
    {
        if (memory && memory->refuseAllocation(AllocationSite::lineBuffer)) {
            release();
            throw std::bad_alloc();
        }
        w = std::max(w, 0), h = std::max(h, 0);
        if (w == width && h == height) {
            clear();
            return;
        }
        width = height = 0;
        try {
            lineCoverage.reset(w, h);
            lineFade.reset(w, h);
            deformMap.reset(w, h, -1.0f);
            edgeMask.assign(static_cast<std::size_t>(w) * h, 0);
        } catch (...) {
            release();
            throw;
        }
        width = w, height = h;
    }

    // Back to an empty set before the next element: no coverage, no edges, no width factors.
    void clear()
    {
        forEachLineBand(height, [this](int y0, int y1) {
            const std::size_t first = static_cast<std::size_t>(y0) * width;
            const std::size_t count = static_cast<std::size_t>(y1 - y0) * width;
            std::fill_n(lineCoverage.pixels.begin() + first, count, 0.0f);
            std::fill_n(lineFade.pixels.begin() + first, count, 0.0f);
            std::fill_n(deformMap.pixels.begin() + first, count, -1.0f);
            std::fill_n(edgeMask.begin() + first, count, std::uint8_t{0});
        });
    }

    // Gives the memory back.
    void release()
    {
        lineCoverage = LineCanvas();
        lineFade = LineCanvas();
        deformMap = LineCanvas();
        std::vector<std::uint8_t>().swap(edgeMask);
        width = height = 0;
    }

    EdgeMask mask() { return {edgeMask.empty() ? nullptr : edgeMask.data(), width, height}; }
};

}  // namespace vml
