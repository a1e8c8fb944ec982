#include "standalone/primitives/Plane.h"

#include "standalone/primitives/MeshBuilder.h"

#include <vector>

namespace standalone {

namespace {

constexpr ValueRange kSize{0.0, 1.0e6, true};

const PrimitiveField<PlaneParams> kFields[] = {
    {"width", &PlaneParams::width, kSize},
    {"length", &PlaneParams::length, kSize},
    {"segments", &PlaneParams::segments, {1, 512}},
};

}  // namespace

std::span<const PrimitiveField<PlaneParams>> PlaneParams::fields() { return kFields; }

std::shared_ptr<Mesh> makePlane(const PlaneParams& p)
{
    requireValid(p, "plane");
    const int n = p.segments;
    MeshBuilder b;
    const DWORD up = b.normal({0, 0, 1});
    std::vector<MeshBuilder::Corner> grid;
    for (int j = 0; j <= n; ++j) {
        for (int i = 0; i <= n; ++i) {
            const float u = float(i) / float(n), v = float(j) / float(n);
            const Point3 pos((u - 0.5f) * p.width, (v - 0.5f) * p.length, 0.0f);
            grid.push_back({b.vertex(pos), b.uv(u, v), up});
        }
    }
    auto at = [&](int i, int j) { return grid[static_cast<std::size_t>(j * (n + 1) + i)]; };
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i)
            b.quad(at(i, j), at(i + 1, j), at(i + 1, j + 1), at(i, j + 1));
    return b.finish();
}

}  // namespace standalone
