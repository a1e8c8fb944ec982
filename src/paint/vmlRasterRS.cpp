#include "paint/vmlRasterRS.h"

#include <algorithm>
#include <bit>

namespace vml {

void vmlRasterRS::allocateStorage()
{
    RasterRows::allocateStorage();
    if (rows_.empty())
        return;
    beforeAllocation();
    masks_.assign(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), 1);
    const int rows = wetHeight();
    beforeAllocation();
    const auto cells = static_cast<std::size_t>(wetWidth());
    wetStorage_ = LargeArray<WetCell>(cells * static_cast<std::size_t>(rows));
    wetGridZero_ = true;
    wet_.resize(static_cast<std::size_t>(rows));
    for (int cy = 0; cy < rows; ++cy) {
        beforeAllocation();
        wet_[cy] = wetStorage_.data() + static_cast<std::size_t>(cy) * cells;
        reportAllocation(cy, rows);
    }
    rebuildMaskSums();
    active_.reset(height_ >> 1, width_ >> 1);
    flowPass_.assign(maskSums_.size(), 0);
    holdsWater_.assign(maskSums_.size(), 0);
    passes_ = 0;
}

void vmlRasterRS::rebuildMaskSums()
{
    maskSums_.assign(static_cast<std::size_t>(wetWidth()) * static_cast<std::size_t>(wetHeight()), 0.0f);
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            maskSum(x >> 1, y >> 1) += static_cast<float>(masks_[pixelIndex(x, y)]);
}

void vmlRasterRS::freeStorage()
{
    RasterRows::freeStorage();
    wet_ = std::vector<WetCell*>();
    wetStorage_.release();
    wetGridZero_ = false;
    masks_ = std::vector<std::uint8_t>();
    maskSums_ = std::vector<float>();
    active_.release();
    flowPass_ = std::vector<std::uint32_t>();
    holdsWater_ = std::vector<std::uint8_t>();
    passes_ = 0;
}

void vmlRasterRS::clearWetGrid()
{
    const auto cells = static_cast<std::size_t>(wetWidth());
    if (!wetGridZero_)
        for (WetCell* row : wet_)
            std::fill_n(row, cells, WetCell{});
    active_.clear();
    std::fill(flowPass_.begin(), flowPass_.end(), 0);
    passes_ = 0;
}

void vmlRasterRS::catchUpFlow(WetCell& cell, std::uint32_t& pass, std::uint32_t now)
{
    // Cells beyond the flow grid keep flow 0 and dry 0, which this leaves as they are.
    const float factor = cell.dry + 0.8f;
    for (; pass != now; ++pass) {
        const float next = factor * cell.flow;
        // Once a step changes no bit, neither does any later one.
        if (std::bit_cast<std::uint32_t>(next) == std::bit_cast<std::uint32_t>(cell.flow))
            break;
        cell.flow = next;
    }
    pass = now;
}

bool vmlRasterRS::Init(Bitmap* bitmap)
{
    // A wet grid of unchanged size keeps its content, standing coverage included.
    keepStandingCoverage();
    return RasterRows::Init(bitmap);
}

void vmlRasterRS::ResetDirty()
{
    keepStandingCoverage();
    RasterRows::ResetDirty();
}

void vmlRasterRS::keepStandingCoverage()
{
    if (rows_.empty())
        return;
    const int columns = width_ >> 1;
    int firstRow = 0, lastRow = -1;
    GetDirtyRows(firstRow, lastRow);
    lastRow = std::min(lastRow, active_.rows() - 1);
    for (int y = firstRow; y <= lastRow; ++y) {
        int from = 0, to = -1;
        GetRowSpan(from, to, y);
        to = std::min(to, columns - 1);
        const RasterRSPixel* row = rows_[y];
        for (int x = from; x <= to; ++x)
            if ((x < active_.first(y) || x > active_.last(y)) && row[x].coverage > 0.0f)
                active_.widen(y, x, x);
    }
}

int vmlRasterRS::Load(bool replace)
{
    const int rows = RasterRows::Load(replace);
    clearWetGrid();
    return rows;
}

int vmlRasterRS::LoadColour(const Bitmap* source)
{
    const int rows = RasterRows::LoadColour(source);
    clearWetGrid();
    return rows;
}

void vmlRasterRS::SetMask(int x, int y, int value)
{
    if (!insideCanvas(x, y) || rows_.empty())
        return;
    std::uint8_t& mask = masks_[pixelIndex(x, y)];
    const auto held = static_cast<std::uint8_t>(std::clamp(value, 1, 255));
    maskSum(x >> 1, y >> 1) += static_cast<float>(held) - static_cast<float>(mask);
    mask = held;
}

}  // namespace vml
