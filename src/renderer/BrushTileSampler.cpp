#include "renderer/BrushTileSampler.h"

#include <algorithm>
#include <cmath>

namespace vml {

namespace {

std::int32_t fixedStep(float d, int size)
{
    const float perTexture = static_cast<float>(size) * 256.0f;
    const float step = std::isnan(d) ? 0.0f : d * perTexture;
    return static_cast<std::int32_t>(std::clamp(step, -perTexture, perTexture));
}

}  // namespace

TexelBox BrushTileSampler::nonzeroBox(const std::uint8_t* tile, int size)
{
    TexelBox box{size, size, -1, -1};
    if (!tile)
        return box;
    for (int y = 0; y < size; ++y) {
        const std::uint8_t* row = tile + static_cast<std::ptrdiff_t>(y) * size;
        int x0 = 0;
        while (x0 < size && row[x0] == 0)
            ++x0;
        if (x0 == size)
            continue;
        int x1 = size - 1;
        while (row[x1] == 0)
            --x1;
        box.x0 = std::min(box.x0, x0);
        box.x1 = std::max(box.x1, x1);
        box.y0 = std::min(box.y0, y);
        box.y1 = y;
    }
    return box;
}

TextureBox BrushTileSampler::nonzeroReach(int reads) const
{
    if (!tile_ || size_ < 1 || nonzero_.empty())
        return {1.0f, 1.0f, 0.0f, 0.0f};
    // The start is truncated to a 256th of a texel and so is every step: read i strays from
    // the exact line by at most i + 1 256ths. A texel more covers the clamps and float rounding.
    const float margin = (static_cast<float>(std::max(reads, 0)) + 2.0f) / 256.0f + 1.0f;
    const float texel = 1.0f / static_cast<float>(size_);
    return {(static_cast<float>(nonzero_.x0) - margin) * texel,
            (static_cast<float>(nonzero_.y0) - margin) * texel,
            (static_cast<float>(nonzero_.x1 + 1) + margin) * texel,
            (static_cast<float>(nonzero_.y1 + 1) + margin) * texel};
}

void BrushTileSampler::setTextureSteps(float du, float dv)
{
    const int size = std::max(size_, 1);
    setSteps(fixedStep(du, size), fixedStep(dv, size));
}

}  // namespace vml
