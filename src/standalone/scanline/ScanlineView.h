#pragma once
// The camera of a frame: where camera space lies in the world and how it projects onto the
// device. Pixel (x, y) covers [x, x + 1) x [y, y + 1) of screen space, row 0 at the top.
//
// Perspective: xscale = -(1 / tan(fov / 2)) * width / 2, yscale = -devAspect * xscale;
// parallel: xscale = width / (400 * zoom), yscale = -devAspect * xscale; xc, yc = centre.

#include "host/Matrix3.h"
#include "host/Point2.h"
#include "host/RendParams.h"

class INode;
class RenderGlobalContext;

namespace standalone::scanline {

struct ScanlineView {
    int projType = 0;  // PROJ_PERSPECTIVE or PROJ_PARALLEL
    int width = 0, height = 0;
    float devAspect = 1.0f;
    float xscale = 0.0f, yscale = 0.0f, xc = 0.0f, yc = 0.0f;
    float nearRange = 0.001f, farRange = 1.0e30f;
    Matrix3 worldToCam, camToWorld;

    // Camera-space point to screen coordinates; the point must lie in front of the camera.
    Point2 toScreen(const Point3& p) const;
    // Camera-space ray through a screen point. Perspective rays start at the camera and have
    // z = -1; parallel rays start on the z = 0 plane and point along -z.
    void ray(const Point2& screen, Point3& origin, Point3& dir) const;
    // Unit view direction through a screen point.
    Point3 viewDirection(const Point2& screen) const;
    // Copies the projection and the camera into a global context.
    void fill(RenderGlobalContext& gc) const;
};

// The view of a camera: the camera node's settings when viewNode carries a camera, else viewPar,
// else a 45 degree perspective from the world origin. The camera looks down its local -z, +y up.
ScanlineView makeView(INode* viewNode, const ViewParams* viewPar, TimeValue t, int width, int height,
                      float devAspect);
// Projection from a world-to-camera transform and view parameters.
ScanlineView makeView(const ViewParams& viewPar, int width, int height, float devAspect);

}  // namespace standalone::scanline
