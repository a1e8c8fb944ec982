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

// A walk's coverage kept to be deposited later, so that the walk can run on another thread while
// the canvas is busy. Raising is a running maximum, so the dabs' values are merged here, in a
// dense window of the canvas that follows the walk, into what the canvas's coverage would hold
// after the walk.
class CoverageRecording {
public:
    // The most floats the window may hold (32 KB). A walk that would need more, a long stroke
    // across a large canvas, is kept row by row instead, each row as wide as its runs reach.
    static constexpr std::size_t windowLimit = std::size_t{1} << 13;

    // Forgets everything; the walk clips to a canvas of this size.
    void reset(int width, int height);
    int width() const { return width_; }
    int height() const { return height_; }
    // The canvas calls the walk makes, answered as the canvas would.
    void SelectRowTracked(int y);
    int RaiseCoverageRun(int x, const float* values, int count, float scale);
    // The pixels the walk's runs raised or kept, as the walk counted them.
    long long raised() const { return raised_; }
    // True when the walk outgrew the window and is kept row by row.
    bool heldByRows() const { return byRows_; }
    // visit(y, first, last, values) for every row holding recorded coverage, in ascending order:
    // values[0..last - first] are columns first..last (0 where no dab reached).
    template <class Visit> void forEachRow(Visit&& visit) const
    {
        if (byRows_) {
            for (int y = firstRow_; y <= lastRow_; ++y)
                if (const int k = rowOf_[static_cast<std::size_t>(y)]; k >= 0) {
                    const HeldRow& row = heldRows_[static_cast<std::size_t>(k)];
                    visit(y, row.first, row.first + static_cast<int>(row.values.size()) - 1,
                          row.values.data());
                }
            return;
        }
        for (int y = firstRow_; y <= lastRow_; ++y) {
            const auto r = static_cast<std::size_t>(y - top_);
            if (spanFirst_[r] <= spanLast_[r])
                visit(y, spanFirst_[r], spanLast_[r], windowRow(y) + (spanFirst_[r] - left_));
        }
    }

private:
    // Moves or widens the window so that it holds columns [x0, x1] of canvas row y, keeping what
    // it holds; false when that would pass windowLimit.
    bool holdRun(int y, int x0, int x1);
    // Moves what the window holds into heldRows_ and empties the window.
    void switchToRows();
    // A held row for canvas row y, starting empty at column `first`.
    std::vector<float>& newHeldRow(int y, int first);
    // The merge of a run into heldRows_: columns [x0, x1] of row y, from values[0].
    int raiseRow(int y, int x0, int x1, const float* values, float scale);
    float* windowRow(int y) { return window_.data() + static_cast<std::size_t>(y - top_) * stride_; }
    const float* windowRow(int y) const
    {
        return window_.data() + static_cast<std::size_t>(y - top_) * stride_;
    }

    int width_ = 0, height_ = 0, row_ = -1;
    long long raised_ = 0;
    bool byRows_ = false;
    // Canvas rows [top_, top_ + rows_) and columns [left_, left_ + stride_), row after row; kept
    // across resets, so a recording holds no more than its largest walk. Outside the touched
    // spans every value is 0.
    std::vector<float> window_;
    int top_ = 0, left_ = 0, rows_ = 0, stride_ = 0;
    // Per window row: the touched columns (canvas columns), empty when first > last.
    std::vector<int> spanFirst_, spanLast_;
    // The rows holding coverage, in either form: [firstRow_, lastRow_] in canvas rows; empty
    // when first > last.
    int firstRow_ = 0, lastRow_ = -1;
    // A walk too large for the window: per touched canvas row its merged coverage from column
    // `first`. Kept across resets with their storage, as the window is.
    struct HeldRow {
        int first = 0;
        std::vector<float> values;
    };
    std::vector<HeldRow> heldRows_;
    std::size_t heldRowsUsed_ = 0;
    std::vector<int> rowOf_;  // per canvas row: its entry in heldRows_, -1 none
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
