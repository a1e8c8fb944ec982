#include "standalone/maps/UVCoordinates.h"

#include "host/Angles.h"
#include "host/IParamBlock2.h"
#include "host/ParamBlockDesc2.h"
#include "host/ShadeContext.h"

#include <algorithm>
#include <cmath>

namespace standalone {

namespace {

enum : ParamID {
    pMapChannel = UVCoordinates::kFirstParamId,
    pMapping,
    pTilingU,
    pTilingV,
    pOffsetU,
    pOffsetV,
    pAngle,
};

}  // namespace

void UVCoordinates::declare(ParamBlockDesc2& desc)
{
    desc.addInt(pMapChannel, "mapChannel", 1, 1, 99, 0)
        .addInt(pMapping, "mapping", explicitUV, explicitUV, environment, 0)
        .addFloat(pTilingU, "tilingU", 1.0f, -1000.0f, 1000.0f, 0, P_ANIMATABLE)
        .addFloat(pTilingV, "tilingV", 1.0f, -1000.0f, 1000.0f, 0, P_ANIMATABLE)
        .addFloat(pOffsetU, "offsetU", 0.0f, -1000.0f, 1000.0f, 0, P_ANIMATABLE)
        .addFloat(pOffsetV, "offsetV", 0.0f, -1000.0f, 1000.0f, 0, P_ANIMATABLE)
        .addAngle(pAngle, "angle", 0.0f, -3600.0f, 3600.0f, 0, P_ANIMATABLE);
}

void UVCoordinates::read(IParamBlock2& block, TimeValue t, Interval& valid)
{
    block.GetValue(pMapChannel, t, channel_, valid);
    block.GetValue(pMapping, t, mapping_, valid);
    block.GetValue(pTilingU, t, tilingU_, valid);
    block.GetValue(pTilingV, t, tilingV_, valid);
    block.GetValue(pOffsetU, t, offsetU_, valid);
    block.GetValue(pOffsetV, t, offsetV_, valid);
    float degrees = 0.0f;
    block.GetValue(pAngle, t, degrees, valid);
    const float radians = degrees * pi / 180.0f;
    cosA_ = std::cos(radians);
    sinA_ = std::sin(radians);
    channel_ = std::clamp(channel_, 1, 99);
    if (mapping_ != environment)
        mapping_ = explicitUV;
}

float UVCoordinates::maxTiling() const { return std::max({std::fabs(tilingU_), std::fabs(tilingV_), 1.0f}); }

Point2 UVCoordinates::transform(const Point2& uv) const
{
    const float x = uv.x - 0.5f - offsetU_, y = uv.y - 0.5f - offsetV_;
    const float ru = cosA_ * x + sinA_ * y, rv = -sinA_ * x + cosA_ * y;
    return {ru * tilingU_ + 0.5f, rv * tilingV_ + 0.5f};
}

Point2 UVCoordinates::eval(ShadeContext& sc) const
{
    if (mapping_ == environment) {
        const Point3 d = Normalize(sc.VectorTo(sc.ReflectVector(), REF_WORLD));
        const float u = 0.5f + std::atan2(d.x, d.y) / (2.0f * pi);
        const float v = 0.5f + std::asin(std::clamp(d.z, -1.0f, 1.0f)) / pi;
        return transform({u, v});
    }
    const Point3 uvw = sc.UVW(channel_);
    return transform({uvw.x, uvw.y});
}

}  // namespace standalone
