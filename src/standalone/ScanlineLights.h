#pragma once
// The lights the scanline renderer hands to materials: one LightDesc per light node, in camera
// space, with ray-traced shadows against the frame's triangles.

#include "host/LightDesc.h"
#include "host/Matrix3.h"
#include "standalone/LightSettings.h"

#include <memory>

namespace standalone {

class TriangleBvh;

// lightToCam: the light node's transform into camera space. shadows: the frame's occluders, or
// nullptr for no shadows.
std::unique_ptr<LightDesc> makeScanlineLight(const LightSettings& settings, const Matrix3& lightToCam,
                                             const TriangleBvh* shadows);

}  // namespace standalone
