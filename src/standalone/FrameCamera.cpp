#include "standalone/FrameCamera.h"

#include "host/RenderGlobalContext.h"
#include "host/ShadeContext.h"

namespace standalone {

namespace {

Matrix44 toMatrix44(const Matrix3& m)
{
    Matrix44 out{};
    for (int r = 0; r < 4; ++r) {
        const Point3& row = m.GetRow(r);
        out[r * 4 + 0] = row.x, out[r * 4 + 1] = row.y, out[r * 4 + 2] = row.z;
        out[r * 4 + 3] = r == 3 ? 1.0f : 0.0f;
    }
    return out;
}

Matrix44 multiply(const Matrix44& a, const Matrix44& b)
{
    Matrix44 out{};
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            for (int k = 0; k < 4; ++k)
                out[r * 4 + c] += a[r * 4 + k] * b[k * 4 + c];
    return out;
}

}  // namespace

FrameCamera frameCameraOf(const RenderGlobalContext& gc)
{
    FrameCamera camera;
    camera.known = true;
    camera.projType = gc.projType;
    camera.devWidth = gc.devWidth, camera.devHeight = gc.devHeight;
    camera.xscale = gc.xscale, camera.yscale = gc.yscale;
    camera.xc = gc.xc, camera.yc = gc.yc;
    camera.worldToCam = gc.worldToCam;
    return camera;
}

Matrix44 exrWorldToCamera(const FrameCamera& camera)
{
    Matrix44 flipZ{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, -1, 0, 0, 0, 0, 1};
    return multiply(toMatrix44(camera.worldToCam), flipZ);
}

Matrix44 exrWorldToNdc(const FrameCamera& camera)
{
    const float w = camera.devWidth > 0 ? static_cast<float>(camera.devWidth) : 1.0f;
    const float h = camera.devHeight > 0 ? static_cast<float>(camera.devHeight) : 1.0f;
    // Screen x = xc + xscale * x / z, y = yc + yscale * y / z (pixels, y down): with w = -z, the
    // homogeneous coordinates are (-xscale * x - xc * z, -yscale * y - yc * z) / size.
    Matrix44 camToNdc;
    if (camera.projType == PROJ_PARALLEL)
        camToNdc = {camera.xscale / w, 0, 0, 0, 0, camera.yscale / h, 0, 0, 0, 0, -1, 0, camera.xc / w,
                    camera.yc / h,     0, 1};
    else
        camToNdc = {-camera.xscale / w,
                    0,
                    0,
                    0,
                    0,
                    -camera.yscale / h,
                    0,
                    0,
                    -camera.xc / w,
                    -camera.yc / h,
                    0,
                    -1,
                    0,
                    0,
                    1,
                    0};
    return multiply(toMatrix44(camera.worldToCam), camToNdc);
}

}  // namespace standalone
