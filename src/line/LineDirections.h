#pragma once
// The eight neighbour directions of contour walks and stamp centring, in their fixed order:
// up, then clockwise (row 0 at the top, so up is y - 1).

#include "line/EdgeDetection.h"

#include <cstddef>

namespace vml {

inline constexpr int lineDirX[8] = {0, 1, 1, 1, 0, -1, -1, -1};
inline constexpr int lineDirY[8] = {-1, -1, 0, 1, 1, 1, 0, -1};

// Whether (x, y) lies in the mask and is an edge pixel; outside the image nothing is.
inline bool isEdge(const EdgeMask& mask, int x, int y)
{
    return x >= 0 && x < mask.width && y >= 0 && y < mask.height &&
           mask.pixels[static_cast<std::size_t>(y) * mask.width + x] != 0;
}

}  // namespace vml
