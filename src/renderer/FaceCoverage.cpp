#include "renderer/FaceCoverage.h"

#include "host/RenderGlobalContext.h"
#include "host/ShadeContext.h"

#include <algorithm>
#include <array>

namespace vml {

ScreenProjection ScreenProjection::of(const RenderGlobalContext& gc)
{
    return {gc.projType == PROJ_PERSPECTIVE, gc.xscale, gc.yscale, gc.xc, gc.yc};
}

namespace {

// A projected triangle clipped by one plane has at most four corners.
struct ScreenPolygon {
    std::array<Point2, 4> p;
    int n = 0;
};

ScreenPolygon project(const Triangle3& tri, const ScreenProjection& proj)
{
    ScreenPolygon out;
    if (!proj.perspective) {
        for (const Point3& v : tri.v)
            out.p[static_cast<std::size_t>(out.n++)] = {v.x * proj.xscale + proj.xc,
                                                        v.y * proj.yscale + proj.yc};
        return out;
    }
    std::array<Point3, 4> kept;
    int n = 0;
    for (int i = 0; i < 3; ++i) {
        const Point3& a = tri.v[i];
        const Point3& b = tri.v[(i + 1) % 3];
        const bool aIn = a.z <= coverageNearClip, bIn = b.z <= coverageNearClip;
        if (aIn)
            kept[static_cast<std::size_t>(n++)] = a;
        if (aIn != bIn) {
            const float t = (coverageNearClip - a.z) / (b.z - a.z);
            kept[static_cast<std::size_t>(n++)] = a + (b - a) * t;
        }
    }
    for (int i = 0; i < n; ++i) {
        const Point3& v = kept[static_cast<std::size_t>(i)];
        out.p[static_cast<std::size_t>(i)] = {v.x * proj.xscale / v.z + proj.xc,
                                              v.y * proj.yscale / v.z + proj.yc};
    }
    out.n = n;
    return out;
}

// Convex polygon of either winding; points on an edge count as inside. Degenerate: never.
bool inside(const ScreenPolygon& poly, Point2 q)
{
    if (poly.n < 3)
        return false;
    bool anyPositive = false, anyNegative = false;
    float area = 0.0f;
    for (int i = 0; i < poly.n; ++i) {
        const Point2& a = poly.p[static_cast<std::size_t>(i)];
        const Point2& b = poly.p[static_cast<std::size_t>((i + 1) % poly.n)];
        area += a.x * b.y - b.x * a.y;
        const float cross = (b.x - a.x) * (q.y - a.y) - (b.y - a.y) * (q.x - a.x);
        anyPositive |= cross > 0.0f;
        anyNegative |= cross < 0.0f;
    }
    return area != 0.0f && !(anyPositive && anyNegative);
}

}  // namespace

float faceCoverage(std::span<const Triangle3> triangles, const ScreenProjection& projection,
                   Point2 pixelCentre)
{
    std::array<ScreenPolygon, 8> local;
    int covered = 0;
    // Project in batches so that any number of triangles needs no allocation.
    std::array<bool, 25> hit{};
    for (std::size_t start = 0; start < triangles.size(); start += local.size()) {
        const std::size_t count = std::min(local.size(), triangles.size() - start);
        for (std::size_t t = 0; t < count; ++t)
            local[t] = project(triangles[start + t], projection);
        for (int j = -2, k = 0; j <= 2; ++j) {
            for (int i = -2; i <= 2; ++i, ++k) {
                if (hit[static_cast<std::size_t>(k)])
                    continue;
                const Point2 q{pixelCentre.x + static_cast<float>(i) / 6.0f,
                               pixelCentre.y + static_cast<float>(j) / 6.0f};
                for (std::size_t t = 0; t < count; ++t) {
                    if (inside(local[t], q)) {
                        hit[static_cast<std::size_t>(k)] = true;
                        ++covered;
                        break;
                    }
                }
            }
        }
    }
    return static_cast<float>(covered) / 25.0f;
}

}  // namespace vml
