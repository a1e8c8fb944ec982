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

std::int32_t fixedStep(float d, int size)
{
    const float perTexture = static_cast<float>(size) * 256.0f;
    const float step = std::isnan(d) ? 0.0f : d * perTexture;
    return static_cast<std::int32_t>(std::clamp(step, -perTexture, perTexture));
}

}  // namespace

void BrushTileSampler::setTextureSteps(float du, float dv)
{
    const int size = std::max(size_, 1);
    stepX_ = fixedStep(du, size);
    stepY_ = fixedStep(dv, size);
}

void BrushTileSampler::setPosition(float u, float v)
{
    if (size_ < 1)
        return;
    x_ = fixedCoordinate(u, size_);
    y_ = fixedCoordinate(v, size_);
}

}  // namespace vml
