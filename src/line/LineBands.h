#pragma once
// Splits a canvas's rows into bands of a fixed height for the render workers. The bands do not
// depend on the thread count, and each band's work writes only its own rows, so the line effect
// gives the same pixels whatever the number of threads.

#include "shell/WorkerPool.h"

#include <algorithm>
#include <cstddef>

namespace vml {

inline constexpr int lineBandRows = 16;

inline int lineBandCount(int height) { return height > 0 ? (height + lineBandRows - 1) / lineBandRows : 0; }

// Calls band(y0, y1) for the rows [y0, y1) of every band of rows [first, last), in any order,
// on the render workers; returns when all are done.
template <class F> void forEachLineBand(int first, int last, F&& band)
{
    if (last <= first)
        return;
    const int count = lineBandCount(last - first);
    renderWorkers().run(static_cast<std::size_t>(count), [&](std::size_t i) {
        const int y0 = first + static_cast<int>(i) * lineBandRows;
        band(y0, std::min(y0 + lineBandRows, last));
    });
}

template <class F> void forEachLineBand(int height, F&& band) { forEachLineBand(0, height, band); }

}  // namespace vml
