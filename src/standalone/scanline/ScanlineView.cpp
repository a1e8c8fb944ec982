#include "standalone/scanline/ScanlineView.h"

#include "host/Angles.h"
#include "host/RenderGlobalContext.h"
#include "host/ShadeContext.h"
#include "standalone/SceneNode.h"

#include <algorithm>
#include <cmath>

namespace standalone::scanline {

Point2 ScanlineView::toScreen(const Point3& p) const
{
    if (projType == PROJ_PERSPECTIVE)
        return {xc + xscale * p.x / p.z, yc + yscale * p.y / p.z};
    return {xc + xscale * p.x, yc + yscale * p.y};
}

void ScanlineView::ray(const Point2& s, Point3& origin, Point3& dir) const
{
    if (projType == PROJ_PERSPECTIVE) {
        origin = Point3();
        dir = Point3(-(s.x - xc) / xscale, -(s.y - yc) / yscale, -1.0f);
    } else {
        origin = Point3((s.x - xc) / xscale, (s.y - yc) / yscale, 0.0f);
        dir = Point3(0.0f, 0.0f, -1.0f);
    }
}

Point3 ScanlineView::viewDirection(const Point2& screen) const
{
    Point3 origin, dir;
    ray(screen, origin, dir);
    return Normalize(dir);
}

void ScanlineView::fill(RenderGlobalContext& gc) const
{
    gc.projType = projType;
    gc.devWidth = width, gc.devHeight = height;
    gc.devAspect = devAspect;
    gc.xscale = xscale, gc.yscale = yscale;
    gc.xc = xc, gc.yc = yc;
    gc.nearRange = nearRange, gc.farRange = farRange;
    gc.worldToCam = worldToCam, gc.camToWorld = camToWorld;
}

namespace {

// Ranges are sanitised so bad camera data cannot produce infinite or inverted projections.
float clampFov(float radians)
{
    constexpr float minFov = 1.0e-4f, maxFov = pi - 1.0e-3f;
    return std::isfinite(radians) ? std::clamp(radians, minFov, maxFov) : pi / 4.0f;
}

void setClipRange(ScanlineView& v, float hither, float yon)
{
    v.nearRange = std::isfinite(hither) && hither > 1.0e-6f ? hither : 1.0e-6f;
    v.farRange = std::isfinite(yon) && yon > v.nearRange ? yon : 1.0e30f;
}

}  // namespace

ScanlineView makeView(const ViewParams& vp, int width, int height, float devAspect)
{
    ScanlineView v;
    v.width = width, v.height = height;
    v.devAspect = std::isfinite(devAspect) && devAspect > 0.0f ? devAspect : 1.0f;
    v.projType = vp.projType == PROJ_PARALLEL ? PROJ_PARALLEL : PROJ_PERSPECTIVE;
    v.xc = static_cast<float>(width) * 0.5f, v.yc = static_cast<float>(height) * 0.5f;
    if (v.projType == PROJ_PERSPECTIVE) {
        v.xscale = -(1.0f / std::tan(clampFov(vp.fov) * 0.5f)) * static_cast<float>(width) * 0.5f;
    } else {
        float zoom = std::isfinite(vp.zoom) && vp.zoom > 1.0e-9f ? vp.zoom : 1.0f;
        v.xscale = static_cast<float>(width) / (400.0f * zoom);
    }
    v.yscale = -v.devAspect * v.xscale;
    setClipRange(v, vp.hither, vp.yon);
    v.worldToCam = vp.affineTM;
    v.camToWorld = Inverse(vp.affineTM);
    return v;
}

ScanlineView makeView(INode* viewNode, const ViewParams* viewPar, TimeValue t, int width, int height,
                      float devAspect)
{
    auto* camNode = dynamic_cast<SceneNode*>(viewNode);
    if (camNode && camNode->camera) {
        const CameraSettings& cam = *camNode->camera;
        ViewParams vp;
        vp.projType = cam.orthographic ? PROJ_PARALLEL : PROJ_PERSPECTIVE;
        vp.fov = cam.fov * pi / 180.0f;
        vp.zoom = cam.orthoWidth / 400.0f;
        vp.hither = cam.nearClip, vp.yon = cam.farClip;
        Matrix3 camToWorld = camNode->GetObjectTM(t);
        vp.affineTM = Inverse(camToWorld);
        ScanlineView v = makeView(vp, width, height, devAspect);
        v.camToWorld = camToWorld;
        return v;
    }
    if (viewPar)
        return makeView(*viewPar, width, height, devAspect);
    if (viewNode) {
        ViewParams vp;
        vp.affineTM = Inverse(viewNode->GetObjectTM(t));
        return makeView(vp, width, height, devAspect);
    }
    return makeView(ViewParams(), width, height, devAspect);
}

}  // namespace standalone::scanline
