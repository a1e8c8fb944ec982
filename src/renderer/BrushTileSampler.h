#pragma once
// Reads a cached brush tile in 8.8 fixed point: nearest texel, 0 outside the tile, stepping by
// the painter's fixed-point steps after every read.

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace vml {

// Texels (x0..x1, y0..y1), inclusive; empty when x0 > x1 or y0 > y1.
struct TexelBox {
    int x0 = 0, y0 = 0, x1 = -1, y1 = -1;
    bool empty() const { return x0 > x1 || y0 > y1; }
};

// A box of texture space, the tile being 0..1 both ways; empty when u0 > u1 or v0 > v1.
struct TextureBox {
    float u0 = 0.0f, v0 = 0.0f, u1 = 1.0f, v1 = 1.0f;
    bool empty() const { return !(u0 <= u1 && v0 <= v1); }
};

// Reads first .. first + count - 1 of a run of reads; empty when count is 0.
struct ReadRun {
    int first = 0;
    int count = 0;
};

class BrushTileSampler {
public:
    BrushTileSampler() = default;
    // `tile` holds size x size bytes, row by row; null or a size below 1 reads 0 everywhere.
    BrushTileSampler(const std::uint8_t* tile, int size)
        : BrushTileSampler(tile, size, TexelBox{0, 0, size - 1, size - 1})
    {}
    // The same, told that every texel outside `nonzero` is 0 (nonzeroBox gives the tightest).
    BrushTileSampler(const std::uint8_t* tile, int size, const TexelBox& nonzero)
        : tile_(tile), size_(size), nonzero_(nonzero), readable_(readableBox(tile, size, nonzero))
    {}
    // The smallest box holding every texel above 0 of a size x size tile.
    static TexelBox nonzeroBox(const std::uint8_t* tile, int size);

    // Position from texture coordinates: x = s x u and y = s x v, each clamped to 0..s, x 256
    // truncated, clamped to 0..(s - 1) x 256. NaN counts as 0. Inline: set for every row of
    // every dab.
    void setPosition(float u, float v)
    {
        if (size_ < 1)
            return;
        x_ = fixedCoordinate(u, size_);
        y_ = fixedCoordinate(v, size_);
    }
    // Fixed-point steps added after each read.
    void setSteps(std::int32_t stepX, std::int32_t stepY)
    {
        stepX_ = stepX;
        stepY_ = stepY;
        spanX_ = spanInSteps(readable_.x1 - readable_.x0, stepX);
        spanY_ = spanInSteps(readable_.y1 - readable_.y0, stepY);
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
            readRun(x, y, values, count);
            x += stepX * count, y += stepY * count;
        }
        x_ = x, y_ = y;
    }

    // The reads of sampleRun(values, count) that can be above 0, as they are in values[0..n):
    // the run's reads that land in the nonzero box. Every other read is 0 and is not written.
    // A dab's square is mostly empty around the tip, so this skips most of its pixels.
    ReadRun sampleNonzeroRun(float* values, int count)
    {
        count = std::max(count, 0);
        const PlannedRun run = nonzeroRunFrom(x_, y_, count);
        x_ += std::int64_t{stepX_} * count, y_ += std::int64_t{stepY_} * count;
        readPlanned(run, values);
        return run.reads;
    }

    // A nonzero run worked out ahead of its reads: which reads of the run (as sampleNonzeroRun
    // answers them) and the position of the first.
    struct PlannedRun {
        ReadRun reads;
        std::int64_t x = 0, y = 0;
    };
    // setPosition(u, v) and then sampleNonzeroRun(values, count), without reading yet and
    // without moving the position: a painter works out the runs of a dab's rows first, as they
    // do not depend on one another, and then reads them.
    PlannedRun planNonzeroRun(float u, float v, int count) const
    {
        if (size_ < 1)
            return {};
        return nonzeroRunFrom(fixedCoordinate(u, size_), fixedCoordinate(v, size_), std::max(count, 0));
    }
    void readPlanned(const PlannedRun& run, float* values) const
    {
        readInside(run.x, run.y, values, run.reads.count);
    }

    // Where a run of up to `reads` reads, started with setPosition(u, v) for u and v within
    // 0..1 and stepped by setTextureSteps(du, dv), can read above 0: every such read i lies
    // inside it at (u + i du, v + i dv). The nonzero box, widened by how far the fixed-point
    // reads stray from that line.
    TextureBox nonzeroReach(int reads) const;
    std::int64_t x() const { return x_; }
    std::int64_t y() const { return y_; }

private:
    // Where reads can answer above 0, in positions (texels x 256): inside the nonzero box and
    // at most (s - 1) x 256, as a read beyond that answers 0. Empty (lo > hi) when none can.
    struct ReadableBox {
        std::int64_t x0 = 0, x1 = -1, y0 = 0, y1 = -1;
    };
    static ReadableBox readableBox(const std::uint8_t* tile, int size, const TexelBox& nonzero)
    {
        if (!tile || size < 1 || nonzero.empty())
            return {};
        const std::int64_t last = std::int64_t{size - 1} * 256;
        return {std::int64_t{nonzero.x0} * 256, std::min(std::int64_t{nonzero.x1} * 256 + 255, last),
                std::int64_t{nonzero.y0} * 256, std::min(std::int64_t{nonzero.y1} * 256 + 255, last)};
    }
    static std::int64_t fixedCoordinate(float t, int size)
    {
        const float s = static_cast<float>(size);
        const float texel = std::isnan(t) ? 0.0f : std::clamp(s * t, 0.0f, s);
        const auto fixed = static_cast<std::int64_t>(texel * 256.0f);
        return std::clamp<std::int64_t>(fixed, 0, std::int64_t{size - 1} * 256);
    }
    // The readable box's side along one axis, hi - lo, in whole steps and the rest.
    struct SpanInSteps {
        std::int64_t whole = 0, rest = 0;
    };
    static SpanInSteps spanInSteps(std::int64_t side, std::int32_t step)
    {
        const std::int64_t magnitude = step < 0 ? -std::int64_t{step} : step;
        if (side < 0 || magnitude == 0)
            return {};
        return {side / magnitude, side % magnitude};
    }

    // Narrows [first, last] to the reads i whose position p + i x step lies in [lo, hi], with
    // one division. With t = |step| and d = p - lo (d = hi - p going down), d = q t + r with
    // 0 <= r < t: the first such read is -q, and as hi - lo = W t + m, the last is
    // W - q - (1 when m < r).
    static void clipReads(std::int64_t p, std::int64_t step, std::int64_t lo, std::int64_t hi,
                          const SpanInSteps& span, std::int64_t& first, std::int64_t& last)
    {
        if (step == 0) {
            if (p < lo || p > hi)
                last = first - 1;
            return;
        }
        const std::int64_t t = step > 0 ? step : -step, d = step > 0 ? p - lo : hi - p;
        std::int64_t q = d / t, r = d % t;
        if (r < 0)
            --q, r += t;
        first = std::max(first, -q);
        last = std::min(last, span.whole - q - (span.rest < r ? 1 : 0));
    }

    PlannedRun nonzeroRunFrom(std::int64_t x, std::int64_t y, int count) const
    {
        const ReadableBox& box = readable_;
        if (box.x0 > box.x1 || box.y0 > box.y1)
            return {};
        std::int64_t first = 0, last = count - 1;
        clipReads(x, stepX_, box.x0, box.x1, spanX_, first, last);
        clipReads(y, stepY_, box.y0, box.y1, spanY_, first, last);
        if (first > last)
            return {};
        return {{static_cast<int>(first), static_cast<int>(last - first + 1)},
                x + stepX_ * first,
                y + stepY_ * first};
    }

    // `count` reads from (x, y) on, stepping by the steps, into values; every read must lie
    // within the readable box, so none is tested.
    void readInside(std::int64_t x, std::int64_t y, float* values, int count) const
    {
        const std::uint8_t* const tile = tile_;
        const std::int64_t size = size_, stepX = stepX_, stepY = stepY_;
        for (int i = 0; i < count; ++i, x += stepX, y += stepY)
            values[i] = static_cast<float>(tile[(y >> 8) * size + (x >> 8)]) * 0.003921568f;
    }

    // `count` reads from (x, y) on, stepping by the steps, into values; the tile must be set.
    void readRun(std::int64_t x, std::int64_t y, float* values, int count) const
    {
        const auto last = static_cast<std::uint64_t>(std::int64_t{size_ - 1} * 256);
        const std::uint8_t* const tile = tile_;
        const std::int64_t size = size_, stepX = stepX_, stepY = stepY_;
        for (int i = 0; i < count; ++i, x += stepX, y += stepY) {
            // One unsigned comparison per axis: negative coordinates wrap far above `last`.
            const bool inside =
                static_cast<std::uint64_t>(x) <= last && static_cast<std::uint64_t>(y) <= last;
            values[i] = inside ? static_cast<float>(tile[(y >> 8) * size + (x >> 8)]) * 0.003921568f : 0.0f;
        }
    }

    const std::uint8_t* tile_ = nullptr;
    int size_ = 0;
    std::int64_t x_ = 0, y_ = 0;
    std::int32_t stepX_ = 0, stepY_ = 0;
    TexelBox nonzero_;
    ReadableBox readable_;
    SpanInSteps spanX_, spanY_;  // of the readable box, for the current steps
};

}  // namespace vml
