#pragma once
// Reads a cached brush tile in 8.8 fixed point: nearest texel, 0 outside the tile, stepping by
// the painter's fixed-point steps after every read.

#include <algorithm>
#include <cstdint>

namespace vml {

class BrushTileSampler {
public:
    BrushTileSampler() = default;
    // `tile` holds size x size bytes, row by row; null or a size below 1 reads 0 everywhere.
    BrushTileSampler(const std::uint8_t* tile, int size) : tile_(tile), size_(size) {}

    // Position from texture coordinates: x = s x u and y = s x v, each clamped to 0..s, x 256
    // truncated, clamped to 0..(s - 1) x 256. NaN counts as 0.
    void setPosition(float u, float v);
    // Fixed-point steps added after each read.
    void setSteps(std::int32_t stepX, std::int32_t stepY)
    {
        stepX_ = stepX;
        stepY_ = stepY;
    }
    // The steps of texture-space steps (du, dv) per read: s x du x 256, truncated. A step of a
    // whole tile or more leaves the tile after one read from anywhere in it and reads 0 from
    // then on; such steps (tiny dabs make them huge) are held to one tile. NaN steps nowhere.
    void setTextureSteps(float du, float dv);
    // The texel at (x / 256, y / 256) / 255 when both lie within 0..(s - 1) x 256, else 0; then
    // advances by the steps. Inline: the painter calls it for every covered pixel.
    float sample()
    {
        float value = 0.0f;
        const std::int64_t last = std::int64_t{size_ - 1} * 256;
        if (tile_ && size_ >= 1 && x_ >= 0 && y_ >= 0 && x_ <= last && y_ <= last)
            value = static_cast<float>(tile_[(y_ >> 8) * size_ + (x_ >> 8)]) * 0.003921568f;
        x_ += stepX_;
        y_ += stepY_;
        return value;
    }

    // `count` reads in a row, as many calls of sample() would give them.
    void sampleRun(float* values, int count)
    {
        count = std::max(count, 0);
        std::int64_t x = x_, y = y_;
        const std::int64_t stepX = stepX_, stepY = stepY_;
        if (!tile_ || size_ < 1) {
            std::fill_n(values, count, 0.0f);
            x += stepX * count, y += stepY * count;
        } else {
            const auto last = static_cast<std::uint64_t>(std::int64_t{size_ - 1} * 256);
            const std::uint8_t* const tile = tile_;
            const std::int64_t size = size_;
            for (int i = 0; i < count; ++i, x += stepX, y += stepY) {
                // One unsigned comparison per axis: negative coordinates wrap far above `last`.
                const bool inside =
                    static_cast<std::uint64_t>(x) <= last && static_cast<std::uint64_t>(y) <= last;
                values[i] =
                    inside ? static_cast<float>(tile[(y >> 8) * size + (x >> 8)]) * 0.003921568f : 0.0f;
            }
        }
        x_ = x, y_ = y;
    }

    std::int64_t x() const { return x_; }
    std::int64_t y() const { return y_; }

private:
    const std::uint8_t* tile_ = nullptr;
    int size_ = 0;
    std::int64_t x_ = 0, y_ = 0;
    std::int32_t stepX_ = 0, stepY_ = 0;
};

}  // namespace vml
