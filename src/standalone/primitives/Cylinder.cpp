#include "standalone/primitives/Cylinder.h"

#include "standalone/primitives/MeshBuilder.h"

#include <cmath>
#include <numbers>
#include <vector>

namespace standalone {

namespace {

constexpr ValueRange kSize{0.0, 1.0e6, true};

const PrimitiveField<CylinderParams> kFields[] = {
    {"radius", &CylinderParams::radius, kSize},
    {"height", &CylinderParams::height, kSize},
    {"sides", &CylinderParams::sides, {3, 1024}},
    {"heightSegments", &CylinderParams::heightSegments, {1, 1024}},
    {"caps", &CylinderParams::caps, {}},
};

}  // namespace

std::span<const PrimitiveField<CylinderParams>> CylinderParams::fields() { return kFields; }

std::shared_ptr<Mesh> makeCylinder(const CylinderParams& p)
{
    requireValid(p, "cylinder");
    const int sides = p.sides, rows = p.heightSegments;
    MeshBuilder b;
    std::vector<Point3> around;  // unit directions of the sides' edges
    for (int i = 0; i < sides; ++i) {
        const double phi = 2.0 * std::numbers::pi * i / sides;
        around.emplace_back(float(std::cos(phi)), float(std::sin(phi)), 0.0f);
    }
    std::vector<DWORD> verts, normals;
    for (int j = 0; j <= rows; ++j)
        for (const Point3& d : around)
            verts.push_back(b.vertex(d * p.radius + Point3(0, 0, float(j) / float(rows) * p.height)));
    for (const Point3& d : around)
        normals.push_back(b.normal(d));
    std::vector<DWORD> uvs;
    for (int j = 0; j <= rows; ++j)
        for (int i = 0; i <= sides; ++i)
            uvs.push_back(b.uv(float(i) / float(sides), float(j) / float(rows)));

    auto vertexAt = [&](int i, int j) { return verts[static_cast<std::size_t>(j * sides + i % sides)]; };
    auto side = [&](int i, int j) {
        return MeshBuilder::Corner{vertexAt(i, j), uvs[static_cast<std::size_t>(j * (sides + 1) + i)],
                                   normals[static_cast<std::size_t>(i % sides)]};
    };
    for (int j = 0; j < rows; ++j)
        for (int i = 0; i < sides; ++i)
            b.quad(side(i, j), side(i + 1, j), side(i + 1, j + 1), side(i, j + 1));

    if (p.caps) {
        // Each cap is a fan around a centre vertex. Seen from below the bottom cap's U runs to
        // the right, as the top's does seen from above.
        for (int top = 0; top < 2; ++top) {
            const float z = top ? p.height : 0.0f, flip = top ? 1.0f : -1.0f;
            const DWORD normal = b.normal({0, 0, flip});
            const MeshBuilder::Corner centre{b.vertex({0, 0, z}), b.uv(0.5f, 0.5f), normal};
            std::vector<MeshBuilder::Corner> rim;
            for (int i = 0; i < sides; ++i) {
                const Point3& d = around[static_cast<std::size_t>(i)];
                rim.push_back(
                    {vertexAt(i, top ? rows : 0), b.uv(0.5f + 0.5f * flip * d.x, 0.5f + 0.5f * d.y), normal});
            }
            for (int i = 0; i < sides; ++i) {
                const auto& a = rim[static_cast<std::size_t>(i)];
                const auto& c = rim[static_cast<std::size_t>((i + 1) % sides)];
                if (top)
                    b.triangle(centre, a, c);
                else
                    b.triangle(centre, c, a);
            }
        }
    }
    return b.finish();
}

}  // namespace standalone
