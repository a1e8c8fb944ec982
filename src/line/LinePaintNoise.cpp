#include "line/LinePaintNoise.h"

#include "shell/RandomTables.h"

#include <algorithm>

namespace vml {
namespace {

constexpr std::uint32_t rowStride = 0x4180;
constexpr std::array<std::uint32_t, 4> cornerOffsets = {0, 1, rowStride, rowStride + 1};

}  // namespace

float latticeWeight(float d)
{
    if (d <= 0.25f)
        return 1.0f;
    return std::max(0.0f, 1.0f - (d - 0.25f) * (4.0f / 3.0f));
}

LinePaintNoise::LinePaintNoise(int cellColumn, int cellRow)
{
    const std::uint32_t i =
        static_cast<std::uint32_t>(cellRow) * rowStride + static_cast<std::uint32_t>(cellColumn);
    for (std::size_t k = 0; k < corners_.size(); ++k) {
        std::uint32_t state = randomTableA[(i + cornerOffsets[k]) & 0xFFFFu];
        for (std::uint32_t& drawn : corners_[k]) {
            state = lcgNext(state);
            drawn = state;
        }
    }
}

std::array<float, paintDrawCount> LinePaintNoise::values(float fx, float fy) const
{
    fx = std::clamp(fx, 0.0f, 1.0f);
    fy = std::clamp(fy, 0.0f, 1.0f);
    const float wx0 = latticeWeight(fx), wx1 = latticeWeight(1.0f - fx);
    const float wy0 = latticeWeight(fy), wy1 = latticeWeight(1.0f - fy);
    const std::array<float, 4> weights = {wx0 * wy0, wx1 * wy0, wx0 * wy1, wx1 * wy1};
    // The weights do not sum to 1 inside the cell (up to 16/9 at its centre): the mean is taken
    // over their sum so every value stays in 0..1. The sum is never below 1.
    const float total = weights[0] + weights[1] + weights[2] + weights[3];
    std::array<float, paintDrawCount> out{};
    for (std::size_t n = 0; n < out.size(); ++n) {
        float sum = 0.0f;
        for (std::size_t k = 0; k < weights.size(); ++k)
            sum += weights[k] * lcgFraction(corners_[k][n]);
        out[n] = std::min(sum / total, 1.0f);
    }
    return out;
}

}  // namespace vml
