#pragma once
// A chart of the sixteen colour blend methods, painted through the canvas: one tile per list
// position, in list order, four to a row. Each tile blends a vertical ramp of top colours over a
// horizontal hue ramp of base colours at full amount.

#include "host/Bitmap.h"

namespace app {

constexpr int blendChartTile = 128;
constexpr int blendChartGap = 8;

// Paints the chart into `bitmap`, which it (re)allocates. Returns false when the canvas could not
// be allocated.
bool paintBlendChart(Bitmap& bitmap);

}  // namespace app
