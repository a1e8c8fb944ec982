#include "paint/vmlRaster.h"

#include <algorithm>

namespace vml {

void vmlRaster::allocateStorage()
{
    RasterRows::allocateStorage();
    wetFirst_.assign(rows_.size(), width_);
    wetLast_.assign(rows_.size(), -1);
}

void vmlRaster::freeStorage()
{
    RasterRows::freeStorage();
    wetFirst_ = std::vector<int>();
    wetLast_ = std::vector<int>();
}

void vmlRaster::clearWetSpans()
{
    std::fill(wetFirst_.begin(), wetFirst_.end(), width_);
    std::fill(wetLast_.begin(), wetLast_.end(), -1);
}

void vmlRaster::widenWetSpan(int y, int from, int to)
{
    wetFirst_[y] = std::min(wetFirst_[y], std::max(from, 0));
    wetLast_[y] = std::max(wetLast_[y], std::min(to, width_ - 1));
}

int vmlRaster::Load(bool replace)
{
    const int rows = RasterRows::Load(replace);
    clearWetSpans();
    return rows;
}

int vmlRaster::LoadColour(const Bitmap* source)
{
    const int rows = RasterRows::LoadColour(source);
    clearWetSpans();
    return rows;
}

void vmlRaster::SetMask(int x, int y, int value)
{
    if (insideCanvas(x, y) && !rows_.empty())
        rows_[y][x].mask = static_cast<std::uint8_t>(std::clamp(value, 0, 255));
}

}  // namespace vml
