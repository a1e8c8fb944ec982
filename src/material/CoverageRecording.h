#pragma once
// The coverage of a stroke's walk, recorded apart from the canvas.

#include <cstddef>
#include <vector>

namespace vml {

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

}  // namespace vml
