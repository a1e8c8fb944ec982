#include "paint/BrushShape.h"

#include "host/Angles.h"
#include "host/Noise.h"
#include "shell/RandomTables.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace vml {

namespace {

// Variant index as the tables see it: 0 for no variant.
int variantIndexOf(int variant) { return variant > 0 ? variant : 0; }

// Table index of a cell or variant number: negative n maps to n + 65536.
std::uint32_t tableIndex(int n) { return static_cast<std::uint32_t>(n) & 0xFFFFu; }

// A whole-valued float bound as an int, clamped well inside int's range.
int cellIndex(float x)
{
    constexpr float limit = 1073741824.0f;
    return static_cast<int>(std::clamp(x, -limit, limit));
}

// Value of the dot of cell (i, l) at the scaled point (p, q); bj is randomTableB[variant].
float dotValue(const BrushShape& s, int i, int l, float p, float q, std::uint32_t bj)
{
    const std::uint32_t ti = tableIndex(i), tl = tableIndex(l);
    // Wraps modulo 2^32, which keeps the low 16 bits the hash uses.
    const std::uint32_t h =
        (randomTableB[ti] * randomTableA[tl] + bj + randomTableA[ti] + randomTableB[tl]) & 0xFFFFu;
    const std::uint32_t r1 = lcgNext(h), r2 = lcgNext(r1), r3 = lcgNext(r2);
    const float cx = ((lcgFraction(r1) - 0.5f) * s.hSpaceRand / 100.0f + static_cast<float>(i)) * s.cellH;
    const float cy = ((lcgFraction(r2) - 0.5f) * s.vSpaceRand / 100.0f + static_cast<float>(l)) * s.cellV;
    const float z = (lcgFraction(r3) - 0.5f) * s.sizeRnd * 0.02f;
    const float rho = (z + s.radiusFactor) * s.size;
    const float dx = cx - p, dy = cy - q;
    const float d2 = dx * dx + dy * dy;
    const float rho2 = rho * rho;
    // A dot of radius 0 covers nothing (and must not divide by zero).
    if (!(d2 <= rho2) || !(rho2 > 0.0f))
        return 0.0f;
    const float t = d2 / rho2;
    float edge = s.softness * s.softness * (z + 1.0f);
    if (s.softness < 0.0f)
        edge = -edge;
    // edge >= 1 answers 1 here for every t <= 1, so the division below has 1 - edge > 0.
    if (t <= edge)
        return 1.0f;
    return 1.0f - brushSmoothStep(std::sqrt((t - edge) / (1.0f - edge)));
}

}  // namespace

void BrushShape::derive()
{
    rndNum = std::max(rndNum, 1);
    cellH = 2.0f * size + hSpace;
    cellV = 2.0f * size + vSpace;
    float e = (1.0f - anti / 100.0f) * 0.9f;
    if (e < 0.0f)
        e = e / (1.0f - 0.5f * e);
    softness = e;
    radiusFactor = anti / 100.0f * 0.75f + 1.0f;
    maxDotRadius = (sizeRnd / 100.0f + 1.0f) * size * radiusFactor;
    dampA = dampStart * dampStart * 0.0001f;
    dampB = dampEnd * dampEnd * 0.0001f;
    dampK = dampA != dampB ? 1.0f / std::fabs(dampA - dampB) : 0.0f;
    const float theta = radians(angle);
    cosAngle = std::cos(theta);
    sinAngle = std::sin(theta);
}

float brushSmoothStep(float x) { return (0.375f - (x - 0.5f) * (x + 0.5f) * (x - 1.5f)) / 0.75f; }

float tipShape(const BrushShape& s, float u, float v, int variant)
{
    const int j = variantIndexOf(variant);
    const float du = u - 0.5f, dv = v - 0.5f;
    float p = (s.cosAngle * du + s.sinAngle * dv) * 2.0f;
    float q = (s.cosAngle * dv - s.sinAngle * du) * 2.0f;

    float sigma = s.stretch;
    if (j > 0) {
        const float r = lcgFraction(lcgNext(65535u - randomTableB[tableIndex(j)]));
        sigma *= 1.0f - s.stretchRnd / 100.0f * r;
    }
    if (sigma > 0.0f)
        p *= sigma * 0.05f + 1.0f;
    else if (sigma < 0.0f)
        q *= 1.0f - sigma * 0.05f;

    float d2 = p * p + q * q;
    if (s.groove > 0.0f) {
        const float phi = std::atan2(p, q) + pi;
        const float n1 = noise1(phi * 4.0f);
        const float g = (n1 * 0.5f + phi) / (2.0f * pi) * static_cast<float>(s.grooveNum);
        const float tau = std::fabs((g - std::trunc(g)) * 2.0f - 1.0f);
        const float w = (noise1(phi * 10.0f) + 1.0f + 0.25f) * tau * tau * tau;
        const float shrink = 1.0f - w * 0.0025f * s.groove;
        p *= shrink;
        q *= shrink;
        d2 *= w * 0.0125f * s.groove + 1.0f;
    }
    // Also the exit for non-finite coordinates.
    if (!(d2 < 1.0f))
        return 0.0f;

    const float a = s.dampA, b = s.dampB;
    float x;
    if (a <= b)
        x = d2 > b ? 0.0f : d2 <= a ? 1.0f : 1.0f - (d2 - a) * s.dampK;
    else
        x = b > d2 ? 0.0f : d2 >= a ? 1.0f : 1.0f - (a - d2) * s.dampK;
    float shape = brushSmoothStep(x);
    if (s.type == 1 && shape > 0.0f)
        shape *= bristleCoverage(s, p, q, j);
    return shape;
}

BrushCellRange bristleCellRange(float c, float cell, float maxRadius)
{
    const float lo = std::trunc((c - cell - maxRadius) / cell + 0.5f);
    const float hi = std::trunc((cell + c + maxRadius) / cell + 0.5f);
    if (!(hi > lo))
        return {};
    if (hi - lo > static_cast<float>(maxBristleCells)) {
        const int first = cellIndex(std::floor(c / cell + 0.5f)) - maxBristleCells / 2;
        return {first, first + maxBristleCells};
    }
    return {cellIndex(lo), cellIndex(hi)};
}

float bristleCoverage(const BrushShape& s, float p, float q, int variant)
{
    // Cells of no extent (sizes outside the parameter ranges) hold no dots.
    if (!(s.size > 0.0f) || !(s.cellH > 0.0f) || !(s.cellV > 0.0f) || !std::isfinite(s.cellH) ||
        !std::isfinite(s.cellV))
        return 0.0f;
    const int j = variantIndexOf(variant);
    if (j > 0) {
        const std::uint32_t r1 = lcgNext(randomTableA[tableIndex(j)]);
        const std::uint32_t r2 = lcgNext(r1);
        p += (lcgFraction(r1) - 0.5f) * 256.0f;
        q += (lcgFraction(r2) - 0.5f) * 256.0f;
    }
    p *= 50.0f;
    q *= 50.0f;

    const BrushCellRange columns = bristleCellRange(p, s.cellH, s.maxDotRadius);
    const BrushCellRange rows = bristleCellRange(q, s.cellV, s.maxDotRadius);
    const std::uint32_t bj = randomTableB[tableIndex(j)];
    float sum = 0.0f;
    for (int i = columns.first; i < columns.end; ++i) {
        for (int l = rows.first; l < rows.end; ++l) {
            sum += dotValue(s, i, l, p, q, bj);
            if (sum >= 1.0f)
                return 1.0f;
        }
    }
    return sum;
}

}  // namespace vml
