#pragma once
// Shades one image row: every pixel left to right, each pixel's fragments front to back, and
// composites them over the background into premultiplied 16-bit RGBA and the G-buffer.
//
// Per sub-sample transmittance hides what nearer opaque fragments cover: a fragment is shaded
// only when some of its samples can still be seen, and adds transmittance x out.c on each of
// them; a pixel stops at the first fragment after which every sample is opaque. Transparency
// outside 0..1 is clamped.

#include "host/Color.h"
#include "standalone/scanline/Fragment.h"
#include "standalone/scanline/GBufferTarget.h"
#include "standalone/scanline/ScanlineShadeContext.h"
#include "standalone/scanline/ShadingFrame.h"

#include <cstdint>
#include <span>

namespace standalone::scanline {

class RowShader {
public:
    explicit RowShader(const ShadingFrame& frame) : frame_(frame), sc_(frame) {}

    // fragments: row y's fragments in fragmentBefore order. Returns the number of shade calls.
    std::uint64_t shadeRow(int y, std::span<const Fragment> fragments, BMM_Color_64* pixels,
                           GBufferTarget& gbuffer);

private:
    AColor backgroundAt(int x, int y);

    const ShadingFrame& frame_;
    ScanlineShadeContext sc_;
};

// 0..1 to 16 bits, truncated after clamping.
std::uint16_t toChannel16(float v);

}  // namespace standalone::scanline
