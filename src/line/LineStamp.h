#pragma once
// The soft, rotated, elliptical stamp every edge pixel draws.

#include "line/LineSettings.h"

namespace vml {

// Stamp value (0..1) at offset (dx, dy) pixels from the stamp centre for width factor g.
// Reads the derived words (updateLineDerived must have run): full inside radius - 4, falling
// linearly in squared distance to 0.5 at radius - 2 and to 0 at radius. A factor g != 1 grows
// the stamp by (g - 1) * baseWidth pixels (shrinks it when g < 1); inside that growth the value
// is the centre value.
float stampValue(const LineSettings& settings, float dx, float dy, float g);

// Half the width (x) and half the height (y) of a box around the stamp centre outside which
// stampValue(settings, dx, dy, g) is 0: the stretched, rotated ellipse's bounds, with a pixel of
// room for rounding. Lets a wide, stretched stamp cost its area rather than its reach squared.
struct StampExtent {
    float x = 0.0f, y = 0.0f;
};
StampExtent stampExtent(const LineSettings& settings, float g);

}  // namespace vml
