#pragma once
// Read-only views of the G-buffer channels the line effect reads, taken from the output bitmap.

#include "host/Bitmap.h"
#include "host/MaxTypes.h"
#include "host/Point2.h"

#include <cstddef>
#include <cstdint>

namespace vml {

// One channel: pixel (x, y) is pixels[y * width + x], row 0 at the top. A missing channel is a
// null view (no pixels, size 0).
template <class T> struct GBufferView {
    const T* pixels = nullptr;
    int width = 0;
    int height = 0;

    explicit operator bool() const { return pixels != nullptr; }
    bool contains(int x, int y) const { return x >= 0 && x < width && y >= 0 && y < height; }
    // Precondition: contains(x, y).
    const T& at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

struct GBufferViews {
    GBufferView<std::uint8_t> materialID;  // material-effects channel number
    GBufferView<std::uint16_t> node;       // node render id, 0xFFFF = background
    GBufferView<float> z;                  // camera-space depth, larger is nearer
    GBufferView<DWORD> normal;             // compressed camera-space normal
    GBufferView<std::uint8_t> coverage;    // 255 = the front fragment covers the pixel
    GBufferView<Point2> velocity;          // screen-space motion
};

// Views of the bitmap's channels; the bitmap must outlive them and keep its channels.
GBufferViews makeGBufferViews(const Bitmap& bitmap);

// Whether every channel bit in `bits` has a view of exactly width x height. A bit without a view
// among the six counts as missing.
bool hasChannels(const GBufferViews& views, ULONG bits, int width, int height);

}  // namespace vml
