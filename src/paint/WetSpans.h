#pragma once
// Where a canvas may hold wet state: per row of its wet grid the columns [first, last], and the
// range of rows that have any. A bleed pass walks only these; everything outside is known to
// hold nothing a pass would act on. Widened as paint arrives, narrowed by the passes.

#include <algorithm>
#include <vector>

namespace vml {

class WetSpans {
public:
    // An empty set over a grid of rows x columns.
    void reset(int rows, int columns)
    {
        columns_ = std::max(columns, 0);
        first_.assign(static_cast<std::size_t>(std::max(rows, 0)), columns_);
        last_.assign(first_.size(), -1);
        firstRow_ = this->rows(), lastRow_ = -1;
    }
    void clear() { reset(rows(), columns_); }
    // Every cell of the grid.
    void fill()
    {
        std::fill(first_.begin(), first_.end(), 0);
        std::fill(last_.begin(), last_.end(), columns_ - 1);
        firstRow_ = 0, lastRow_ = rows() - 1;
    }
    void release()
    {
        first_ = std::vector<int>();
        last_ = std::vector<int>();
        columns_ = 0, firstRow_ = 0, lastRow_ = -1;
    }

    // Adds columns from..to of row y (inside the grid); columns beyond the grid are dropped.
    void widen(int y, int from, int to)
    {
        from = std::max(from, 0), to = std::min(to, columns_ - 1);
        if (from > to)
            return;
        first_[y] = std::min(first_[y], from);
        last_[y] = std::max(last_[y], to);
        firstRow_ = std::min(firstRow_, y);
        lastRow_ = std::max(lastRow_, y);
    }
    // After a pass over row y: only first..last still hold wet state (none when first > last).
    // The row range is left as it is until trimRows.
    void narrow(int y, int first, int last)
    {
        const bool none = first > last;
        first_[y] = none ? columns_ : first;
        last_[y] = none ? -1 : last;
    }
    // Drops rows left empty from both ends of the row range.
    void trimRows()
    {
        while (firstRow_ <= lastRow_ && empty(firstRow_))
            ++firstRow_;
        while (lastRow_ >= firstRow_ && empty(lastRow_))
            --lastRow_;
        if (firstRow_ > lastRow_)
            firstRow_ = rows(), lastRow_ = -1;
    }

    int rows() const { return static_cast<int>(first_.size()); }
    int first(int y) const { return first_[y]; }
    int last(int y) const { return last_[y]; }
    bool empty(int y) const { return first_[y] > last_[y]; }
    // The rows that may have wet state; empty: (rows, -1).
    int firstRow() const { return firstRow_; }
    int lastRow() const { return lastRow_; }

private:
    std::vector<int> first_, last_;
    int columns_ = 0;
    int firstRow_ = 0, lastRow_ = -1;
};

}  // namespace vml
