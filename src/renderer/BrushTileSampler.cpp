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

// Narrows [first, last] to the i with 0 <= start + i x step <= limit.
void clipSteps(std::int64_t start, std::int64_t step, std::int64_t limit, std::int64_t& first,
               std::int64_t& last)
{
    if (step == 0) {
        if (start < 0 || start > limit)
            last = first - 1;
        return;
    }
    // Floor and ceiling of the integer quotients, for either sign.
    auto floorDiv = [](std::int64_t a, std::int64_t b) {
        const std::int64_t q = a / b;
        return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
    };
    auto ceilDiv = [&](std::int64_t a, std::int64_t b) { return -floorDiv(-a, b); };
    std::int64_t lo, hi;
    if (step > 0) {
        lo = ceilDiv(-start, step);
        hi = floorDiv(limit - start, step);
    } else {
        lo = ceilDiv(limit - start, step);
        hi = floorDiv(-start, step);
    }
    first = std::max(first, lo);
    last = std::min(last, hi);
}

}  // namespace

void BrushTileSampler::sampleRun(float* values, int count)
{
    if (count <= 0)
        return;
    std::int64_t first = 0, last = count - 1;
    if (!tile_ || size_ < 1) {
        last = -1;
    } else {
        const std::int64_t limit = std::int64_t{size_ - 1} * 256;
        clipSteps(x_, stepX_, limit, first, last);
        clipSteps(y_, stepY_, limit, first, last);
    }
    if (first > last) {
        std::fill(values, values + count, 0.0f);
    } else {
        std::fill(values, values + first, 0.0f);
        std::int64_t x = x_ + first * stepX_, y = y_ + first * stepY_;
        for (std::int64_t i = first; i <= last; ++i, x += stepX_, y += stepY_)
            values[i] = static_cast<float>(tile_[(y >> 8) * size_ + (x >> 8)]) * 0.003921568f;
        std::fill(values + last + 1, values + count, 0.0f);
    }
    x_ += std::int64_t{count} * stepX_;
    y_ += std::int64_t{count} * stepY_;
}

void BrushTileSampler::setPosition(float u, float v)
{
    if (size_ < 1)
        return;
    x_ = fixedCoordinate(u, size_);
    y_ = fixedCoordinate(v, size_);
}

}  // namespace vml
