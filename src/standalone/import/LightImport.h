#pragma once
// A model file's light as LightSettings:
//
// - Types: directional, point (omni), spot and ambient as they are; area lights become omni lights
//   (with a warning); lights of undefined type are left out.
// - Intensity: files state it in their own units, which LightUnits names. glTF's are photometric
//   (point and spot in candela, directional in lux) and FBX files written by Blender carry
//   Blender's (watts, and watts per square metre for the sun); both are worked back to radiometric
//   values with 683 lumens per watt, and then to the multiplier that makes a white diffuse surface
//   as bright as the application shows it: radiance E / pi under irradiance E, times
//   kDisplayExposure, since those applications show the render through an sRGB view transform
//   and this host shows its values as they are. Point and spot lights fall off with the inverse
//   square of the distance in metres, from kDecayStartMetres on (the multiplier is the brightness
//   there). Other FBX files keep the intensity percentage as the multiplier and their DecayStart,
//   as their lights work the way this host's do. Any other file: colour times intensity as the
//   multiplier, inverse-square decay from 1 / sqrt(q) when the attenuation 1 / (c + l d + q d^2)
//   has a quadratic term. The colour is the file's, divided by its brightest component.
// - Spot cones: LightSettings takes full angles in degrees. glTF's importer hands over the half
//   angles from the axis (KHR_lights_punctual innerConeAngle and outerConeAngle), so they are
//   doubled; the other importers give full angles. The falloff is at most 179 degrees and the
//   hotspot at most the falloff.

#include "standalone/LightSettings.h"
#include "standalone/import/AssimpFile.h"

#include "host/Matrix3.h"

#include <optional>
#include <string>
#include <vector>

struct aiLight;
struct aiScene;

namespace standalone::import {

// What a file's light intensities mean, from its format and the application that wrote it.
enum class LightConvention {
    photometric,  // glTF: candela (point, spot), lux (directional)
    blender,      // FBX from Blender: watts (point, spot), watts per square metre (directional)
    fbx,          // other FBX: an intensity percentage, decaying from DecayStart when it decays
    plain,        // anything else: colour times intensity
};

struct LightUnits {
    LightConvention convention = LightConvention::plain;
    float metresPerUnit = 1.0f;  // the file's length unit
    float scale = 1.0f;          // the import's world units per file unit
};

LightUnits lightUnitsOf(const aiScene& scene, SourceFormat format, float importScale);

// Radiometric irradiance to the multiplier of a light shining on a white diffuse surface that
// shows as the authoring application shows it (see above).
inline constexpr float kDisplayExposure = 2.0f;
inline constexpr float kLumensPerWatt = 683.0f;
// Where physically decaying lights start to fall off, in metres: nearer surfaces are rare, and
// the multiplier stays a readable number.
inline constexpr float kDecayStartMetres = 0.1f;

struct LightImport {
    LightSettings settings;
    Matrix3 frame;  // from the light's own frame to its node's space (see aimedFrame)
};

// Nothing (with a warning) for a light of undefined type.
std::optional<LightImport> importLight(const aiLight& light, SourceFormat format, const LightUnits& units,
                                       std::vector<std::string>& warnings);

}  // namespace standalone::import
