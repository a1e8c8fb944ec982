#include "standalone/primitives/Torus.h"

#include "standalone/primitives/MeshBuilder.h"

#include <cmath>
#include <numbers>
#include <vector>

namespace standalone {

namespace {

constexpr ValueRange kSize{0.0, 1.0e6, true};

const PrimitiveField<TorusParams> kFields[] = {
    {"radius1", &TorusParams::radius1, kSize},
    {"radius2", &TorusParams::radius2, kSize},
    {"segments", &TorusParams::segments, {3, 1024}},
    {"sides", &TorusParams::sides, {3, 1024}},
};

}  // namespace

std::span<const PrimitiveField<TorusParams>> TorusParams::fields() { return kFields; }

std::shared_ptr<Mesh> makeTorus(const TorusParams& p)
{
    requireValid(p, "torus");
    const int segs = p.segments, sides = p.sides;
    MeshBuilder b;
    // Vertex (i, j): segment i around Z, side j around the tube; normals parallel to positions.
    for (int i = 0; i < segs; ++i) {
        const double phi = 2.0 * std::numbers::pi * i / segs;
        for (int j = 0; j < sides; ++j) {
            const double theta = 2.0 * std::numbers::pi * j / sides;
            const Point3 n(float(std::cos(theta) * std::cos(phi)), float(std::cos(theta) * std::sin(phi)),
                           float(std::sin(theta)));
            const Point3 centre(float(std::cos(phi)) * p.radius1, float(std::sin(phi)) * p.radius1, 0.0f);
            b.vertex(centre + n * p.radius2);
            b.normal(n);
        }
    }
    std::vector<DWORD> uvs;
    for (int i = 0; i <= segs; ++i)
        for (int j = 0; j <= sides; ++j)
            uvs.push_back(b.uv(float(i) / float(segs), float(j) / float(sides)));
    auto corner = [&](int i, int j) {
        const DWORD v = static_cast<DWORD>((i % segs) * sides + j % sides);
        return MeshBuilder::Corner{v, uvs[static_cast<std::size_t>(i * (sides + 1) + j)], v};
    };
    for (int i = 0; i < segs; ++i)
        for (int j = 0; j < sides; ++j)
            b.quad(corner(i, j), corner(i + 1, j), corner(i + 1, j + 1), corner(i, j + 1));
    return b.finish();
}

}  // namespace standalone
