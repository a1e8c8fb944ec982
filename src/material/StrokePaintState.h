#pragma once
// The paint a stroke lays down, from the material's paint settings and the stroke's generator:
// the blend with the canvas, the colour jitter and adjustments of every covered pixel, and the
// wet-paint values (water, edge, dry, wind, mix) the canvas deposits with.

#include "host/Point2.h"
#include "material/StrokeRandom.h"
#include "material/vmlMaterialCaches.h"
#include "paint/PaintAdjustment.h"

namespace vml {

class vmlRasterBase;

struct StrokePaintState {
    int blendSwitch = 0;
    int blendMethod = 0;    // list position
    float blendAmount = 0;  // percent
    PixelAdjustment adjustment;
    float water = 0, edge = 0, dry = 0, mix = 0;
    Point2 wind;
};

// Takes eight draws: colour R, G, B jitter, blur, blur boundary, dry, wind, mix.
StrokePaintState strokePaintState(const mtlcache::PaintCache& paint, StrokeRandom& random);

// Sets the canvas's paint state for the stroke (all but the colour, which is per pixel).
void applyPaintState(const StrokePaintState& state, vmlRasterBase& canvas);

}  // namespace vml
