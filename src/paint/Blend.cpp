#include "paint/Blend.h"

#include "host/ColorSpace.h"

#include <cmath>

namespace vml {
namespace {

// Soft light switches to its cubic branch for bases up to 32/255.
constexpr float softLightKnee = 0.1254902f;

// r of one channel for each per-channel method.
struct Normal {
    static float r(float, float t) { return t; }
};
struct Add {
    static float r(float b, float t) { return b + t; }
};
struct Subtract {
    static float r(float b, float t) { return b - t; }
};
struct Multiply {
    static float r(float b, float t) { return b * t; }
};
struct Screen {
    static float r(float b, float t) { return 1.0f - (1.0f - b) * (1.0f - t); }
};
struct Overlay {
    static float r(float b, float t)
    {
        return b < 0.5f ? 2.0f * b * t : 1.0f - 2.0f * (1.0f - b) * (1.0f - t);
    }
};
struct SoftLight {
    static float r(float b, float t)
    {
        if (t < 0.5f)
            return b + (b - b * b) * (2.0f * t - 1.0f);
        if (b <= softLightKnee)
            return b + (b - b * b) * (2.0f * t - 1.0f) * (3.0f - 8.0f * b);
        return b + (std::sqrt(b) - b) * (2.0f * t - 1.0f);
    }
};
struct HardLight {
    static float r(float b, float t)
    {
        return t < 0.5f ? 2.0f * b * t : 1.0f - 2.0f * (1.0f - b) * (1.0f - t);
    }
};
// Darken and lighten are written so that a NaN on either side picks the top.
struct Darken {
    static float r(float b, float t) { return t > b ? b : t; }
};
struct Lighten {
    static float r(float b, float t) { return b > t ? b : t; }
};
struct Difference {
    static float r(float b, float t) { return std::fabs(b - t); }
};
struct Exclusion {
    static float r(float b, float t) { return (1.0f - b) * t + (1.0f - t) * b; }
};

template <class Method> void mixChannels(Color& base, const Color& top, float amount)
{
    for (int c = 0; c < 3; ++c) {
        const float b = base[c];
        base[c] = b + (Method::r(b, top[c]) - b) * amount;
    }
}

// The HSV methods: the component that names the method comes from the base.
Color blendHsv(const Color& base, const Color& top, int methodId)
{
    const Color hb = RGBtoHSV(base), ht = RGBtoHSV(top);
    switch (methodId) {
    case blendHue: return HSVtoRGB({hb.r, ht.g, ht.b});
    case blendSaturation: return HSVtoRGB({ht.r, hb.g, ht.b});
    case blendColour: return HSVtoRGB({hb.r, hb.g, ht.b});
    default: return HSVtoRGB({ht.r, ht.g, hb.b});  // luminosity
    }
}

}  // namespace

void Blend(Color& base, const Color& top, float amount, int methodId)
{
    switch (methodId) {
    case blendNormal: return mixChannels<Normal>(base, top, amount);
    case blendAdd: return mixChannels<Add>(base, top, amount);
    case blendSubtract: return mixChannels<Subtract>(base, top, amount);
    case blendMultiply: return mixChannels<Multiply>(base, top, amount);
    case blendScreen: return mixChannels<Screen>(base, top, amount);
    case blendOverlay: return mixChannels<Overlay>(base, top, amount);
    case blendSoftLight: return mixChannels<SoftLight>(base, top, amount);
    case blendHardLight: return mixChannels<HardLight>(base, top, amount);
    case blendDarken: return mixChannels<Darken>(base, top, amount);
    case blendLighten: return mixChannels<Lighten>(base, top, amount);
    case blendDifference: return mixChannels<Difference>(base, top, amount);
    case blendExclusion: return mixChannels<Exclusion>(base, top, amount);
    case blendHue:
    case blendSaturation:
    case blendColour:
    case blendLuminosity: {
        const Color r = blendHsv(base, top, methodId);
        for (int c = 0; c < 3; ++c)
            base[c] = base[c] + (r[c] - base[c]) * amount;
        return;
    }
    default: return;  // r = b: the base stays as it is
    }
}

}  // namespace vml
