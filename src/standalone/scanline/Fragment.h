#pragma once
// One A-buffer fragment: the part of one face seen by one pixel.

#include "host/Point3.h"
#include "standalone/scanline/SubPixelMask.h"

#include <cstdint>
#include <tuple>

namespace standalone::scanline {

struct Fragment {
    int x = 0;                  // pixel column
    SampleMask mask = 0;        // covered sub-samples
    float depth = 0.0f;         // camera-space z at the centre of the covered samples
    Point3 bary;                // barycentric coordinates of the face at that centre
    std::uint32_t polygon = 0;  // index of the frame's screen polygon
};

// Pixel order within a row, then nearest first; equal depths fall back to submission order so
// the order never depends on how the work was split.
inline bool fragmentBefore(const Fragment& a, const Fragment& b)
{
    return std::tuple(a.x, -a.depth, a.polygon) < std::tuple(b.x, -b.depth, b.polygon);
}

}  // namespace standalone::scanline
