#pragma once
// A face as the rasteriser sees it: the face clipped to the near plane (a convex polygon of three
// or four vertices) in screen space, with edge functions that decide sample coverage exactly and
// consistently: a sample on an edge shared by two faces belongs to exactly one of them.

#include "host/Point2.h"
#include "host/Point3.h"
#include "standalone/scanline/ScanlineView.h"

#include <array>
#include <cstdint>
#include <vector>

namespace standalone::scanline {

class ScanlineInstance;

// Signed distance-like test of one polygon edge. The value is computed from the edge's end points
// in a canonical order, so the two faces sharing an edge get exactly opposite values.
struct EdgeFunction {
    double px = 0.0, py = 0.0;  // canonical start point
    double dx = 0.0, dy = 0.0;  // canonical direction
    double sign = 1.0;          // makes the polygon's inside positive
    bool ownsTies = false;      // samples exactly on the edge belong to this polygon

    double value(double x, double y) const { return sign * (dx * (y - py) - dy * (x - px)); }
    bool covers(double x, double y) const
    {
        double f = value(x, y);
        return f > 0.0 || (f == 0.0 && ownsTies);
    }
};

struct ScreenPolygon {
    std::uint32_t instance = 0;  // index of the instance in the frame (its nodeID)
    std::uint32_t face = 0;
    bool backFace = false;
    int count = 0;
    std::array<Point2, 4> v;
    std::array<EdgeFunction, 4> edges;
    float xmin = 0.0f, xmax = 0.0f, ymin = 0.0f, ymax = 0.0f;
    std::array<Point3, 3> tri;  // the whole face, camera space
    Point3 normal;              // geometric normal of tri (not unit)
    float meanDepth = 0.0f;     // of the clipped polygon, for degenerate views of the plane

    bool coversAll(double x, double y) const;
    bool coversStrictly(double x, double y) const;
    // The camera-space point of the face's plane seen through a screen point.
    Point3 surfacePoint(const ScanlineView& view, const Point2& screen) const;
    // x extent of the polygon between two screen rows; false when it does not reach them.
    bool spanBetween(float y0, float y1, float& x0, float& x1) const;
};

// Appends the screen polygons of an instance's faces that can be seen: front faces, and back faces
// when the face's material asks for MTLREQ_2SIDE; each clipped to the near plane, none wholly
// outside the image or beyond the far plane. Faces with non-finite positions are skipped.
void addScreenPolygons(const ScanlineView& view, ScanlineInstance& inst, std::uint32_t instanceIndex,
                       std::vector<ScreenPolygon>& out);

}  // namespace standalone::scanline
