#pragma once
// The walk of one stroke over the canvas: from the seed point forward for (1 - anchor) of its
// length and backward for the rest, one pixel per step, following the surface's direction from
// the pixel samples it crosses, stamping rotated brush dabs into the canvas's coverage (a running
// maximum). Colour is not touched here.

#include "host/Point2.h"

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

// A walk's canvas calls kept to be made later, in the same order, so that the walk can run on
// another thread while the canvas is busy: replayed, they leave the canvas exactly as the walk
// would have.
class CoverageRecording {
public:
    // Forgets every call; the walk clips to a canvas of this size.
    void reset(int width, int height);
    int width() const { return width_; }
    int height() const { return height_; }
    // The canvas calls the walk makes. A run answers 0: the pixels a run raises are counted as
    // it is replayed.
    void SelectRowTracked(int y);
    int RaiseCoverageRun(int x, const float* values, int count, float scale);
    // Makes the recorded calls on `canvas`, which has the recorded size; returns the pixels the
    // runs raised or kept, as the walk would have counted them.
    long long replay(vmlRasterBase& canvas) const;

private:
    struct Call {
        int y = 0;
        int x = 0;
        int count = -1;  // -1: the row selection alone
        float scale = 0.0f;
        std::size_t offset = 0;
    };
    int width_ = 0, height_ = 0, row_ = -1;
    std::vector<Call> calls_;
    std::vector<float> values_;
};

// Walks the stroke and raises the canvas coverage. The canvas's dirty state must be reset
// before. `trace`, when given, receives every dab.
StrokeWalkCounts walkStroke(const StrokeSetup& setup, const StrokeSurface& surface, DabBrush& brush,
                            vmlRasterBase& canvas, std::vector<DabTrace>* trace = nullptr);
// The same walk into a recording (reset to the canvas's size before); its dab pixels are
// counted by the replay.
StrokeWalkCounts walkStroke(const StrokeSetup& setup, const StrokeSurface& surface, DabBrush& brush,
                            CoverageRecording& recording);

}  // namespace vml
