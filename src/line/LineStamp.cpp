#include "line/LineStamp.h"

#include <algorithm>
#include <cmath>

namespace vml {

float stampValue(const LineSettings& s, float dx, float dy, float g)
{
    const float radius = s.lineWidth;
    const float stretch = s.lineStretch;
    const float e = g == 1.0f ? 0.0f : (g - 1.0f) * s.baseWidth;
    const float reach = e + radius;
    if (std::fabs(dx) >= reach || std::fabs(dy) >= reach)
        return 0.0f;

    float p = dy * s.axisU[1] + dx * s.axisU[0];
    float q = dy * s.axisV[1] + dx * s.axisV[0];
    if (stretch > 0.0f)
        q *= stretch + 1.0f;
    else if (stretch < 0.0f)
        p *= 1.0f - stretch;

    float d2 = p * p + q * q;
    if (e != 0.0f) {
        // Shrink the distance by e, stopping at the centre: (d - e)^2 unclamped would rise again
        // inside d < e and hollow the stamp out.
        const float d = std::max(std::sqrt(d2) - e, 0.0f);
        d2 = d * d;
    }
    if (d2 >= s.outer2)
        return 0.0f;
    if (d2 >= s.mid2)
        return (d2 - s.mid2) * s.slopeOuter + s.levelOuter;
    if (d2 >= s.inner2)
        return (d2 - s.inner2) * s.slopeInner + s.levelInner;
    return 1.0f;
}

StampExtent stampExtent(const LineSettings& s, float g)
{
    // stampValue is 0 unless |(p', q')| < reach, (p', q') = S A (dx, dy) with A the rows axisU,
    // axisV (orthonormal) and S the stretch. That ellipse's half extent along x is
    // reach * |(A[0][0] / S[0], A[1][0] / S[1])|, along y the same with the second column.
    const float reach = (g == 1.0f ? 0.0f : (g - 1.0f) * s.baseWidth) + s.lineWidth;
    if (!(reach > 0.0f))
        return {};
    const float sp = s.lineStretch < 0.0f ? 1.0f - s.lineStretch : 1.0f;
    const float sq = s.lineStretch > 0.0f ? s.lineStretch + 1.0f : 1.0f;
    const float x = std::hypot(s.axisU[0] / sp, s.axisV[0] / sq);
    const float y = std::hypot(s.axisU[1] / sp, s.axisV[1] / sq);
    // Never beyond the reach stampValue itself cuts at.
    return {std::min(reach * x, reach) + 1.0f, std::min(reach * y, reach) + 1.0f};
}

}  // namespace vml
