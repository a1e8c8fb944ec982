#include "standalone/scanline/ScreenPolygon.h"

#include "host/Mtl.h"
#include "host/ShadeContext.h"
#include "standalone/scanline/ScanlineInstance.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace standalone::scanline {

bool ScreenPolygon::coversAll(double x, double y) const
{
    for (int i = 0; i < count; ++i)
        if (!edges[i].covers(x, y))
            return false;
    return true;
}

bool ScreenPolygon::coversStrictly(double x, double y) const
{
    for (int i = 0; i < count; ++i)
        if (!(edges[i].value(x, y) > 0.0))
            return false;
    return true;
}

Point3 ScreenPolygon::surfacePoint(const ScanlineView& view, const Point2& screen) const
{
    Point3 o, d;
    view.ray(screen, o, d);
    double nx = normal.x, ny = normal.y, nz = normal.z;
    double denom = nx * d.x + ny * d.y + nz * d.z;
    double scale = std::sqrt(nx * nx + ny * ny + nz * nz) * d.Length();
    double t;
    if (std::abs(denom) > 1.0e-9 * scale) {
        Point3 rel = tri[0] - o;
        t = (nx * rel.x + ny * rel.y + nz * rel.z) / denom;
    } else {
        // The plane is seen edge on: take the polygon's mean depth along the ray.
        t = (meanDepth - o.z) / d.z;
    }
    return Point3(static_cast<float>(o.x + d.x * t), static_cast<float>(o.y + d.y * t),
                  static_cast<float>(o.z + d.z * t));
}

bool ScreenPolygon::spanBetween(float y0, float y1, float& x0, float& x1) const
{
    bool any = false;
    auto include = [&](float x) {
        x0 = any ? std::min(x0, x) : x;
        x1 = any ? std::max(x1, x) : x;
        any = true;
    };
    for (int i = 0; i < count; ++i) {
        const Point2& a = v[i];
        const Point2& b = v[(i + 1) % count];
        if (a.y >= y0 && a.y <= y1)
            include(a.x);
        for (float yl : {y0, y1})
            if ((a.y < yl && b.y > yl) || (a.y > yl && b.y < yl))
                include(a.x + (b.x - a.x) * ((yl - a.y) / (b.y - a.y)));
    }
    return any;
}

namespace {

bool finite(const Point2& p) { return std::isfinite(p.x) && std::isfinite(p.y); }

bool lexLess(const Point2& a, const Point2& b) { return a.x < b.x || (a.x == b.x && a.y < b.y); }

EdgeFunction makeEdge(const Point2& a, const Point2& b, double orientation)
{
    EdgeFunction e;
    bool forward = lexLess(a, b);
    const Point2& p = forward ? a : b;
    const Point2& q = forward ? b : a;
    e.px = p.x, e.py = p.y;
    e.dx = static_cast<double>(q.x) - p.x, e.dy = static_cast<double>(q.y) - p.y;
    e.sign = forward ? orientation : -orientation;
    // Tie rule: exactly one of two opposite effective directions owns the samples on the edge.
    double ex = orientation * (static_cast<double>(b.x) - a.x),
           ey = orientation * (static_cast<double>(b.y) - a.y);
    e.ownsTies = ey > 0.0 || (ey == 0.0 && ex > 0.0);
    return e;
}

// Clips the face to z <= -near. Intersection points are computed from the inside end point, so
// faces sharing a clipped edge get identical vertices.
int clipNear(const std::array<Point3, 3>& tri, float zNear, Point3 (&out)[4])
{
    int n = 0;
    for (int i = 0; i < 3; ++i) {
        const Point3& a = tri[i];
        const Point3& b = tri[(i + 1) % 3];
        bool aIn = a.z <= zNear, bIn = b.z <= zNear;
        if (aIn)
            out[n++] = a;
        if (aIn != bIn) {
            const Point3& in = aIn ? a : b;
            const Point3& outside = aIn ? b : a;
            float s = (in.z - zNear) / (in.z - outside.z);
            Point3 p = in + (outside - in) * s;
            p.z = zNear;
            out[n++] = p;
        }
    }
    return n;
}

bool buildPolygon(const ScanlineView& view, ScreenPolygon& poly)
{
    Point3 clipped[4];
    int n = clipNear(poly.tri, -view.nearRange, clipped);
    if (n < 3)
        return false;
    float farZ = -view.farRange, depthSum = 0.0f;
    bool anyBeforeFar = false;
    for (int i = 0; i < n; ++i)
        anyBeforeFar = anyBeforeFar || clipped[i].z >= farZ, depthSum += clipped[i].z;
    if (!anyBeforeFar)
        return false;
    poly.meanDepth = depthSum / static_cast<float>(n);

    poly.count = 0;
    for (int i = 0; i < n; ++i) {
        Point2 s = view.toScreen(clipped[i]);
        if (!finite(s))
            return false;
        if (poly.count > 0 && poly.v[poly.count - 1] == s)
            continue;
        poly.v[poly.count++] = s;
    }
    while (poly.count > 1 && poly.v[poly.count - 1] == poly.v[0])
        --poly.count;
    if (poly.count < 3)
        return false;

    poly.xmin = poly.xmax = poly.v[0].x;
    poly.ymin = poly.ymax = poly.v[0].y;
    double area2 = 0.0;
    for (int i = 0; i < poly.count; ++i) {
        const Point2& a = poly.v[i];
        const Point2& b = poly.v[(i + 1) % poly.count];
        poly.xmin = std::min(poly.xmin, a.x), poly.xmax = std::max(poly.xmax, a.x);
        poly.ymin = std::min(poly.ymin, a.y), poly.ymax = std::max(poly.ymax, a.y);
        area2 += static_cast<double>(a.x) * b.y - static_cast<double>(b.x) * a.y;
    }
    if (area2 == 0.0 || poly.xmax <= 0.0f || poly.ymax <= 0.0f ||
        poly.xmin >= static_cast<float>(view.width) || poly.ymin >= static_cast<float>(view.height))
        return false;
    double orientation = area2 > 0.0 ? 1.0 : -1.0;
    for (int i = 0; i < poly.count; ++i)
        poly.edges[i] = makeEdge(poly.v[i], poly.v[(i + 1) % poly.count], orientation);
    return true;
}

bool finite(const Point3& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }

}  // namespace

void addScreenPolygons(const ScanlineView& view, ScanlineInstance& inst, std::uint32_t instanceIndex,
                       std::vector<ScreenPolygon>& out)
{
    const Mesh& mesh = inst.objectMesh();
    const auto& cv = inst.camVerts();
    std::unordered_map<int, bool> twoSided;  // by face material id
    auto isTwoSided = [&](int mtlId) {
        auto it = twoSided.find(mtlId);
        if (it == twoSided.end())
            it = twoSided.emplace(mtlId, inst.mtl && (inst.mtl->Requirements(mtlId) & MTLREQ_2SIDE)).first;
        return it->second;
    };

    for (std::size_t f = 0; f < mesh.faces.size(); ++f) {
        const Face& face = mesh.faces[f];
        ScreenPolygon poly;
        poly.tri = {cv[face.v[0]], cv[face.v[1]], cv[face.v[2]]};
        if (!finite(poly.tri[0]) || !finite(poly.tri[1]) || !finite(poly.tri[2]))
            continue;
        poly.normal = CrossProd(poly.tri[1] - poly.tri[0], poly.tri[2] - poly.tri[0]);
        if (poly.normal.LengthSquared() == 0.0f)
            continue;
        poly.backFace = view.projType == PROJ_PERSPECTIVE ? DotProd(poly.normal, poly.tri[0]) > 0.0f
                                                          : poly.normal.z < 0.0f;
        if (poly.backFace && !isTwoSided(face.mtlID))
            continue;
        poly.instance = instanceIndex;
        poly.face = static_cast<std::uint32_t>(f);
        if (buildPolygon(view, poly))
            out.push_back(poly);
    }
}

}  // namespace standalone::scanline
