#include "standalone/import/LightImport.h"

#include "standalone/import/AssimpValues.h"
#include "standalone/import/CameraImport.h"
#include "standalone/import/ObjectFrame.h"

#include <assimp/light.h>

#include <fmt/format.h>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace standalone::import {

namespace {

constexpr float kDegrees = 180.0f / std::numbers::pi_v<float>;
constexpr float kMaxCone = 179.0f;

Color nonNegative(const Color& c)
{
    if (!isFinite(c))
        return Color();
    return {std::max(c.r, 0.0f), std::max(c.g, 0.0f), std::max(c.b, 0.0f)};
}

// A full cone angle in degrees from the file's value in radians; fallback when unusable.
float coneDegrees(float radians, bool halfAngle, float fallback)
{
    const float degrees = radians * kDegrees * (halfAngle ? 2.0f : 1.0f);
    return std::isfinite(degrees) && degrees > 0.0f ? std::min(degrees, kMaxCone) : fallback;
}

}  // namespace

std::optional<LightImport> importLight(const aiLight& l, SourceFormat format, float scale,
                                       std::vector<std::string>& warnings)
{
    const std::string name(l.mName.data, l.mName.length);
    LightImport out;
    LightSettings& s = out.settings;
    switch (l.mType) {
    case aiLightSource_DIRECTIONAL: s.type = LightType::directional; break;
    case aiLightSource_POINT: s.type = LightType::omni; break;
    case aiLightSource_SPOT: s.type = LightType::spot; break;
    case aiLightSource_AMBIENT: s.type = LightType::ambient; break;
    case aiLightSource_AREA:
        s.type = LightType::omni;
        warnings.push_back(fmt::format("light \"{}\": an area light, imported as an omni light", name));
        break;
    default:
        warnings.push_back(fmt::format("light \"{}\": of no known type; left out", name));
        return std::nullopt;
    }

    Color color = nonNegative(toColor(l.mColorDiffuse));
    if (s.type == LightType::ambient && std::max({color.r, color.g, color.b}) == 0.0f)
        color = nonNegative(toColor(l.mColorAmbient));
    const float brightest = std::max({color.r, color.g, color.b});
    s.multiplier = brightest;
    s.color = brightest > 0.0f ? color * (1.0f / brightest) : Color(1, 1, 1);

    if (s.type == LightType::spot) {
        const bool half = format == SourceFormat::gltf2;
        s.falloff = coneDegrees(l.mAngleOuterCone, half, s.falloff);
        s.hotspot = std::min(coneDegrees(l.mAngleInnerCone, half, s.hotspot), s.falloff);
    }
    const float q = l.mAttenuationQuadratic;
    if (s.type != LightType::directional && s.type != LightType::ambient && std::isfinite(q) && q > 0.0f) {
        const float start = scale / std::sqrt(q);
        if (std::isfinite(start))
            s.decayStart = start;
    }

    const Point3 position = positionCopiesNode(format) ? Point3() : toPoint3(l.mPosition);
    out.frame = aimedFrame(position, toPoint3(l.mDirection), toPoint3(l.mUp));
    return out;
}

}  // namespace standalone::import
