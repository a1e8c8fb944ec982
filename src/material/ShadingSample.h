#pragma once
// What stroke placement and the pixel sample read of one shading sample, taken from the host's
// shading context once the material has shaded it, so both can be built and tested without it.

#include "host/Color.h"
#include "host/Point3.h"
#include "renderer/RowRecords.h"

#include <array>
#include <cstdint>

class ShadeContext;

namespace vml {

class vmlMaterial;
struct PixelSample;

struct ShadingSample {
    RowSampleQuery where;  // pixel, sub-pixel, node id, face, camera-space depth
    Point3 normal;         // shading normal (not necessarily unit)
    Color color;           // straight colour, 0..1
    Color transparency;

    // sc after shading: its output record holds the straight colour.
    static ShadingSample from(ShadeContext& sc);
};

// r, g, b = colour x 255 truncated, a = (1 - mean transparency) x 255 truncated; each byte
// clamped to 0..255 (NaN gives 0), so out-of-range shading cannot wrap around.
std::array<std::uint8_t, 4> sampleColorBytes(const Color& color, const Color& transparency);

// The shading normal, normalised and packed.
std::uint32_t packedSampleNormal(const Point3& normal);

// Weight of a sample by its distance from the pixel centre: 1 at the centre, 0 from the
// inscribed circle outwards.
float pixelSampleWeight(const Point2& subPixel);

PixelSample makePixelSample(const ShadingSample& sample, const vmlMaterial* material);

}  // namespace vml
