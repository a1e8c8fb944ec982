#include "host/Noise.h"

#include <array>
#include <cmath>
#include <cstdint>

namespace {

// Gradients in [-1, 1] from a fixed 16-bit congruential sequence, so every process agrees.
std::array<float, 256> makeGradients()
{
    std::array<float, 256> g{};
    std::uint32_t x = 12345;
    for (float& v : g) {
        x = (x * 2061u + 7u) & 0xFFFFu;
        v = static_cast<float>(x) / 32767.5f - 1.0f;
    }
    return g;
}

const std::array<float, 256> gradients = makeGradients();

}  // namespace

float noise1(float arg)
{
    if (!std::isfinite(arg))
        return 0.0f;
    float fl = std::floor(arg);
    float t = arg - fl;
    // Wrap the lattice index without overflow for large arguments.
    auto i0 = static_cast<std::uint32_t>(static_cast<std::int64_t>(std::fmod(fl, 256.0f) + 256.0f)) & 255u;
    auto i1 = (i0 + 1u) & 255u;
    float a = gradients[i0] * t;
    float b = gradients[i1] * (t - 1.0f);
    float s = t * t * (3.0f - 2.0f * t);
    // Gradient noise peaks at |0.5|; scale to the documented range.
    return 2.0f * (a + (b - a) * s);
}
