#pragma once
// The walk of one stroke over the canvas: from the seed point forward for (1 - anchor) of its
// length and backward for the rest, one pixel per step, following the surface's direction from
// the pixel samples it crosses, stamping rotated brush dabs into the canvas's coverage (a running
// maximum). Colour is not touched here.

#include "host/Point2.h"
#include "material/CoverageRecording.h"

#include <cstddef>
#include <vector>

namespace vml {

class DabBrush;
class SampleGrid;
class SceneFaces;
class vmlRasterBase;
struct StrokeSetup;

// The surface the stroke lies on: its object, face and depth, and the samples of the frame.
struct StrokeSurface {
    const SampleGrid* samples = nullptr;  // required
    const SceneFaces* faces = nullptr;    // required
    int width = 0, height = 0;            // render area: samples outside it count as missing
    int nodeId = 0;
    int face = 0;
    float depth = 0.0f;
};

// One stamped dab, for callers that want to see the path (tests, previews).
struct DabTrace {
    Point2 centre;
    float alpha = 0.0f;
    float sizeDamping = 1.0f;
    int variantIndex = 0;
};

struct StrokeWalkCounts {
    int dabs = 0;
    long long dabPixels = 0;  // pixels whose coverage a dab raised or kept (brush value not 0)
};

// The most steps one pass of a walk takes on a canvas of this size. No stroke that in-range
// settings make is longer, so their walks never meet it; a longer stroke can only circle over
// the canvas or run off it, which a few crossings of the canvas bound.
int walkStepLimit(int width, int height);

// Walks the stroke and raises the canvas coverage. The canvas's dirty state must be reset
// before. `trace`, when given, receives every dab. A pass ends after walkStepLimit steps, or
// where its position along the path stops advancing (a float too large for a pixel's step);
// a stroke seeded too far off the canvas for any dab to reach it walks nothing.
StrokeWalkCounts walkStroke(const StrokeSetup& setup, const StrokeSurface& surface, DabBrush& brush,
                            vmlRasterBase& canvas, std::vector<DabTrace>* trace = nullptr);
// The same walk into a recording (reset to the canvas's size before).
StrokeWalkCounts walkStroke(const StrokeSetup& setup, const StrokeSurface& surface, DabBrush& brush,
                            CoverageRecording& recording);

}  // namespace vml
