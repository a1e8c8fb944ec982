#pragma once
// How much of a pixel a set of camera-space triangles covers on screen: 25 points at the pixel
// centre + (i/6, j/6), i, j = -2..2, counted inside any of the projected triangles.

#include "host/Point2.h"
#include "host/Point3.h"

#include <span>

class RenderGlobalContext;

namespace vml {

// Camera depth at which perspective projection clips the triangles.
constexpr float coverageNearClip = -0.01f;

struct Triangle3 {
    Point3 v[3];
};

// The projection of a frame (from the render global context).
struct ScreenProjection {
    bool perspective = true;
    float xscale = 1.0f, yscale = 1.0f, xc = 0.0f, yc = 0.0f;

    static ScreenProjection of(const RenderGlobalContext& gc);
};

// Fraction (k / 25) of the 25 points around `pixelCentre` (screen coordinates) inside any of the
// triangles after projection; perspective triangles are clipped to z <= coverageNearClip first.
float faceCoverage(std::span<const Triangle3> triangles, const ScreenProjection& projection,
                   Point2 pixelCentre);

}  // namespace vml
