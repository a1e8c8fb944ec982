#pragma once
// A model file's light as LightSettings:
//
// - Types: directional, point (omni), spot and ambient as they are; area lights become omni lights
//   (with a warning); lights of undefined type are left out.
// - Colour and multiplier: the file's colour (the ambient colour for ambient lights whose diffuse
//   colour is black) split into its brightest component, the multiplier, and the colour divided
//   by it, so intensities above 1 (glTF's candela, FBX's intensity) survive as the multiplier.
// - Spot cones: LightSettings takes full angles in degrees. glTF's importer hands over the half
//   angles from the axis (KHR_lights_punctual innerConeAngle and outerConeAngle), so they are
//   doubled; the other importers give full angles. The falloff is at most 179 degrees and the
//   hotspot at most the falloff.
// - Decay: attenuation 1 / (c + l d + q d^2) with q > 0 falls off with the inverse square, like
//   1 / (q d^2): decayStart = 1 / sqrt(q), in the file's units times the import scale. Lights
//   without a quadratic term do not decay.

#include "standalone/LightSettings.h"
#include "standalone/import/AssimpFile.h"

#include "host/Matrix3.h"

#include <optional>
#include <string>
#include <vector>

struct aiLight;

namespace standalone::import {

struct LightImport {
    LightSettings settings;
    Matrix3 frame;  // from the light's own frame to its node's space (see aimedFrame)
};

// Nothing (with a warning) for a light of undefined type.
std::optional<LightImport> importLight(const aiLight& light, SourceFormat format, float scale,
                                       std::vector<std::string>& warnings);

}  // namespace standalone::import
