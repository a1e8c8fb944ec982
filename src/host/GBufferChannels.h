#pragma once
// G-buffer channel bits, and the element type each channel stores per pixel.

#include "host/MaxTypes.h"
#include "host/Point2.h"

#include <cstdint>

constexpr ULONG BMM_CHAN_NONE = 0;
constexpr ULONG BMM_CHAN_Z = 0x1;                 // float, camera-space z of the front fragment
constexpr ULONG BMM_CHAN_MTL_ID = 0x2;            // uint8, material-effects id
constexpr ULONG BMM_CHAN_NODE_ID = 0x4;           // uint16, node id
constexpr ULONG BMM_CHAN_UV = 0x8;                // Point2
constexpr ULONG BMM_CHAN_NORMAL = 0x10;           // uint32, CompressNormal of the camera-space normal
constexpr ULONG BMM_CHAN_REALPIX = 0x20;          // uint32, shared-exponent colour
constexpr ULONG BMM_CHAN_COVERAGE = 0x40;         // uint8, 255 = front fragment covers the pixel
constexpr ULONG BMM_CHAN_BG = 0x80;               // Color24, background behind the fragment
constexpr ULONG BMM_CHAN_NODE_RENDER_ID = 0x100;  // uint16, 0xFFFF for background
constexpr ULONG BMM_CHAN_COLOR = 0x200;           // Color24
constexpr ULONG BMM_CHAN_TRANSP = 0x400;          // Color24
constexpr ULONG BMM_CHAN_VELOC = 0x800;           // Point2, pixels per frame
constexpr ULONG BMM_CHAN_WEIGHT = 0x1000;         // Color24
constexpr ULONG BMM_CHAN_MASK = 0x2000;           // uint16, sub-pixel coverage mask
constexpr int BMM_CHAN_COUNT = 14;

// What a renderer makes on the output bitmap unless the host asks for other channels
// (RendParams::gbufferChannels): the channels the system's effects read, plus UV and velocity.
constexpr ULONG BMM_CHAN_RENDER_DEFAULT = BMM_CHAN_Z | BMM_CHAN_MTL_ID | BMM_CHAN_NODE_RENDER_ID |
                                          BMM_CHAN_NORMAL | BMM_CHAN_COVERAGE | BMM_CHAN_UV | BMM_CHAN_VELOC;

constexpr float BMM_BACKGROUND_Z = -1.0e30f;
constexpr std::uint16_t BMM_BACKGROUND_NODE_RENDER_ID = 0xFFFF;

struct Color24 {
    std::uint8_t r = 0, g = 0, b = 0;
};

// Bytes per pixel of the channel with the given single bit; 0 for anything else.
constexpr int GBufferChannelSize(ULONG bit)
{
    switch (bit) {
    case BMM_CHAN_Z: return sizeof(float);
    case BMM_CHAN_MTL_ID: return 1;
    case BMM_CHAN_NODE_ID: return 2;
    case BMM_CHAN_UV: return sizeof(Point2);
    case BMM_CHAN_NORMAL: return 4;
    case BMM_CHAN_REALPIX: return 4;
    case BMM_CHAN_COVERAGE: return 1;
    case BMM_CHAN_BG: return sizeof(Color24);
    case BMM_CHAN_NODE_RENDER_ID: return 2;
    case BMM_CHAN_COLOR: return sizeof(Color24);
    case BMM_CHAN_TRANSP: return sizeof(Color24);
    case BMM_CHAN_VELOC: return sizeof(Point2);
    case BMM_CHAN_WEIGHT: return sizeof(Color24);
    case BMM_CHAN_MASK: return 2;
    default: return 0;
    }
}
