#pragma once
// The A-buffer's sub-pixel pattern: a regular 4 x 4 grid of samples per pixel, bit i of a 16-bit
// mask standing for the sample in row i / 4 (top first), column i % 4 (left first).

#include "host/Point2.h"

#include <bit>
#include <cmath>
#include <cstdint>

namespace standalone::scanline {

using SampleMask = std::uint16_t;

constexpr int subSampleCount = 16;
constexpr SampleMask fullMask = 0xFFFF;

// Offset of sample i from the pixel's top-left corner.
constexpr float sampleOffsetX(int i) { return (static_cast<float>(i & 3) + 0.5f) * 0.25f; }
constexpr float sampleOffsetY(int i) { return (static_cast<float>(i >> 2) + 0.5f) * 0.25f; }

inline int sampleCount(SampleMask mask) { return std::popcount(mask); }

// Mean offset of the samples in a non-empty mask; the pixel centre for an empty one.
inline Point2 maskCentroid(SampleMask mask)
{
    if (mask == 0 || mask == fullMask)
        return {0.5f, 0.5f};
    float sx = 0.0f, sy = 0.0f;
    int n = 0;
    for (SampleMask m = mask; m; m &= static_cast<SampleMask>(m - 1)) {
        int i = std::countr_zero(m);
        sx += sampleOffsetX(i), sy += sampleOffsetY(i), ++n;
    }
    return {sx / static_cast<float>(n), sy / static_cast<float>(n)};
}

// Coverage channel value: the covered fraction of the pixel scaled to 0..255, rounded.
inline std::uint8_t coverageByte(SampleMask mask)
{
    return static_cast<std::uint8_t>(std::lround(sampleCount(mask) * 255.0 / subSampleCount));
}

}  // namespace standalone::scanline
