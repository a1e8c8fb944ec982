#pragma once
// Turns the coverage a stroke's dabs left on the canvas into paint: the colour of every covered
// pixel (the stroke's colour, drawn toward the pixel samples' own colour by the fine amount),
// the pixel adjustments, then the canvas's deposit. Walks only the dirty spans.

#include "host/Color.h"
#include "renderer/PixelSample.h"

namespace vml {

class CoverageRecording;
class SampleGrid;
class vmlRasterBase;
struct PixelAdjustment;

struct CoveragePaint {
    AColor colour;            // the stroke's colour and alpha (opacity and fades applied)
    float opacity = 1.0f;     // O: the alpha factor a sample's own opacity is scaled by
    float fine = 0.0f;        // 0..1
    bool noSideDrop = false;  // paint only where the stroke's object and material were shaded
    // Samples of the stroke's object and material, nearest the stroke's depth.
    const SampleGrid* samples = nullptr;  // required when fine > 0 or noSideDrop
    int width = 0, height = 0;            // render area
    int nodeId = 0;
    MaterialKey material = 0;
    float depth = 0.0f;
};

// Deposits the paint of every covered pixel of the dirty spans. The canvas's paint state
// (blend, water, ...) must be set; the colour is set per pixel.
void paintCoverage(const CoveragePaint& paint, const PixelAdjustment& adjustment, vmlRasterBase& canvas);
// The same over a walk's recording instead of the canvas's coverage, which the walk never raised
// (it must be 0 under the recorded pixels): the pixels, their order and the paint are the same.
void paintCoverage(const CoveragePaint& paint, const PixelAdjustment& adjustment,
                   const CoverageRecording& recording, vmlRasterBase& canvas);

}  // namespace vml
