#include "standalone/maps/GradientNoise3.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace standalone {

namespace {

std::uint32_t hash(std::int32_t x, std::int32_t y, std::int32_t z)
{
    std::uint32_t h = static_cast<std::uint32_t>(x) * 0x8da6b343u ^
                      static_cast<std::uint32_t>(y) * 0xd8163841u ^
                      static_cast<std::uint32_t>(z) * 0xcb1ab31fu;
    h ^= h >> 16;
    h *= 0x7feb352du;
    h ^= h >> 15;
    h *= 0x846ca68bu;
    h ^= h >> 16;
    return h;
}

// Dot product of the offset with one of the twelve cube-edge gradients.
double gradDot(std::uint32_t h, double x, double y, double z)
{
    switch (h % 12u) {
    case 0: return x + y;
    case 1: return -x + y;
    case 2: return x - y;
    case 3: return -x - y;
    case 4: return x + z;
    case 5: return -x + z;
    case 6: return x - z;
    case 7: return -x - z;
    case 8: return y + z;
    case 9: return -y + z;
    case 10: return y - z;
    default: return -y - z;
    }
}

double fade(double t) { return t * t * t * (t * (t * 6.0 - 15.0) + 10.0); }
double lerp(double a, double b, double t) { return a + (b - a) * t; }

// Lattice cells beyond this are folded back; the noise then repeats, but stays defined.
constexpr double kPeriod = 1 << 20;

}  // namespace

float gradientNoise3(const Point3& p)
{
    double c[3] = {p.x, p.y, p.z};
    for (double& v : c) {
        if (!std::isfinite(v))
            return 0.0f;
        v = std::fmod(v, kPeriod);
    }
    const double fx = std::floor(c[0]), fy = std::floor(c[1]), fz = std::floor(c[2]);
    const auto ix = static_cast<std::int32_t>(fx), iy = static_cast<std::int32_t>(fy),
               iz = static_cast<std::int32_t>(fz);
    const double x = c[0] - fx, y = c[1] - fy, z = c[2] - fz;
    const double u = fade(x), v = fade(y), w = fade(z);
    auto corner = [&](int dx, int dy, int dz) {
        return gradDot(hash(ix + dx, iy + dy, iz + dz), x - dx, y - dy, z - dz);
    };
    const double value = lerp(
        lerp(lerp(corner(0, 0, 0), corner(1, 0, 0), u), lerp(corner(0, 1, 0), corner(1, 1, 0), u), v),
        lerp(lerp(corner(0, 0, 1), corner(1, 0, 1), u), lerp(corner(0, 1, 1), corner(1, 1, 1), u), v), w);
    return static_cast<float>(std::clamp(value, -1.0, 1.0));
}

float fractalNoise3(const Point3& p, int octaves)
{
    octaves = std::clamp(octaves, 1, 10);
    float sum = 0.0f, amplitude = 1.0f, total = 0.0f;
    Point3 q = p;
    for (int i = 0; i < octaves; ++i) {
        sum += amplitude * gradientNoise3(q);
        total += amplitude;
        amplitude *= 0.5f;
        q = q * 2.0f;
    }
    return sum / total;
}

}  // namespace standalone
