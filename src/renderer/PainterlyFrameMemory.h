#pragma once
// The painterly renderer's memory per output pixel, by consumer, so a host can tell before a
// frame whether it fits. Sizes come from the structures themselves; the sample count per pixel
// is the one figure measured (on the examples, at several sizes).

#include "renderer/RendererSettings.h"

#include <vector>

namespace vml {

struct PainterlyPixelBytes {
    const char* name;
    double bytes;
};

// Samples filed per pixel and pass on painted frames, rounded up: the lists hold the front
// surface and, where edges and transparency leave more, a few behind it (0.84 on the painted
// still life, where the background takes none).
inline constexpr double kSamplesPerPixel = 1.0;
// The strokes and the walks prepared ahead of painting, per pixel: measured, rounded up. With
// it the estimate comes out a little above the peaks measured at 1920x1080 and 3840x2160
// (bench/frame-memory.sh).
inline constexpr double kStrokeBytesPerPixel = 6.0;

// gbufferBytes: the host G-buffer's bytes per pixel, which a multipass render keeps a copy of.
std::vector<PainterlyPixelBytes> painterlyBytesPerPixel(const RendererSettings& settings, int gbufferBytes);

}  // namespace vml
