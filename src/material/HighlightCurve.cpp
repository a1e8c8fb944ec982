#include "material/HighlightCurve.h"

#include <algorithm>

namespace vml {

std::optional<float> highlightAmount(float i, int hiLevel, int hiSharp)
{
    const float level = static_cast<float>(hiLevel) * 0.01f;
    const float saturated = level > 1.0f ? 1.0f : 1.0f - (1.0f - level) * (1.0f - level);
    if (saturated <= i)
        return i;
    const float half = saturated * 0.5f;
    // Past 100 the band would close (division by zero) or turn inside out.
    const float sharp = 1.0f - static_cast<float>(std::clamp(hiSharp, 0, 100)) * highlightSharpStep;
    const float w = half * sharp;
    const float d = i - half;
    if (d > w)
        return saturated;
    if (d < -w)
        return std::nullopt;
    const float u = d / w;
    const float k = 1.0f - sharp * sharp * sharp;
    const float s = u > 0.0f ? 1.0f - (1.0f - u) * (1.0f - u) : (u + 1.0f) * (u + 1.0f) - 1.0f;
    return (s * k + (1.0f - k) * u) * half + half;
}

}  // namespace vml
