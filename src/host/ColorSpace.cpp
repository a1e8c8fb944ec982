#include "host/ColorSpace.h"

#include <algorithm>
#include <cmath>

Color RGBtoHSV(const Color& c)
{
    float maxc = std::max({c.r, c.g, c.b});
    float minc = std::min({c.r, c.g, c.b});
    float delta = maxc - minc;
    float v = maxc;
    float s = maxc > 0.0f ? delta / maxc : 0.0f;
    if (delta <= 0.0f)
        return {0.0f, s, v};
    float h;
    if (c.r == maxc)
        h = (c.g - c.b) / delta;
    else if (c.g == maxc)
        h = 2.0f + (c.b - c.r) / delta;
    else
        h = 4.0f + (c.r - c.g) / delta;
    h /= 6.0f;
    if (h < 0.0f)
        h += 1.0f;
    return {h, s, v};
}

Color HSVtoRGB(const Color& hsv)
{
    float h = hsv.r, s = hsv.g, v = hsv.b;
    if (s <= 0.0f)
        return {v, v, v};
    h = (h - std::floor(h)) * 6.0f;  // wrap into [0, 6)
    int sector = std::min(static_cast<int>(h), 5);
    float f = h - static_cast<float>(sector);
    float p = v * (1.0f - s), q = v * (1.0f - s * f), t = v * (1.0f - s * (1.0f - f));
    switch (sector) {
    case 0: return {v, t, p};
    case 1: return {q, v, p};
    case 2: return {p, v, t};
    case 3: return {p, q, v};
    case 4: return {t, p, v};
    default: return {v, p, q};
    }
}
