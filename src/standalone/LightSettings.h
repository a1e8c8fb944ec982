#pragma once
// A light object of the standalone host's scene, in its node's space: it shines along the node's
// local -z axis (spot and directional), from the node's origin (omni and spot).

#include "host/Color.h"

#include <optional>

namespace standalone {

enum class LightType { omni, spot, directional, ambient };

struct LightSettings {
    LightType type = LightType::omni;
    bool on = true;  // off: no light and no shadows, as if the light were not there
    Color color{1.0f, 1.0f, 1.0f};
    float multiplier = 1.0f;
    bool castShadows = true;
    // How far shadow rays start off the surface, along the normal, against self-shadowing specks.
    // Unset: scaled to the point's distance from the camera, so scenes in millimetres and in
    // kilometres both come out clean (see ScanlineLights.h). Set: that many world units.
    std::optional<float> shadowBias;
    float hotspot = 30.0f;  // spot: full-intensity cone, degrees (full angle)
    float falloff = 45.0f;  // spot: zero-intensity cone, degrees (full angle)
    // Distance attenuation: none when decayStart <= 0, else inverse square beyond decayStart.
    float decayStart = 0.0f;
    bool affectDiffuse = true;
    bool affectSpecular = true;
};

}  // namespace standalone
