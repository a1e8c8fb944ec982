#include "standalone/primitives/Sphere.h"

#include "standalone/primitives/MeshBuilder.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace standalone {

namespace {

const PrimitiveField<SphereParams> kFields[] = {
    {"radius", &SphereParams::radius, {0.0, 1.0e6, true}},
    {"segments", &SphereParams::segments, {4, 1024}},
};

}  // namespace

std::span<const PrimitiveField<SphereParams>> SphereParams::fields() { return kFields; }

std::shared_ptr<Mesh> makeSphere(const SphereParams& p)
{
    requireValid(p, "sphere");
    const int segments = p.segments, rings = segments / 2;
    MeshBuilder b;
    // Normals are stored parallel to the positions.
    auto addVertex = [&](const Point3& unit) {
        b.normal(unit);
        return b.vertex(unit * p.radius);
    };
    const DWORD north = addVertex({0, 0, 1});
    std::vector<DWORD> ring;  // ring r (1..rings-1), segment i: ring[(r - 1) * segments + i]
    for (int r = 1; r < rings; ++r) {
        const double theta = std::numbers::pi * r / rings;  // from the north pole
        for (int i = 0; i < segments; ++i) {
            const double phi = 2.0 * std::numbers::pi * i / segments;
            ring.push_back(addVertex({float(std::sin(theta) * std::cos(phi)),
                                      float(std::sin(theta) * std::sin(phi)), float(std::cos(theta))}));
        }
    }
    const DWORD south = addVertex({0, 0, -1});

    // Texture vertices form a (segments + 1) x (rings + 1) grid: the seam column repeats, and the
    // pole rows give each pole triangle its own U.
    std::vector<DWORD> uvs;
    for (int r = 0; r <= rings; ++r)
        for (int i = 0; i <= segments; ++i) {
            const float u =
                (r == 0 || r == rings) ? (float(i) + 0.5f) / float(segments) : float(i) / float(segments);
            uvs.push_back(b.uv(std::min(u, 1.0f), 1.0f - float(r) / float(rings)));
        }
    auto corner = [&](int r, int i) {
        const DWORD t = uvs[static_cast<std::size_t>(r * (segments + 1) + i)];
        DWORD v = r == 0       ? north
                  : r == rings ? south
                               : ring[static_cast<std::size_t>((r - 1) * segments + i % segments)];
        return MeshBuilder::Corner{v, t, v};
    };
    for (int i = 0; i < segments; ++i) {
        b.triangle(corner(0, i), corner(1, i), corner(1, i + 1));
        for (int r = 1; r + 1 < rings; ++r)
            b.quad(corner(r, i), corner(r + 1, i), corner(r + 1, i + 1), corner(r, i + 1));
        b.triangle(corner(rings - 1, i), corner(rings, i), corner(rings - 1, i + 1));
    }
    return b.finish();
}

}  // namespace standalone
