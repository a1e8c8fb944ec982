#include "line/LineDepth.h"

#include <algorithm>

namespace vml {

float lineDepthScale(const LineSettings& s, float g, float depth)
{
    const float zmin = s.lineZMin;
    const float zmax = s.lineZMax;
    if (depth > zmin && zmax > zmin)
        return g * (zmin + 1.0f) / (std::min(depth, zmax) + 1.0f);
    if (depth < zmin && zmax < zmin)
        return g * (std::max(depth, zmax) + 1.0f) / (zmin + 1.0f);
    return g;
}

float lineDepthFade(const LineSettings& s, float depth)
{
    const float amin = s.lineZAlphaMin;
    const float amax = s.lineZAlphaMax;
    float t = 0.0f;
    if (depth > amin && amax > amin)
        t = (std::min(depth, amax) - amin) / (amax - amin);
    else if (depth < amin && amax < amin)
        t = (amin - std::max(depth, amax)) / (amin - amax);
    return 1.0f - (t * s.fadeSpan + s.fadeNear);
}

}  // namespace vml
