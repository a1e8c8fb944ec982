#include "host/NormalCompression.h"

#include <algorithm>
#include <cmath>

namespace {

float signNotZero(float v) { return v >= 0.0f ? 1.0f : -1.0f; }

std::uint32_t quantise(float v)  // [-1, 1] -> [0, 65535]
{
    float q = std::round((std::clamp(v, -1.0f, 1.0f) * 0.5f + 0.5f) * 65535.0f);
    return static_cast<std::uint32_t>(q);
}

float dequantise(std::uint32_t q) { return static_cast<float>(q) / 65535.0f * 2.0f - 1.0f; }

}  // namespace

DWORD CompressNormal(const Point3& n)
{
    float l1 = std::fabs(n.x) + std::fabs(n.y) + std::fabs(n.z);
    if (!(l1 > 0.0f) || !std::isfinite(l1))
        return CompressNormal(Point3(0.0f, 0.0f, 1.0f));
    float u = n.x / l1, v = n.y / l1;
    if (n.z < 0.0f) {  // fold the lower hemisphere over the diagonals
        float fu = (1.0f - std::fabs(v)) * signNotZero(u);
        float fv = (1.0f - std::fabs(u)) * signNotZero(v);
        u = fu, v = fv;
    }
    return (quantise(u) << 16) | quantise(v);
}

Point3 DeCompressNormal(DWORD packed)
{
    float u = dequantise(packed >> 16), v = dequantise(packed & 0xFFFFu);
    float z = 1.0f - std::fabs(u) - std::fabs(v);
    if (z < 0.0f) {
        float fu = (1.0f - std::fabs(v)) * signNotZero(u);
        float fv = (1.0f - std::fabs(u)) * signNotZero(v);
        u = fu, v = fv;
    }
    return Normalize(Point3(u, v, z));
}
