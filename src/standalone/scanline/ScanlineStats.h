#pragma once
// Figures of the last frame of a scanline renderer, for reports.

#include <cstdint>

namespace standalone {

struct ScanlineStats {
    double setupSeconds = 0.0;          // camera, instances, lights, shadow occluders, screen polygons
    double rasterSeconds = 0.0;         // fragments of every row
    double shadeSeconds = 0.0;          // shading and compositing
    double effectSeconds = 0.0;         // render effects
    std::uint64_t fragments = 0;        // fragments rasterised
    std::uint64_t fragmentsShaded = 0;  // shade calls (fragments hidden by opaque ones are skipped)
    int instances = 0;
    int lights = 0;
    int polygons = 0;  // screen polygons after culling and near clipping
    int threads = 0;   // threads the frame could use
    bool cancelled = false;
};

}  // namespace standalone
