#pragma once
// One shading sample of a painterly object at one pixel, as the material files it into the
// renderer's sample grid.

#include <array>
#include <cstdint>

namespace vml {

// Tells the material that filed a sample from every other one: vmlMaterial::sampleKey(). A key
// is all the lists need of the material (they only compare it), and half the size of a pointer.
using MaterialKey = std::uint32_t;

struct PixelSample {
    // r, g, b: final colour x 255 truncated; a: (1 - mean transparency) x 255 truncated.
    std::array<std::uint8_t, 4> color{};
    std::int32_t nodeId = 0;
    std::int32_t face = 0;
    float depth = 0.0f;        // camera-space z (negative; larger is nearer)
    float weight = 0.0f;       // share of the pixel the sample stands for, 0..1
    std::uint32_t normal = 0;  // CompressNormal of the shading normal
    MaterialKey material = 0;
};

static_assert(sizeof(PixelSample) == 28);

}  // namespace vml
