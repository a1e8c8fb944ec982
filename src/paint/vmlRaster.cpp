#include "paint/vmlRaster.h"

#include <algorithm>

namespace vml {

void vmlRaster::allocateStorage()
{
    RasterRows::allocateStorage();
    wet_.reset(static_cast<int>(rows_.size()), width_);
}

void vmlRaster::freeStorage()
{
    RasterRows::freeStorage();
    wet_.release();
}

bool vmlRaster::Init(Bitmap* bitmap)
{
    // Rows of an unchanged size keep their content, standing coverage included.
    keepStandingCoverage();
    return RasterRows::Init(bitmap);
}

int vmlRaster::Load(bool replace)
{
    const int rows = RasterRows::Load(replace);
    wet_.clear();
    return rows;
}

int vmlRaster::LoadColour(const Bitmap* source)
{
    const int rows = RasterRows::LoadColour(source);
    wet_.clear();
    return rows;
}

void vmlRaster::ResetDirty()
{
    keepStandingCoverage();
    RasterRows::ResetDirty();
}

void vmlRaster::keepStandingCoverage()
{
    if (rows_.empty())
        return;
    int firstRow = 0, lastRow = -1;
    GetDirtyRows(firstRow, lastRow);
    for (int y = firstRow; y <= lastRow; ++y) {
        int from = 0, to = -1;
        GetRowSpan(from, to, y);
        const RasterPixel* row = rows_[y];
        for (int x = from; x <= to; ++x)
            if ((x < wet_.first(y) || x > wet_.last(y)) && row[x].coverage > 0.0f)
                wet_.widen(y, x, x);
    }
}

void vmlRaster::SetMask(int x, int y, int value)
{
    if (insideCanvas(x, y) && !rows_.empty())
        rows_[y][x].mask = static_cast<std::uint8_t>(std::clamp(value, 0, 255));
}

}  // namespace vml
