#pragma once
// How a line responds to depth: its stamp narrows with distance (lineZScaleEnable) and it fades
// (lineZAlphaEnable). `depth` is the distance from the camera, the negated G-buffer Z.

#include "line/LineSettings.h"

namespace vml {

// The width factor g scaled for depth: unchanged unless the depth lies beyond lineZMin on the
// side of lineZMax; then scaled by (zmin + 1) / (min(depth, zmax) + 1), or, with zmax < zmin,
// by (max(depth, zmax) + 1) / (zmin + 1). Does not look at lineZScaleEnable.
float lineDepthScale(const LineSettings& settings, float g, float depth);

// The depth-fade factor A = 1 - (s * fadeSpan + fadeNear), s the depth's position between
// lineZAlphaMin and lineZAlphaMax (0 before, 1 at and beyond). Needs the derived words; does not
// look at lineZAlphaEnable.
float lineDepthFade(const LineSettings& settings, float depth);

}  // namespace vml
