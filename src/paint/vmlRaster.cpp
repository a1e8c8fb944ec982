#include "paint/vmlRaster.h"

#include <algorithm>
#include <stdexcept>

namespace vml {

void vmlRaster::SetMask(int x, int y, int value)
{
    if (insideCanvas(x, y) && !rows_.empty())
        rows_[y][x].mask = static_cast<std::uint8_t>(std::clamp(value, 0, 255));
}

bool vmlRaster::Bleed(float) { throw std::logic_error("vmlRaster::Bleed is not implemented yet"); }

void vmlRaster::DepositPaint(int, int)
{
    throw std::logic_error("vmlRaster::DepositPaint is not implemented yet");
}

}  // namespace vml
