#include "line/LineDerived.h"

#include "host/Angles.h"

#include <cmath>

namespace vml {
namespace {

// (r - k)^2, negated when r < k so that the stamp's falloff rings keep their order.
float signedRing(float radius, float k)
{
    const float d = radius - k;
    return radius < k ? -(d * d) : d * d;
}

float slopeOver(float span) { return span > 0.0f ? -0.5f / span : 1.0f; }

}  // namespace

bool updateLineDerived(LineSettings& s, LineShape& last)
{
    const float stretch = s.lineStretch * 0.1f;
    s.baseWidth = (std::sqrt(std::fabs(stretch)) + 1.0f) * 0.5f * s.lineWidth;
    const float radius = s.baseWidth > 1.0f ? s.baseWidth + 4.7f : 2.5f * s.baseWidth + 3.2f;
    s.lineWidth = radius;
    s.lineStretch = stretch;

    const float a = radians(s.lineAngle);
    s.axisU[0] = std::cos(a);
    s.axisU[1] = -std::sin(a);
    s.axisV[0] = -std::sin(a);
    s.axisV[1] = -std::cos(a);

    s.outer2 = radius * radius;
    s.mid2 = signedRing(radius, 2.0f);
    s.inner2 = signedRing(radius, 4.0f);
    s.slopeOuter = slopeOver(s.outer2 - s.mid2);
    s.slopeInner = slopeOver(s.mid2 - s.inner2);
    s.levelOuter = 0.5f;
    s.levelInner = 1.0f;
    s.fadeNear = s.lineZAlphaMinValue * 0.01f;
    s.fadeSpan = (s.lineZAlphaMaxValue - s.lineZAlphaMinValue) * 0.01f;

    const LineShape shape{radius, stretch, s.lineAngle};
    const bool changed =
        shape.radius != last.radius || shape.stretch != last.stretch || shape.angle != last.angle;
    last = shape;
    return changed;
}

}  // namespace vml
