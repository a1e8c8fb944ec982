#include "standalone/primitives/Teapot.h"

#include "standalone/primitives/MeshBuilder.h"
#include "standalone/primitives/TeapotPatches.h"

#include <array>
#include <cmath>
#include <vector>

namespace standalone {

namespace {

const PrimitiveField<TeapotParams> kFields[] = {
    {"radius", &TeapotParams::radius, {0.0, 1.0e6, true}},
    {"segments", &TeapotParams::segments, {1, 64}},
};

// Evaluation runs in double: near the poles the derivatives are tiny.
struct Vec {
    double x = 0, y = 0, z = 0;
    Vec operator+(const Vec& o) const { return {x + o.x, y + o.y, z + o.z}; }
    Vec operator*(double s) const { return {x * s, y * s, z * s}; }
    bool operator==(const Vec&) const = default;
    double length() const { return std::sqrt(x * x + y * y + z * z); }
};

Vec cross(const Vec& a, const Vec& b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

std::array<double, 4> bernstein(double t)
{
    const double s = 1.0 - t;
    return {s * s * s, 3.0 * t * s * s, 3.0 * t * t * s, t * t * t};
}

std::array<double, 4> bernsteinDerivative(double t)
{
    const double s = 1.0 - t;
    return {-3.0 * s * s, 3.0 * s * s - 6.0 * t * s, 6.0 * t * s - 3.0 * t * t, 3.0 * t * t};
}

class Patch {
public:
    explicit Patch(int index)
    {
        for (int k = 0; k < 16; ++k) {
            const float* p = teapot::kPoints[teapot::kPatches[index][k]];
            cp_[k / 4][k % 4] = {p[0], p[1], p[2]};
        }
    }

    // u runs along a row of control points, v across the rows.
    Vec point(double u, double v) const { return sum(bernstein(u), bernstein(v)); }

    // Outward unit normal. Where a row of control points collapses to one point (the lid's and
    // the bottom's centres) the derivative along it vanishes; there the normal is the limit
    // approached from inside the patch.
    Vec normal(double u, double v) const
    {
        for (double step : {0.0, 1e-5, 1e-4, 1e-3}) {
            const double uu = u + (u < 0.5 ? step : -step), vv = v + (v < 0.5 ? step : -step);
            const Vec n = cross(sum(bernsteinDerivative(uu), bernstein(vv)),
                                sum(bernstein(uu), bernsteinDerivative(vv)));
            const double len = n.length();
            if (len > 1e-9)
                return n * (1.0 / len);
        }
        return {0, 0, v < 0.5 ? 1.0 : -1.0};
    }

    // Whether control-point row r (0 or 3) collapses to one point.
    bool pole(int r) const
    {
        for (int c = 1; c < 4; ++c)
            if (!(cp_[r][c] == cp_[r][0]))
                return false;
        return true;
    }
    const Vec& control(int r, int c) const { return cp_[r][c]; }

private:
    Vec sum(const std::array<double, 4>& bu, const std::array<double, 4>& bv) const
    {
        Vec p;
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 4; ++c)
                p = p + cp_[r][c] * (bv[static_cast<std::size_t>(r)] * bu[static_cast<std::size_t>(c)]);
        return p;
    }

    Vec cp_[4][4];
};

}  // namespace

std::span<const PrimitiveField<TeapotParams>> TeapotParams::fields() { return kFields; }

std::shared_ptr<Mesh> makeTeapot(const TeapotParams& p)
{
    requireValid(p, "teapot");
    const int n = p.segments;
    const double scale = double(p.radius) / teapot::kBodyRadius;
    auto toPoint = [&](const Vec& v) {
        return Point3(float(v.x * scale), float(v.y * scale), float(v.z * scale));
    };
    MeshBuilder b;
    std::vector<MeshBuilder::Corner> grid;
    for (int index = 0; index < teapot::kPatchCount; ++index) {
        const Patch patch(index);
        const bool pole[2] = {patch.pole(0), patch.pole(3)};
        grid.clear();
        for (int i = 0; i <= n; ++i) {
            const double v = double(i) / n;
            // A collapsed row shares one vertex, placed exactly on its control point.
            const bool onPole = (i == 0 && pole[0]) || (i == n && pole[1]);
            const DWORD poleVertex = onPole ? b.vertex(toPoint(patch.control(i == 0 ? 0 : 3, 0))) : 0;
            for (int j = 0; j <= n; ++j) {
                const double u = double(j) / n;
                const Vec nrm = patch.normal(u, v);
                grid.push_back({onPole ? poleVertex : b.vertex(toPoint(patch.point(u, v))),
                                b.uv(float(u), float(1.0 - v)),
                                b.normal({float(nrm.x), float(nrm.y), float(nrm.z)})});
            }
        }
        auto at = [&](int i, int j) { return grid[static_cast<std::size_t>(i * (n + 1) + j)]; };
        for (int i = 0; i < n; ++i) {
            for (int j = 0; j < n; ++j) {
                const auto a = at(i, j), bb = at(i, j + 1), c = at(i + 1, j + 1), d = at(i + 1, j);
                // Split along a-c, dropping the half that collapses at a pole.
                if (!(i == 0 && pole[0]))
                    b.triangle(a, bb, c);
                if (!(i + 1 == n && pole[1]))
                    b.triangle(a, c, d);
            }
        }
    }
    return b.finish();
}

}  // namespace standalone
