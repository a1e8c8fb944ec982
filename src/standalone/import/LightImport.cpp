#include "standalone/import/LightImport.h"

#include "host/Angles.h"
#include "standalone/import/AssimpValues.h"
#include "standalone/import/CameraImport.h"
#include "standalone/import/ObjectFrame.h"

#include <assimp/light.h>
#include <assimp/scene.h>

#include <fmt/format.h>

#include <algorithm>
#include <cmath>
#include <string_view>

namespace standalone::import {

namespace {

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
    const float cone = degrees(radians) * (halfAngle ? 2.0f : 1.0f);
    return std::isfinite(cone) && cone > 0.0f ? std::min(cone, kMaxCone) : fallback;
}

// A number of the file's metadata, whichever type the importer stored it as.
std::optional<double> metadataNumber(const aiScene& scene, const char* key)
{
    if (!scene.mMetaData)
        return std::nullopt;
    float f = 0.0f;
    double d = 0.0;
    int i = 0;
    if (scene.mMetaData->Get(key, d))
        return d;
    if (scene.mMetaData->Get(key, f))
        return f;
    if (scene.mMetaData->Get(key, i))
        return i;
    return std::nullopt;
}

bool writtenByBlender(const aiScene& scene)
{
    aiString generator;
    return scene.mMetaData && scene.mMetaData->Get("SourceAsset_Generator", generator) &&
           std::string_view(generator.data, generator.length).starts_with("Blender");
}

// Sets the multiplier and decay of a light whose intensity is a physical quantity: irradiance
// (W/m^2) for directional lights, radiant intensity (W/sr) for the others.
void setPhysical(LightSettings& s, float radiometric, const LightUnits& units)
{
    if (s.type == LightType::directional) {
        s.multiplier = kDisplayExposure * radiometric / pi;
        return;
    }
    s.multiplier = kDisplayExposure * radiometric / (pi * kDecayStartMetres * kDecayStartMetres);
    s.decayStart = kDecayStartMetres / units.metresPerUnit * units.scale;
}

}  // namespace

LightUnits lightUnitsOf(const aiScene& scene, SourceFormat format, float importScale)
{
    LightUnits units;
    units.scale = importScale;
    if (format == SourceFormat::gltf2) {
        units.convention = LightConvention::photometric;
    } else if (format == SourceFormat::fbx) {
        units.convention = writtenByBlender(scene) ? LightConvention::blender : LightConvention::fbx;
        // FBX's unit is the centimetre times UnitScaleFactor.
        const double factor = metadataNumber(scene, "UnitScaleFactor").value_or(1.0);
        if (std::isfinite(factor) && factor > 0.0)
            units.metresPerUnit = float(factor / 100.0);
    }
    return units;
}

std::optional<LightImport> importLight(const aiLight& l, SourceFormat format, const LightUnits& units,
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
    s.color = brightest > 0.0f ? color * (1.0f / brightest) : Color(1, 1, 1);

    if (s.type == LightType::spot) {
        const bool half = format == SourceFormat::gltf2;
        s.falloff = coneDegrees(l.mAngleOuterCone, half, s.falloff);
        s.hotspot = std::min(coneDegrees(l.mAngleInnerCone, half, s.hotspot), s.falloff);
    }

    const bool decays = s.type == LightType::omni || s.type == LightType::spot;
    const float q = l.mAttenuationQuadratic;
    const bool quadratic = decays && std::isfinite(q) && q > 0.0f;
    switch (s.type == LightType::ambient ? LightConvention::plain : units.convention) {
    case LightConvention::photometric: setPhysical(s, brightest / kLumensPerWatt, units); break;
    case LightConvention::blender:
        // A Blender point or spot light spreads its watts over the whole sphere, 4 pi steradians.
        setPhysical(s, decays ? brightest / (4.0f * pi) : brightest, units);
        break;
    case LightConvention::fbx:
        // The importer hands over 2 / DecayStart^2 for quadratic decay.
        s.multiplier = brightest;
        if (quadratic && std::isfinite(std::sqrt(2.0f / q)))
            s.decayStart = std::sqrt(2.0f / q) * units.scale;
        break;
    case LightConvention::plain:
        s.multiplier = brightest;
        if (quadratic && std::isfinite(units.scale / std::sqrt(q)))
            s.decayStart = units.scale / std::sqrt(q);
        break;
    }
    if (!std::isfinite(s.multiplier) || !std::isfinite(s.decayStart)) {
        warnings.push_back(fmt::format("light \"{}\": intensity out of range; switched off", name));
        s.multiplier = 0.0f, s.decayStart = 0.0f, s.on = false;
    }

    const Point3 position = positionCopiesNode(format) ? Point3() : toPoint3(l.mPosition);
    out.frame = aimedFrame(position, toPoint3(l.mDirection), toPoint3(l.mUp));
    return out;
}

}  // namespace standalone::import
