#include "standalone/import/CameraImport.h"

#include "host/Angles.h"
#include "standalone/import/AssimpValues.h"
#include "standalone/import/ObjectFrame.h"

#include <assimp/camera.h>

#include <fmt/format.h>

#include <cmath>

namespace standalone::import {

namespace {

constexpr float kMaxFov = 179.0f;

// Horizontal field of view in degrees, or 0 when the file's value is unusable.
float horizontalFov(const aiCamera& c, SourceFormat format, float aspect)
{
    float fov = c.mHorizontalFOV;  // radians
    if (format == SourceFormat::gltf2 && aspect > 0.0f) {
        const float yfov = fov / aspect;
        fov = 2.0f * std::atan(aspect * std::tan(yfov * 0.5f));
    }
    const float fovDegrees = degrees(fov);
    return std::isfinite(fovDegrees) && fovDegrees > 0.0f ? std::min(fovDegrees, kMaxFov) : 0.0f;
}

}  // namespace

bool positionCopiesNode(SourceFormat format)
{
    return format == SourceFormat::gltf2 || format == SourceFormat::threeDS;
}

CameraImport importCamera(const aiCamera& c, SourceFormat format, float scale,
                          std::vector<std::string>& warnings)
{
    CameraImport out;
    const std::string name(c.mName.data, c.mName.length);
    out.aspect = std::isfinite(c.mAspect) && c.mAspect > 0.0f ? c.mAspect : 0.0f;
    CameraSettings& s = out.settings;
    if (std::isfinite(c.mOrthographicWidth) && c.mOrthographicWidth > 0.0f) {
        s.orthographic = true;
        s.orthoWidth = 2.0f * c.mOrthographicWidth * scale;
    } else if (const float fov = horizontalFov(c, format, out.aspect); fov > 0.0f) {
        s.fov = fov;
    } else {
        warnings.push_back(
            fmt::format("camera \"{}\": unusable field of view; {:g} degrees used", name, s.fov));
    }
    const float nearClip = c.mClipPlaneNear * scale, farClip = c.mClipPlaneFar * scale;
    if (std::isfinite(nearClip) && nearClip > 0.0f)
        s.nearClip = nearClip;
    if (std::isfinite(farClip) && farClip > s.nearClip)
        s.farClip = farClip;
    else
        s.farClip = std::max(s.farClip, s.nearClip * 1.0e6f);

    const Point3 position = positionCopiesNode(format) ? Point3() : toPoint3(c.mPosition);
    out.frame = aimedFrame(position, toPoint3(c.mLookAt), toPoint3(c.mUp));
    return out;
}

}  // namespace standalone::import
