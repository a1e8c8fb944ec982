#include "renderer/BrushTileSampler.h"

#include <algorithm>
#include <cmath>

namespace vml {

namespace {

std::int64_t fixedCoordinate(float t, int size)
{
    const float s = static_cast<float>(size);
    const float texel = std::isnan(t) ? 0.0f : std::clamp(s * t, 0.0f, s);
    const auto fixed = static_cast<std::int64_t>(texel * 256.0f);
    return std::clamp<std::int64_t>(fixed, 0, std::int64_t{size - 1} * 256);
}

}  // namespace

void BrushTileSampler::setPosition(float u, float v)
{
    if (size_ < 1)
        return;
    x_ = fixedCoordinate(u, size_);
    y_ = fixedCoordinate(v, size_);
}

}  // namespace vml
