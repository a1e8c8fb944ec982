#include "standalone/primitives/Box.h"

#include "standalone/primitives/MeshBuilder.h"

#include <map>
#include <tuple>
#include <vector>

namespace standalone {

namespace {

constexpr ValueRange kSize{0.0, 1.0e6, true};

const PrimitiveField<BoxParams> kFields[] = {
    {"width", &BoxParams::width, kSize},
    {"length", &BoxParams::length, kSize},
    {"height", &BoxParams::height, kSize},
    {"segments", &BoxParams::segments, {1, 256}},
};

// Point of the box's surface lattice: each coordinate counts segments from the minimum corner.
using Lattice = std::tuple<int, int, int>;

// One face: the lattice point of grid cell (a, b), with a x b pointing out of the box.
struct FaceFrame {
    Point3 normal;
    Lattice (*at)(int n, int a, int b);
};

const FaceFrame kFaces[] = {
    {{1, 0, 0},
     [](int n, int a, int b) {
         return Lattice{n, a, b};
     }},
    {{-1, 0, 0},
     [](int n, int a, int b) {
         return Lattice{0, n - a, b};
     }},
    {{0, 1, 0},
     [](int n, int a, int b) {
         return Lattice{n - a, n, b};
     }},
    {{0, -1, 0},
     [](int, int a, int b) {
         return Lattice{a, 0, b};
     }},
    {{0, 0, 1},
     [](int n, int a, int b) {
         return Lattice{a, b, n};
     }},
    {{0, 0, -1},
     [](int n, int a, int b) {
         return Lattice{a, n - b, 0};
     }},
};

}  // namespace

std::span<const PrimitiveField<BoxParams>> BoxParams::fields() { return kFields; }

std::shared_ptr<Mesh> makeBox(const BoxParams& p)
{
    requireValid(p, "box");
    const int n = p.segments;
    MeshBuilder b;
    // Faces meeting at an edge reach the same lattice point, so they share the vertex there.
    std::map<Lattice, DWORD> vertices;
    auto vertexAt = [&](const Lattice& l) {
        auto [it, added] = vertices.try_emplace(l, 0);
        if (added) {
            const auto [x, y, z] = l;
            it->second = b.vertex({(float(x) / float(n) - 0.5f) * p.width,
                                   (float(y) / float(n) - 0.5f) * p.length, float(z) / float(n) * p.height});
        }
        return it->second;
    };
    std::vector<MeshBuilder::Corner> grid;
    for (const FaceFrame& face : kFaces) {
        const DWORD normal = b.normal(face.normal);
        grid.clear();
        for (int c = 0; c <= n; ++c)
            for (int a = 0; a <= n; ++a)
                grid.push_back(
                    {vertexAt(face.at(n, a, c)), b.uv(float(a) / float(n), float(c) / float(n)), normal});
        auto at = [&](int a, int c) { return grid[static_cast<std::size_t>(c * (n + 1) + a)]; };
        for (int c = 0; c < n; ++c)
            for (int a = 0; a < n; ++a)
                b.quad(at(a, c), at(a + 1, c), at(a + 1, c + 1), at(a, c + 1));
    }
    return b.finish();
}

}  // namespace standalone
