#pragma once
// One shading sample of a painterly object at one pixel, as the material files it into the
// renderer's sample grid.

#include <array>
#include <cstdint>

namespace vml {

class vmlMaterial;

struct PixelSample {
    // r, g, b: final colour x 255 truncated; a: (1 - mean transparency) x 255 truncated.
    std::array<std::uint8_t, 4> color{};
    std::int32_t nodeId = 0;
    std::int32_t face = 0;
    float depth = 0.0f;        // camera-space z (negative; larger is nearer)
    float weight = 0.0f;       // share of the pixel the sample stands for, 0..1
    std::uint32_t normal = 0;  // CompressNormal of the shading normal
    const vmlMaterial* material = nullptr;
};

static_assert(sizeof(PixelSample) == 32);

}  // namespace vml
