#include "line/LineSmear.h"

#include "line/LineStamp.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

namespace vml {
namespace {

// A run of smear positions k, each a multiple of the smear's step; empty when first > last.
struct SmearRun {
    int first = 0;
    int last = -1;
};

// The positions k within [from, to] and within the smear (0 <= k < length).
SmearRun clipRun(int from, int to, const LineSmear& sm)
{
    from = std::max(from, 0);
    to = std::min(to, sm.length - 1);
    if (from > to)
        return {};
    const int first = (from + sm.step - 1) / sm.step * sm.step;
    return {first, to};
}

// Fades a smear sample by its relative distance q from the smear centre.
float smearWeight(float v, float q)
{
    const float a = std::fabs(q);
    if (a < 0.25f)
        return v;
    const float t = (a - 0.25f) * 1.33f;
    return (1.0f - 0.3f * t * t * t) * v;
}

}  // namespace

float lineSmearLimit(int width, int height)
{
    return 2.0f * (static_cast<float>(std::max(width, 0)) + static_cast<float>(std::max(height, 0)));
}

LineSmear makeLineSmear(const LineSettings& s, float vx, float vy, float g, float longest)
{
    LineSmear smear;
    if (s.lineBlur == 0.0f || vx == 0.0f || vy == 0.0f)
        return smear;
    constexpr float finite = 1e30f;
    vx = std::clamp(vx * (s.lineBlur * 0.02f), -finite, finite);
    vy = std::clamp(vy * (s.lineBlur * 0.02f), -finite, finite);
    const float length = std::hypot(vx, vy);
    // At exactly 3 pixels the shortened motion would be empty and its inverse length undefined.
    if (!(length > 3.0f))
        return smear;
    float shortened = length - 3.0f;
    float toShortened = shortened / length;
    if (shortened > longest) {
        shortened = std::max(longest, 1.0f);
        toShortened = shortened / length;
    }
    vx *= toShortened;
    vy *= toShortened;

    smear.active = true;
    smear.strength = shortened;
    // Offsets beyond 0..100 are held there so the smear centre stays inside the smear.
    const float offset = std::clamp(s.lineBlurOffset * 0.019f - 0.95f, -0.95f, 0.95f);
    smear.shiftX = static_cast<int>(offset * vx);
    smear.shiftY = static_cast<int>(offset * vy);
    smear.motionX = static_cast<int>(vx);
    smear.motionY = static_cast<int>(vy);
    // Below one pixel both integer motion parts are 0 and proj is not used.
    smear.proj = shortened >= 1.0f ? static_cast<int>(512.0f / shortened) : 512;
    smear.step = std::max(1, static_cast<int>(s.baseWidth * 0.1f * g));
    smear.majorY = std::fabs(vx) <= std::fabs(vy);
    const float major = smear.majorY ? vy : vx;
    const float minor = smear.majorY ? vx : vy;
    smear.length = static_cast<int>(std::fabs(major)) + 1;
    smear.slope = static_cast<int>(minor / major * 1024.0f);
    smear.majorShift = smear.majorY ? smear.shiftY : smear.shiftX;
    smear.invBehind = 1.0f / static_cast<float>(smear.length - smear.majorShift);
    smear.invAhead = 1.0f / static_cast<float>(smear.length + smear.majorShift);
    return smear;
}

void smearStampOffset(const LineSmear& sm, const LineSettings& s, int x, int y, int i, int j, float cx,
                      float cy, float g, LineStampTarget& target)
{
    // 64-bit: a long smear of a wide stamp passes int here.
    const std::int64_t pr = (std::int64_t{j} * sm.motionY + std::int64_t{i} * sm.motionX) * sm.proj;
    const float v = stampValue(s, static_cast<float>(i + ((sm.motionX * pr) >> 10)) - cx,
                               static_cast<float>(j + ((sm.motionY * pr) >> 10)) - cy, g);
    if (!(v > 0.0f))
        return;
    const int sh = sm.majorShift;
    const int baseX = x + i + sm.shiftX;
    const int baseY = y + j + sm.shiftY;
    const float sideScale = sm.strength < 5.0f ? 0.99f * sm.strength * 0.2f : 0.99f;

    // The positions k lie at base +- k along the major axis, and the target takes only what
    // falls within its extent there: the k of either side's run inside it.
    const int base = sm.majorY ? baseY : baseX;
    const int lo = sm.majorY ? std::max(target.firstRow, 0) : 0;
    const int hi =
        sm.majorY ? std::min(target.endRow, target.coverage.height) - 1 : target.coverage.width - 1;
    const SmearRun ahead = clipRun(lo - base, hi - base, sm), behind = clipRun(base - hi, base - lo, sm);
    SmearRun runs[2] = {ahead, behind};
    if (behind.first < ahead.first)
        std::swap(runs[0], runs[1]);
    if (runs[1].first <= runs[0].last)  // overlapping: one run
        runs[0].last = std::max(runs[0].last, runs[1].last), runs[1] = {};
    for (const SmearRun& run : runs)
        for (int k = run.first; k <= run.last; k += sm.step) {
            const float q1 = sh < -k ? -(k + sh) * sm.invBehind : (k + sh) * sm.invAhead;
            const float q2 = sh < k ? (k - sh) * sm.invBehind : (sh - k) * sm.invAhead;
            const float w1 = smearWeight(v, q1);
            const float w2 = smearWeight(v, q2);
            const int m = (k * sm.slope + 512) >> 10;
            const int ax = sm.majorY ? m : k;  // offset of P1; P2 is its mirror
            const int ay = sm.majorY ? k : m;
            target.raise(baseX + ax, baseY + ay, w1);
            target.raise(baseX - ax, baseY - ay, w2);
            // The neighbours across the major axis.
            const int nx = sm.majorY ? 1 : 0;
            const int ny = sm.majorY ? 0 : 1;
            target.raise(baseX + ax + nx, baseY + ay + ny, w1 * sideScale);
            target.raise(baseX + ax - nx, baseY + ay - ny, w1 * sideScale);
            target.raise(baseX - ax + nx, baseY - ay + ny, w2 * sideScale);
            target.raise(baseX - ax - nx, baseY - ay - ny, w2 * sideScale);
        }
}

}  // namespace vml
