#pragma once
// Screen-space motion of the frame's surfaces since the previous frame, for the velocity G-buffer
// channel.
//
// Convention: pixels per frame, this frame's screen position minus the previous frame's (+x right,
// +y down). The previous frame is one frame earlier at the core's frame rate (30 without a core),
// rounded to whole ticks. Object motion (GetObjectTM) and camera motion (the camera's transform)
// both count; the previous frame is projected with this frame's projection. The velocity is 0 where
// the previous position lies behind the camera's near plane, where the instance's vertex count
// changed, and where it is not finite.

#include "host/Matrix3.h"
#include "host/Point2.h"
#include "standalone/scanline/ScanlineInstance.h"
#include "standalone/scanline/ScanlineView.h"
#include "standalone/scanline/ScreenPolygon.h"

#include <span>
#include <vector>

namespace standalone::scanline {

// The time of the frame before t.
TimeValue previousFrameTime(TimeValue t);

// Camera-space positions at the previous frame of the instance's vertices: the previous mesh's
// vertices through previousObjToCam. Empty when nothing moved relative to the camera
// (previousObjToCam equals the instance's objToCam) or the vertex count differs from the
// instance's mesh: both mean zero velocity.
std::vector<Point3> previousCamVerts(const ScanlineInstance& inst, const Mesh& previousMesh,
                                     const Matrix3& previousObjToCam);

class FrameMotion {
public:
    // view: this frame's camera (must outlive this object); previousWorldToCam: the camera at the
    // previous frame. Instances are indexed by nodeID, as the screen polygons refer to them.
    void build(const ScanlineView& view, const Matrix3& previousWorldToCam, TimeValue previousTime,
               std::span<ScanlineInstance* const> instances);

    // Motion of the point of poly's face at barycentric coordinates bary (the fragment's, the
    // same that interpolate UVs): the previous camera-space position is interpolated from the
    // face's previous vertices and projected.
    Point2 velocity(const ScreenPolygon& poly, const Point3& bary) const;

private:
    const ScanlineView* current_ = nullptr;
    ScanlineView previous_;
    std::vector<const ScanlineInstance*> instances_;
    std::vector<std::vector<Point3>> previousVerts_;  // by instance; empty: no motion
};

}  // namespace standalone::scanline
