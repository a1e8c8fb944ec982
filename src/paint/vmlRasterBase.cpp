#include "paint/vmlRasterBase.h"

#include <algorithm>

namespace vml {

bool vmlRasterBase::Init(Bitmap* bitmap)
{
    const bool hasStorage = bitmap && bitmap->HasStorage();
    const int width = hasStorage ? bitmap->Width() : 0;
    const int height = hasStorage ? bitmap->Height() : 0;
    try {
        if (!(IsAllocated() && width == width_ && height == height_)) {
            freeStorage();
            width_ = width, height_ = height;
            allocateStorage();
        }
        allocateDirtyArrays();
    } catch (...) {
        Free();
        throw;
    }
    bitmap_ = bitmap;
    selectedY_ = -1;
    // Spans recorded for an earlier binding may lie outside the new size.
    clearDirtyState();
    return true;
}

void vmlRasterBase::Free()
{
    freeStorage();
    firstDirtyColumn_ = std::vector<int>();
    lastDirtyColumn_ = std::vector<int>();
    bitmap_ = nullptr;
    width_ = height_ = 0;
    firstDirtyRow_ = 0, lastDirtyRow_ = -1;
    selectedY_ = -1;
}

void vmlRasterBase::allocateDirtyArrays()
{
    const auto rows = static_cast<std::size_t>(height_);
    if (firstDirtyColumn_.size() == rows && lastDirtyColumn_.size() == rows)
        return;
    // Release the old arrays before asking for the new ones.
    firstDirtyColumn_ = std::vector<int>();
    lastDirtyColumn_ = std::vector<int>();
    firstDirtyColumn_ = std::vector<int>(rows, width_);
    lastDirtyColumn_ = std::vector<int>(rows, -1);
}

void vmlRasterBase::beforeAllocation() const
{
    if (observer_)
        observer_->beforeAllocation();
}

void vmlRasterBase::reportAllocation(int row, int rowCount) const
{
    if (observer_)
        observer_->allocationProgress(row, rowCount);
}

void vmlRasterBase::trackRow(int y)
{
    firstDirtyRow_ = std::min(firstDirtyRow_, y);
    lastDirtyRow_ = std::max(lastDirtyRow_, y);
}

void vmlRasterBase::widenRowSpan(int y, int x)
{
    firstDirtyColumn_[y] = std::min(firstDirtyColumn_[y], x);
    lastDirtyColumn_[y] = std::max(lastDirtyColumn_[y], x);
}

void vmlRasterBase::clearDirtyState()
{
    std::fill(firstDirtyColumn_.begin(), firstDirtyColumn_.end(), width_);
    std::fill(lastDirtyColumn_.begin(), lastDirtyColumn_.end(), -1);
    firstDirtyRow_ = height_, lastDirtyRow_ = -1;
}

void vmlRasterBase::ResetDirty()
{
    // The range only ever holds rows that SelectRowTracked accepted, so its cost follows the
    // size of the last stroke, not of the canvas.
    for (int y = firstDirtyRow_; y <= lastDirtyRow_; ++y) {
        firstDirtyColumn_[y] = width_;
        lastDirtyColumn_[y] = -1;
    }
    firstDirtyRow_ = height_, lastDirtyRow_ = -1;
}

int vmlRasterBase::RaiseCoverageRun(int x, const float* values, int count, float scale)
{
    int raised = 0;
    for (int i = 0; i < count; ++i) {
        if (values[i] != 0.0f) {
            RaiseCoverage(x + i, values[i] * scale);
            ++raised;
        }
    }
    return raised;
}

void vmlRasterBase::StampCoverage(int x, int y, float value)
{
    SelectRowTracked(y);
    RaiseCoverage(x, value);
}

void vmlRasterBase::GetDirtyRows(int& first, int& last) const
{
    first = firstDirtyRow_;
    last = lastDirtyRow_;
}

void vmlRasterBase::GetRowSpan(int& first, int& last, int y) const
{
    if (y < 0 || y >= height_) {
        first = width_, last = -1;
        return;
    }
    first = firstDirtyColumn_[y];
    last = lastDirtyColumn_[y];
}

}  // namespace vml
