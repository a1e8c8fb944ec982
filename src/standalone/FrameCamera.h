#pragma once
// The camera a frame was rendered from, as its global context gave it, and its matrices in the
// conventions of OpenEXR headers (the standard worldToCamera and worldToNDC attributes).

#include "host/Matrix3.h"

#include <array>

class RenderGlobalContext;

namespace standalone {

struct FrameCamera {
    bool known = false;  // false until a frame's global context was seen
    int projType = 0;    // PROJ_PERSPECTIVE or PROJ_PARALLEL
    int devWidth = 0, devHeight = 0;
    float xscale = 0.0f, yscale = 0.0f, xc = 0.0f, yc = 0.0f;
    Matrix3 worldToCam;  // host camera space: x right, y up, looking down -z
};

FrameCamera frameCameraOf(const RenderGlobalContext& gc);

// 4 x 4, rows first; points are row vectors (p * M), as Imath's M44f has them.
using Matrix44 = std::array<float, 16>;

// World to OpenEXR camera space, which is left-handed: x right, y up, looking down +z (objects in
// front of the camera have positive z). Our camera space flips z.
Matrix44 exrWorldToCamera(const FrameCamera& camera);
// World to OpenEXR normalized device coordinates: (0, 0) the top-left corner of the image, (1, 1)
// the bottom-right, y down; after the divide by w. The third coordinate is 1 / depth for a
// perspective camera and the depth for a parallel one, so the matrix stays invertible.
Matrix44 exrWorldToNdc(const FrameCamera& camera);

}  // namespace standalone
