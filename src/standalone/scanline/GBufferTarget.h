#pragma once
// Writes the G-buffer channels present on the output bitmap, one pixel at a time. Pixels are
// independent, so rows may be written from different threads.

#include "host/Bitmap.h"
#include "standalone/scanline/SubPixelMask.h"

#include <cstdint>

namespace standalone::scanline {

// What the G-buffer records of a pixel: its front fragment and the final colour.
struct GBufferPixel {
    bool hasFragment = false;
    float z = BMM_BACKGROUND_Z;
    std::uint8_t mtlId = 0;
    std::uint16_t nodeId = 0;  // the node's object channel
    std::uint16_t renderId = BMM_BACKGROUND_NODE_RENDER_ID;
    DWORD normal = 0;
    SampleMask mask = 0;
    Point2 uv;
    Point2 velocity;      // pixels per frame
    Color color, transp;  // front fragment's shading output
    Color background;
    Color finalColor;  // premultiplied pixel colour
};

class GBufferTarget {
public:
    explicit GBufferTarget(Bitmap& bitmap);
    // Channels the renderer fills; others present on the bitmap are left alone.
    static constexpr ULONG filledChannels =
        BMM_CHAN_Z | BMM_CHAN_MTL_ID | BMM_CHAN_NODE_ID | BMM_CHAN_UV | BMM_CHAN_NORMAL | BMM_CHAN_REALPIX |
        BMM_CHAN_COVERAGE | BMM_CHAN_BG | BMM_CHAN_NODE_RENDER_ID | BMM_CHAN_COLOR | BMM_CHAN_TRANSP |
        BMM_CHAN_VELOC | BMM_CHAN_WEIGHT | BMM_CHAN_MASK;
    void write(int x, int y, const GBufferPixel& px);

private:
    int width_;
    float* z_;
    std::uint8_t* mtlId_;
    std::uint16_t* nodeId_;
    Point2* uv_;
    DWORD* normal_;
    DWORD* realPix_;
    std::uint8_t* coverage_;
    Color24* bg_;
    std::uint16_t* renderId_;
    Color24* color_;
    Color24* transp_;
    Point2* veloc_;
    Color24* weight_;
    std::uint16_t* mask_;
};

// Shared-exponent packing of a colour: mantissas r, g, b in bits 0..23 (low byte red), exponent + 128
// in bits 24..31; zero for black.
DWORD packRealPixel(const Color& c);
Color24 toColor24(const Color& c);

}  // namespace standalone::scanline
