#include "paint/vmlRasterRS.h"

#include <algorithm>

namespace vml {

void vmlRasterRS::allocateStorage()
{
    RasterRows::allocateStorage();
    if (rows_.empty())
        return;
    const int rows = wetHeight();
    checkLowMemory();
    wet_.resize(static_cast<std::size_t>(rows));
    for (int cy = 0; cy < rows; ++cy) {
        checkLowMemory();
        wet_[cy] = std::make_unique<WetCell[]>(static_cast<std::size_t>(wetWidth()));
        reportAllocation(cy, rows);
    }
    rebuildMaskSums();
}

void vmlRasterRS::rebuildMaskSums()
{
    maskSums_.assign(static_cast<std::size_t>(wetWidth()) * static_cast<std::size_t>(wetHeight()), 0.0f);
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            maskSum(x >> 1, y >> 1) += static_cast<float>(rows_[y][x].mask);
}

void vmlRasterRS::freeStorage()
{
    RasterRows::freeStorage();
    wet_ = std::vector<std::unique_ptr<WetCell[]>>();
    maskSums_ = std::vector<float>();
    cellRowWet_ = std::vector<unsigned char>();
    flowScratch_ = std::vector<float>();
}

void vmlRasterRS::clearWetGrid()
{
    const auto cells = static_cast<std::size_t>(wetWidth());
    for (auto& row : wet_)
        std::fill_n(row.get(), cells, WetCell{});
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
    std::uint8_t& mask = rows_[y][x].mask;
    const auto held = static_cast<std::uint8_t>(std::clamp(value, 1, 255));
    maskSum(x >> 1, y >> 1) += static_cast<float>(held) - static_cast<float>(mask);
    mask = held;
}

}  // namespace vml
