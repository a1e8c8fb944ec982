#include "line/LineMapColour.h"

namespace vml {

Color lineColourAt(const LineSettings& s, const LineMapSample& map, int x, int y, int width, int height)
{
    Color colour(s.lineColor[0], s.lineColor[1], s.lineColor[2]);
    if (s.lineMapEnable == 0 || !map)
        return colour;
    const float u = (static_cast<float>(x) + 0.5f) / static_cast<float>(width);
    const float v = (static_cast<float>(height - y) - 0.5f) / static_cast<float>(height);
    const AColor sample = map(x, y, u, v);
    const float m = sample.a * s.lineMapOpacity * 0.01f;
    return colour * (1.0f - m) + Color(sample) * m;
}

}  // namespace vml
