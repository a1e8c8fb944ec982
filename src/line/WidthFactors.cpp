#include "line/WidthFactors.h"

#include "line/LineBands.h"
#include "line/LineDirections.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace vml {
namespace {

constexpr int shortBudget = 8;
constexpr int longBudget = 20;

// Index of the unit step (sx, sy), both in -1..1 and not both 0.
constexpr int directionIndex[3][3] = {{7, 0, 1}, {6, -1, 2}, {5, 4, 3}};

constexpr float unitX[8] = {0.0f, 0.70710678f, 1.0f, 0.70710678f, 0.0f, -0.70710678f, -1.0f, -0.70710678f};
constexpr float unitY[8] = {-1.0f, -0.70710678f, 0.0f, 0.70710678f, 1.0f, 0.70710678f, 0.0f, -0.70710678f};

int sign(int v) { return (v > 0) - (v < 0); }

// Rounds a / |b| half away from zero; |a| <= |b|, b != 0.
int roundedRatio(int a, int b)
{
    return static_cast<int>(static_cast<float>(a) / static_cast<float>(std::abs(b)) +
                            (a >= 1 ? 0.5f : -0.5f));
}

// The direction of travel of a walk at offset (ex, ey) from its origin. The walk never returns
// to its origin (that would be the step opposite to the last, which is never tried), so
// (ex, ey) != (0, 0).
int travelDirection(int ex, int ey)
{
    int sx, sy;
    if (std::abs(ey) < std::abs(ex)) {
        sx = sign(ex);
        sy = roundedRatio(ey, ex);
    } else {
        sx = roundedRatio(ex, ey);
        sy = sign(ey);
    }
    return directionIndex[sy + 1][sx + 1];
}

struct Sums {
    float shortX = 0.0f, shortY = 0.0f, longX = 0.0f, longY = 0.0f;
    int nShort = 0, nLong = 0;
};

// The next point of a walk at p (offset (ex, ey) from the origin), or -1 when none is an edge.
int nextStep(const EdgeMask& mask, int px, int py, int ex, int ey)
{
    static constexpr int turnsRight[7] = {0, 7, 1, 6, 2, 5, 3};
    static constexpr int turnsLeft[7] = {0, 1, 7, 2, 6, 3, 5};
    const int j = travelDirection(ex, ey);
    const int* turns = lineDirY[j] * ex - lineDirX[j] * ey <= 0 ? turnsRight : turnsLeft;
    for (int t = 0; t < 7; ++t) {
        const int d = (j + turns[t]) & 7;
        if (isEdge(mask, px + lineDirX[d], py + lineDirY[d]))
            return d;
    }
    return -1;
}

void walkBranch(const EdgeMask& mask, int ox, int oy, int first, Sums& sums)
{
    int px = ox + lineDirX[first], py = oy + lineDirY[first];
    int shortLeft = shortBudget;
    for (int step = 0; step < longBudget; ++step) {
        const int d = nextStep(mask, px, py, px - ox, py - oy);
        if (d < 0)
            return;  // stuck: the remaining budget adds nothing
        if (shortLeft > 0) {
            --shortLeft;
            sums.shortX += unitX[d], sums.shortY += unitY[d], ++sums.nShort;
        }
        sums.longX += unitX[d], sums.longY += unitY[d], ++sums.nLong;
        px += lineDirX[d], py += lineDirY[d];
    }
}

}  // namespace

float widthFactor(const LineSettings& settings, const EdgeMask& mask, int x, int y)
{
    Sums sums;
    for (int i = 0; i < 8; ++i) {
        if (!isEdge(mask, x + lineDirX[i], y + lineDirY[i]))
            continue;
        sums.shortX += unitX[i], sums.shortY += unitY[i];
        sums.longX += unitX[i], sums.longY += unitY[i];
        walkBranch(mask, x, y, i, sums);
    }
    float k = 0.0f;
    if (sums.nShort > 0) {
        const float shortLength = std::hypot(sums.shortX, sums.shortY);
        const float longLength = std::hypot(sums.longX, sums.longY);
        k = shortLength > 0.0f ? (sums.nShort * longLength) / (sums.nLong * shortLength)
                               : longLength / sums.nLong;
        if (sums.nShort < shortBudget)
            k = k * static_cast<float>(sums.nShort * sums.nShort) / 64.0f;
    }
    const float bend = (0.5f * std::log(1.0f + k) - 0.25f) * settings.lineDeform * 0.025f;
    return 1.0f + std::clamp(bend, -1.0f, 1.0f);
}

void computeWidthFactors(const LineSettings& settings, const EdgeMask& mask, LineCanvas& deformMap)
{
    if (!mask.pixels || deformMap.width != std::max(mask.width, 0) ||
        deformMap.height != std::max(mask.height, 0)) {
        deformMap.reset(mask.width, mask.height, -1.0f);
        if (!mask.pixels)
            return;
    }
    // Each band fills its own rows; the walks only read the mask.
    forEachLineBand(deformMap.height, [&](int y0, int y1) {
        std::fill(&deformMap.at(0, y0),
                  &deformMap.at(0, y0) + static_cast<std::size_t>(y1 - y0) * deformMap.width, -1.0f);
        for (int y = y0; y < y1; ++y)
            for (int x = 0; x < mask.width; ++x)
                if (isEdge(mask, x, y))
                    deformMap.at(x, y) =
                        settings.lineDeform == 0.0f ? 1.0f : widthFactor(settings, mask, x, y);
    });
}

}  // namespace vml
