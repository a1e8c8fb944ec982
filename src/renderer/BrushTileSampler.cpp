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

// Rounding of a / b toward minus infinity, b > 0.
std::int64_t floorDiv(std::int64_t a, std::int64_t b) { return a >= 0 ? a / b : -((b - 1 - a) / b); }
std::int64_t ceilDiv(std::int64_t a, std::int64_t b) { return -floorDiv(-a, b); }

// Narrows [first, last] to the reads i whose position p + i x step lies in [lo, hi].
void clipReads(std::int64_t p, std::int64_t step, std::int64_t lo, std::int64_t hi, std::int64_t& first,
               std::int64_t& last)
{
    if (step == 0) {
        if (p < lo || p > hi)
            last = first - 1;
        return;
    }
    const bool up = step > 0;
    const std::int64_t magnitude = up ? step : -step;
    first = std::max(first, up ? ceilDiv(lo - p, magnitude) : ceilDiv(p - hi, magnitude));
    last = std::min(last, up ? floorDiv(hi - p, magnitude) : floorDiv(p - lo, magnitude));
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

ReadRun BrushTileSampler::sampleNonzeroRun(float* values, int count)
{
    count = std::max(count, 0);
    const std::int64_t x = x_, y = y_, stepX = stepX_, stepY = stepY_;
    x_ = x + stepX * count, y_ = y + stepY * count;
    if (!tile_ || size_ < 1 || nonzero_.empty())
        return {};
    // Positions in texels x 256: texel t covers t x 256 .. t x 256 + 255.
    std::int64_t first = 0, last = count - 1;
    clipReads(x, stepX, std::int64_t{nonzero_.x0} * 256, std::int64_t{nonzero_.x1} * 256 + 255, first, last);
    clipReads(y, stepY, std::int64_t{nonzero_.y0} * 256, std::int64_t{nonzero_.y1} * 256 + 255, first, last);
    if (first > last)
        return {};
    const int n = static_cast<int>(last - first + 1);
    readRun(x + stepX * first, y + stepY * first, values, n);
    return {static_cast<int>(first), n};
}

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
