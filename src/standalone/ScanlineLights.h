#pragma once
// The lights the scanline renderer hands to materials: one LightDesc per light node, in camera
// space, with ray-traced shadows against the frame's triangles.
//
// Shadow rays start a little off the surface. Without a shadowBias of its own a light offsets them
// by kRelativeShadowBias times the point's distance from the camera: the error of a shaded point's
// position grows with that distance (and with the scene's units), while a pixel's footprint grows
// the same way, so the offset stays a small fraction of a pixel and contact shadows stay closed.

#include "host/LightDesc.h"
#include "host/Matrix3.h"
#include "standalone/LightSettings.h"

#include <memory>

namespace standalone {

class TriangleBvh;

inline constexpr float kRelativeShadowBias = 1.0e-4f;

// lightToCam: the light node's transform into camera space. shadows: the frame's occluders, or
// nullptr for no shadows. A light that is off gives nothing: nullptr.
std::unique_ptr<LightDesc> makeScanlineLight(const LightSettings& settings, const Matrix3& lightToCam,
                                             const TriangleBvh* shadows);

}  // namespace standalone
