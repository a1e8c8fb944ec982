#include "material/CoverageRecording.h"

#include <algorithm>
#include <limits>

namespace vml {

namespace {

// Rows and columns a fresh window spans: most walks fit, so it seldom has to grow.
constexpr int initialWindowSide = 64;

// Raises merged[i] to values[i] x scale as the canvas raises: only a greater value counts (a NaN
// never does); without branches, as the runs are short and their values random. Answers how many
// values were not 0.
int mergeRun(float* merged, const float* values, int count, float scale)
{
    // Merged values are never below 0, so a zero value raises nothing: a plain maximum.
    int raised = 0;
    for (int i = 0; i < count; ++i) {
        const float v = values[i];
        raised += v != 0.0f ? 1 : 0;
        const float value = v * scale, held = merged[i];
        merged[i] = held < value ? value : held;
    }
    return raised;
}

}  // namespace

void CoverageRecording::reset(int width, int height)
{
    if (byRows_) {
        for (int y = firstRow_; y <= lastRow_; ++y)
            rowOf_[static_cast<std::size_t>(y)] = -1;
        heldRowsUsed_ = 0;
        byRows_ = false;
    } else {
        for (int y = firstRow_; y <= lastRow_; ++y) {
            const auto r = static_cast<std::size_t>(y - top_);
            if (spanFirst_[r] <= spanLast_[r])
                std::fill(windowRow(y) + (spanFirst_[r] - left_), windowRow(y) + (spanLast_[r] - left_) + 1,
                          0.0f);
            spanFirst_[r] = std::numeric_limits<int>::max(), spanLast_[r] = -1;
        }
    }
    firstRow_ = 0, lastRow_ = -1;
    width_ = width, height_ = height, row_ = -1;
    raised_ = 0;
}

void CoverageRecording::SelectRowTracked(int y) { row_ = y >= 0 && y < height_ ? y : -1; }

bool CoverageRecording::holdRun(int y, int x0, int x1)
{
    if (y >= top_ && y < top_ + rows_ && x0 >= left_ && x1 < left_ + stride_)
        return true;
    // An empty window is placed anew around the run; a used one grows to twice the sides it
    // needs, so a long walk regrows it only a few times.
    const bool empty = firstRow_ > lastRow_;
    int needTop = y, needBottom = y, needLeft = x0, needRight = x1;
    if (!empty) {
        needTop = std::min(needTop, firstRow_), needBottom = std::max(needBottom, lastRow_);
        for (int row = firstRow_; row <= lastRow_; ++row) {
            const auto r = static_cast<std::size_t>(row - top_);
            if (spanFirst_[r] <= spanLast_[r])
                needLeft = std::min(needLeft, spanFirst_[r]), needRight = std::max(needRight, spanLast_[r]);
        }
    }
    // Sides within the canvas's, so these stay far from int's end.
    const int needRows = needBottom - needTop + 1, needColumns = needRight - needLeft + 1;
    int rows = std::max({rows_, initialWindowSide, empty ? needRows : 2 * needRows});
    int columns = std::max({stride_, initialWindowSide, empty ? needColumns : 2 * needColumns});
    auto area = [](int r, int c) { return static_cast<std::size_t>(r) * static_cast<std::size_t>(c); };
    if (area(rows, columns) > windowLimit)
        rows = std::max(rows_, needRows), columns = std::max(stride_, needColumns);
    if (area(rows, columns) > windowLimit)
        return false;
    const int top = needTop - (rows - needRows) / 2, left = needLeft - (columns - needColumns) / 2;
    if (empty && rows == rows_ && columns == stride_) {
        top_ = top, left_ = left;
        return true;
    }
    std::vector<float> window(static_cast<std::size_t>(rows) * static_cast<std::size_t>(columns), 0.0f);
    std::vector<int> spanFirst(static_cast<std::size_t>(rows), std::numeric_limits<int>::max()),
        spanLast(static_cast<std::size_t>(rows), -1);
    for (int row = firstRow_; row <= lastRow_; ++row) {
        const auto r = static_cast<std::size_t>(row - top_), to = static_cast<std::size_t>(row - top);
        if (spanFirst_[r] > spanLast_[r])
            continue;
        std::copy(windowRow(row) + (spanFirst_[r] - left_), windowRow(row) + (spanLast_[r] - left_) + 1,
                  window.data() + to * static_cast<std::size_t>(columns) + (spanFirst_[r] - left));
        spanFirst[to] = spanFirst_[r], spanLast[to] = spanLast_[r];
    }
    window_ = std::move(window);
    spanFirst_ = std::move(spanFirst), spanLast_ = std::move(spanLast);
    top_ = top, left_ = left, rows_ = rows, stride_ = columns;
    return true;
}

void CoverageRecording::switchToRows()
{
    if (rowOf_.size() < static_cast<std::size_t>(height_))
        rowOf_.resize(static_cast<std::size_t>(height_), -1);
    for (int y = firstRow_; y <= lastRow_; ++y) {
        const auto r = static_cast<std::size_t>(y - top_);
        if (spanFirst_[r] > spanLast_[r])
            continue;
        float* const from = windowRow(y) + (spanFirst_[r] - left_);
        newHeldRow(y, spanFirst_[r]).assign(from, from + (spanLast_[r] - spanFirst_[r] + 1));
        std::fill(from, from + (spanLast_[r] - spanFirst_[r] + 1), 0.0f);
        spanFirst_[r] = std::numeric_limits<int>::max(), spanLast_[r] = -1;
    }
    byRows_ = true;
}

std::vector<float>& CoverageRecording::newHeldRow(int y, int first)
{
    if (heldRows_.size() <= heldRowsUsed_)
        heldRows_.emplace_back();
    rowOf_[static_cast<std::size_t>(y)] = static_cast<int>(heldRowsUsed_);
    HeldRow& row = heldRows_[heldRowsUsed_++];
    row.first = first;
    return row.values;
}

int CoverageRecording::raiseRow(int y, int x0, int x1, const float* values, float scale)
{
    if (rowOf_[static_cast<std::size_t>(y)] < 0)
        newHeldRow(y, x0).assign(static_cast<std::size_t>(x1 - x0 + 1), 0.0f);
    HeldRow& row = heldRows_[static_cast<std::size_t>(rowOf_[static_cast<std::size_t>(y)])];
    // Widen the row to the run, with empty coverage in the new columns.
    if (x0 < row.first) {
        row.values.insert(row.values.begin(), static_cast<std::size_t>(row.first - x0), 0.0f);
        row.first = x0;
    }
    const int last = row.first + static_cast<int>(row.values.size()) - 1;
    if (x1 > last)
        row.values.resize(row.values.size() + static_cast<std::size_t>(x1 - last), 0.0f);
    return mergeRun(row.values.data() + (x0 - row.first), values, x1 - x0 + 1, scale);
}

int CoverageRecording::RaiseCoverageRun(int x, const float* values, int count, float scale)
{
    if (row_ < 0)
        return 0;
    // Columns outside the canvas are ignored, as the canvas does.
    const int first = std::max(0, -x), end = std::min(count, width_ - x);
    if (first >= end)
        return 0;
    if (!byRows_ && !holdRun(row_, x + first, x + end - 1))
        switchToRows();
    firstRow_ = firstRow_ > lastRow_ ? row_ : std::min(firstRow_, row_);
    lastRow_ = std::max(lastRow_, row_);
    int raised = 0;
    if (byRows_) {
        raised = raiseRow(row_, x + first, x + end - 1, values + first, scale);
    } else {
        const auto r = static_cast<std::size_t>(row_ - top_);
        spanFirst_[r] = std::min(spanFirst_[r], x + first),
        spanLast_[r] = std::max(spanLast_[r], x + end - 1);
        raised = mergeRun(windowRow(row_) + (x + first - left_), values + first, end - first, scale);
    }
    raised_ += raised;
    return raised;
}

}  // namespace vml
