#pragma once
// The softening both line compositing paths apply to stamped coverage: a 7 x 7 box mean,
// sharpened by the 3 x 3 neighbourhood so that thin, faint coverage fades faster than solid
// lines. Windows are clipped to the canvas.

#include "line/LineCanvas.h"
#include "renderer/ArenaHooks.h"

#include <cstddef>

namespace vml {

class SoftenedCoverage {
public:
    // Keeps a reference to `coverage`, which must outlive this object and stay unchanged.
    // `memory` (may be null) is asked before the table is allocated; a failed allocation throws
    // std::bad_alloc.
    explicit SoftenedCoverage(const LineCanvas& coverage, ArenaHooks* memory = nullptr);
    ~SoftenedCoverage();
    SoftenedCoverage(const SoftenedCoverage&) = delete;
    SoftenedCoverage& operator=(const SoftenedCoverage&) = delete;

    // Mean of the coverage over the in-canvas pixels of the 7 x 7 window centred on (x, y).
    // Precondition: the canvas contains (x, y).
    float mean(int x, int y) const;
    // mean(x, y) for every x of row y into out[0, width). Precondition: the canvas contains row y.
    void meanRow(int y, float* out) const;
    // `a` multiplied by 0.7 c^2 + 0.3 for the coverage c of each in-canvas pixel of the 3 x 3
    // window centred on (x, y), in row order. Precondition: the canvas contains (x, y).
    float sharpen(int x, int y, float a) const;
    // The softened coverage, sharpen(x, y, mean(x, y)).
    float at(int x, int y) const { return sharpen(x, y, mean(x, y)); }

private:
    // Sum over columns x0..x1 and rows y0..y1, inclusive, from the summed-area table.
    double sum(int x0, int y0, int x1, int y1) const;
    std::size_t index(int x, int y) const { return static_cast<std::size_t>(y) * stride_ + x; }

    const LineCanvas& coverage_;
    std::size_t stride_;
    LargeArray<double> sums_;  // one leading row and column of zeros; memory of an earlier table
};

}  // namespace vml
