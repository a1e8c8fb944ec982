#pragma once
// What a stroke record needs from the renderer to paint itself: the canvas, the render area,
// the frame's pixel samples and face sizes, the brush scale and the brush cache. The renderer
// fills one per pass; tests fill it by hand.

#include "host/Point2.h"

namespace vml {

class BrushCache;
class NodeRecords;
class SampleGrid;
class VmlRenderContext;
class vmlRasterBase;

// What the painted strokes added up to, for statistics.
struct StrokePaintStats {
    long long dabs = 0;
    long long dabPixels = 0;  // dab pixels with a nonzero brush value
};

struct StrokePaintContext {
    vmlRasterBase* canvas = nullptr;  // required
    // Size of the render area (the sample grid); samples are looked up only inside it.
    int width = 0, height = 0;
    // Region origin, subtracted from a stroke's screen position to reach canvas pixels.
    IPoint2 regionOrigin;
    // Multiplies dab size, stroke length and screen offsets.
    float scale = 1.0f;
    const SampleGrid* samples = nullptr;  // required
    const NodeRecords* nodes = nullptr;   // required: face sizes, shared vertices, stillness
    // The brush cache when the renderer's cache is on and prepared for this pass, else null.
    BrushCache* brushCache = nullptr;
    // Context the brush is evaluated in when it is not read from the cache; required.
    VmlRenderContext* brushContext = nullptr;
    // Material-editor renders: no per-object screen-offset jitter and no depth scaling, and
    // seeds as the editor draws them.
    bool inMtlEdit = false;
    float frameNumber = 0.5f;
    StrokePaintStats* stats = nullptr;  // optional: every painted stroke adds to it
};

}  // namespace vml
