#include "paint/vmlRasterRS.h"

#include <algorithm>
#include <stdexcept>

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
}

void vmlRasterRS::freeStorage()
{
    RasterRows::freeStorage();
    wet_ = std::vector<std::unique_ptr<WetCell[]>>();
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
    if (insideCanvas(x, y) && !rows_.empty())
        rows_[y][x].mask = static_cast<std::uint8_t>(std::clamp(value, 1, 255));
}

bool vmlRasterRS::Bleed(float) { throw std::logic_error("vmlRasterRS::Bleed is not implemented yet"); }

void vmlRasterRS::DepositPaint(int, int)
{
    throw std::logic_error("vmlRasterRS::DepositPaint is not implemented yet");
}

}  // namespace vml
