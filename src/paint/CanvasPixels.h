#pragma once
// The pixel records of the two canvas kinds and the wet cell of the half-resolution one. Every
// field is 32 bits wide; the full canvas's mask is 8 bits in a 32-bit slot. Field meanings:
//   colour      RGBA of the canvas (premultiplied, not clamped while painting)
//   coverage    coverage of the stroke being painted (a running maximum); during a bleed pass,
//               the water that flowed out of the pixel in that pass
//   flow        how much wet paint recently moved through; decays every pass
//   mask        bleed strength 0..255 with which the pixel accepts and passes on wet paint
//   water, edge, dry, wind, wetColour   the wet paint standing on the pixel
//   in*         weighted sums of the wet paint arriving in the current pass

#include "host/Color.h"
#include "host/Point2.h"

#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace vml {

// vmlRaster: colour and the wet layer at full resolution, 25 fields.
struct RasterPixel {
    AColor colour;
    float coverage = 0;
    float flow = 0;
    std::uint8_t mask = 0;
    float water = 0;
    float edge = 0;
    float dry = 0;
    Point2 wind;
    AColor wetColour;
    float inWeight = 0;
    float inEdge = 0;
    float inDry = 0;
    Point2 inWind;
    AColor inColour;
};

// vmlRasterRS: colour and coverage per pixel. Its mask (never 0 on this kind) lies in a plane of
// bytes of its own beside the rows: in the record it would take a 32-bit slot for 8 bits.
struct RasterRSPixel {
    AColor colour;
    float coverage = 0;
};

// vmlRasterRS: one wet cell per 2 x 2 pixel block, 19 floats.
struct WetCell {
    float flow = 0;
    float water = 0;
    float edge = 0;
    float dry = 0;
    Point2 wind;
    AColor wetColour;
    float inWeight = 0;
    float inEdge = 0;
    float inDry = 0;
    Point2 inWind;
    AColor inColour;
};

static_assert(std::is_standard_layout_v<RasterPixel> && std::is_trivially_copyable_v<RasterPixel>);
static_assert(sizeof(RasterPixel) == 25 * 4 && offsetof(RasterPixel, mask) == 6 * 4 &&
              offsetof(RasterPixel, water) == 7 * 4 && offsetof(RasterPixel, wetColour) == 12 * 4 &&
              offsetof(RasterPixel, inColour) == 21 * 4);
static_assert(std::is_standard_layout_v<RasterRSPixel> && sizeof(RasterRSPixel) == 5 * 4);
static_assert(std::is_standard_layout_v<WetCell> && sizeof(WetCell) == 19 * 4 &&
              offsetof(WetCell, wetColour) == 6 * 4 && offsetof(WetCell, inColour) == 15 * 4);

}  // namespace vml
