#pragma once
// The element's line colour at a pixel, mixed with its map.

#include "host/Color.h"
#include "line/LineSettings.h"

#include <functional>

namespace vml {

// The element's map at pixel (x, y), screen coordinates (u, v) with v = 0 at the bottom edge.
// The answer's alpha weighs the map against lineColor.
using LineMapSample = std::function<AColor(int x, int y, float u, float v)>;

// lineColor, mixed with `map` at pixel (x, y) of a width x height image by the map's alpha times
// lineMapOpacity percent when lineMapEnable is on and a map is given.
Color lineColourAt(const LineSettings& s, const LineMapSample& map, int x, int y, int width, int height);

}  // namespace vml
