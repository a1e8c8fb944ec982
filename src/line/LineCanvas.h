#pragma once
// Float canvases of one frame's line drawing (coverage, fade, width factors): one value per
// pixel, row-major, row 0 at the top, the output bitmap's size, in large pages (host/LargeBlock.h).

#include "host/LargeBlock.h"

#include <algorithm>
#include <cstddef>
#include <limits>

namespace vml {

struct LineCanvas {
    int width = 0;
    int height = 0;
    LargeArray<float> pixels;

    LineCanvas() = default;
    LineCanvas(int w, int h, float value = 0.0f) { reset(w, h, value); }

    // Resizes (non-positive sizes give an empty canvas) and fills every pixel with `value`.
    void reset(int w, int h, float value = 0.0f)
    {
        width = std::max(w, 0);
        height = std::max(h, 0);
        const std::size_t count = static_cast<std::size_t>(width) * height;
        // A new block is zeros already.
        const bool fresh = pixels.size() != count;
        if (fresh) {
            pixels.release();
            pixels = LargeArray<float>(count);
        }
        if (!fresh || value != 0.0f)
            std::fill(pixels.begin(), pixels.end(), value);
        if (pixels.empty())
            width = height = 0;
    }
    bool contains(int x, int y) const { return x >= 0 && x < width && y >= 0 && y < height; }
    // Precondition: contains(x, y).
    float& at(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
    float at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// Where one stamp writes: both canvases are raised, never lowered, by a value v and v times the
// stamp's depth-fade factor. Writes outside the canvases, or outside rows [firstRow, endRow), are
// dropped. Both canvases share a size.
struct LineStampTarget {
    LineCanvas& coverage;
    LineCanvas& fade;
    float fadeFactor = 1.0f;
    int firstRow = 0;
    int endRow = std::numeric_limits<int>::max();

    void raise(int x, int y, float v)
    {
        if (!coverage.contains(x, y) || y < firstRow || y >= endRow)
            return;
        const std::size_t i = static_cast<std::size_t>(y) * coverage.width + x;
        coverage.pixels[i] = std::max(coverage.pixels[i], v);
        fade.pixels[i] = std::max(fade.pixels[i], v * fadeFactor);
    }
};

}  // namespace vml
