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

}  // namespace vml
