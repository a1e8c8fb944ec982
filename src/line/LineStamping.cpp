#include "line/LineStamping.h"

#include "line/LineBands.h"
#include "line/LineDepth.h"
#include "line/LineDirections.h"
#include "line/LineSmear.h"
#include "line/LineStamp.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace vml {
namespace {

constexpr int widthWindowRadius = 8;  // the 17 x 17 mean of width factors

struct Run {
    int length = 0;
    Point2 turn;  // where the contour goes on beyond the run's end
};

// The run of edge pixels from (x, y) along direction b (the pixel counted) and the
// perpendicular neighbours of its end that are edge pixels.
Run runAlong(const EdgeMask& mask, int x, int y, int b)
{
    Run run;
    while (isEdge(mask, x, y)) {
        ++run.length;
        x += lineDirX[b];
        y += lineDirY[b];
    }
    if (x < 0 || x >= mask.width || y < 0 || y >= mask.height)
        return run;
    for (int side : {(b + 2) & 7, (b + 6) & 7})
        if (isEdge(mask, x + lineDirX[side], y + lineDirY[side]))
            run.turn += Point2(static_cast<float>(lineDirX[side]), static_cast<float>(lineDirY[side]));
    return run;
}

int neighbourhoodCount(const EdgeMask& mask, int x, int y, Point2* offsetSum)
{
    int count = 0;
    for (int j = -1; j <= 1; ++j)
        for (int i = -1; i <= 1; ++i)
            if (isEdge(mask, x + i, y + j)) {
                ++count;
                if (offsetSum)
                    *offsetSum += Point2(static_cast<float>(i), static_cast<float>(j));
            }
    return count;
}

float meanWidthFactor(const LineCanvas& deformMap, int x, int y)
{
    const int x0 = std::max(x - widthWindowRadius, 0),
              x1 = std::min(x + widthWindowRadius, deformMap.width - 1);
    const int y0 = std::max(y - widthWindowRadius, 0),
              y1 = std::min(y + widthWindowRadius, deformMap.height - 1);
    float sum = 0.0f;
    int count = 0;
    for (int v = y0; v <= y1; ++v)
        for (int u = x0; u <= x1; ++u) {
            const float f = deformMap.at(u, v);
            if (f >= 0.0f)
                sum += f, ++count;
        }
    const float g = count > 0 ? sum / static_cast<float>(count) : 1.0f;
    return g < 1.0f ? g * g : g;
}

template <class T> bool sameSize(const GBufferView<T>& view, const EdgeMask& mask)
{
    return view && view.width == mask.width && view.height == mask.height;
}

}  // namespace

Point2 stampCentre(const EdgeMask& mask, int x, int y)
{
    Point2 offsetSum;
    const int count = neighbourhoodCount(mask, x, y, &offsetSum);
    Point2 runCentre;
    int runTotal = 0;
    for (int b : {0, 2}) {
        const Run first = runAlong(mask, x, y, b);
        const Run second = runAlong(mask, x, y, b + 4);
        const float share =
            static_cast<float>(first.length) / static_cast<float>(first.length + second.length);
        runCentre += 0.5f * (first.turn + (second.turn - first.turn) * share);
        runTotal += first.length + second.length - 2;
    }
    if (runTotal >= 10)
        return runCentre;
    const float t = static_cast<float>(runTotal) * 0.1f;
    return t * runCentre + (1.0f - t) * (offsetSum / static_cast<float>(count));
}

namespace {

// One edge pixel's stamp, set up before any is drawn. Rows top..bottom hold every pixel it may
// raise.
struct PixelStamp {
    int x = 0, y = 0;
    int reach = 0;
    int top = 0, bottom = 0;
    Point2 centre;
    float g = 1.0f;
    float fadeFactor = 1.0f;
    LineSmear smear;
};

struct StampBand {
    std::vector<PixelStamp> stamps;
    int top = 0, bottom = -1;  // the union of its stamps' rows
};

// The widest stamp window over an image of this size: from any edge pixel, the offsets beyond it
// write outside the image, even along the longest smear (which lands at most twice its length
// from its offset, and one pixel across).
int stampReachLimit(int width, int height, float longestSmear)
{
    return std::max(width, height) + 2 * static_cast<int>(std::ceil(longestSmear)) + 4;
}

// Draws the part of `stamp` that falls in the target's rows.
void drawStamp(const LineSettings& s, const PixelStamp& stamp, LineStampTarget& target)
{
    target.fadeFactor = stamp.fadeFactor;
    const int reach = stamp.reach;
    const Point2 centre = stamp.centre;
    int jFirst = -(reach + 1), jLast = reach + 2;
    int iFirst = -(reach + 1), iLast = reach + 2;
    // A smear writes away from its offset, so only a plain stamp skips the offsets where it is 0
    // (outside its ellipse's box) and those off the rows and the canvas: a wide stamp then costs
    // what it covers, not its reach squared.
    if (!stamp.smear.active) {
        const StampExtent box = stampExtent(s, stamp.g);
        jFirst =
            std::max({jFirst, target.firstRow - stamp.y, static_cast<int>(std::floor(centre.y - box.y))});
        jLast = std::min({jLast, target.endRow - 1 - stamp.y, static_cast<int>(std::ceil(centre.y + box.y))});
        iFirst = std::max({iFirst, -stamp.x, static_cast<int>(std::floor(centre.x - box.x))});
        iLast = std::min(
            {iLast, target.coverage.width - 1 - stamp.x, static_cast<int>(std::ceil(centre.x + box.x))});
    }
    for (int j = jFirst; j <= jLast; ++j)
        for (int i = iFirst; i <= iLast; ++i) {
            const float v =
                stampValue(s, static_cast<float>(i) - centre.x, static_cast<float>(j) - centre.y, stamp.g);
            if (v > 0.0f)
                target.raise(stamp.x + i, stamp.y + j, v);
            if (stamp.smear.active)
                smearStampOffset(stamp.smear, s, stamp.x, stamp.y, i, j, centre.x, centre.y, stamp.g, target);
        }
}

}  // namespace

bool stampLines(const LineSettings& s, const EdgeMask& mask, const LineCanvas& deformMap,
                const GBufferViews& views, LineCanvas& coverage, LineCanvas& fade,
                RendProgressCallback* progress, ArenaHooks* memory)
{
    const int width = mask.width, height = mask.height;
    if (!mask.pixels || coverage.width != width || coverage.height != height || fade.width != width ||
        fade.height != height || deformMap.width != width || deformMap.height != height)
        return true;
    const bool haveDepth = sameSize(views.z, mask);
    const bool zScale = s.lineZScaleEnable != 0 && haveDepth;
    const bool zFade = s.lineZAlphaEnable != 0 && haveDepth;
    const bool smearing = s.lineBlur != 0.0f && sameSize(views.velocity, mask);
    const float longestSmear = lineSmearLimit(width, height);
    const int reachLimit = stampReachLimit(width, height, longestSmear);

    // Without deform every width factor is 1, and so is every mean of them (a sum of n ones is n).
    checkAllocation(memory, AllocationSite::lineBuffer);
    std::vector<char> bandOnes(static_cast<std::size_t>(lineBandCount(height)), 1);
    forEachLineBand(height, [&](int y0, int y1) {
        const float* f = &deformMap.pixels[static_cast<std::size_t>(y0) * width];
        const float* end = f + static_cast<std::size_t>(y1 - y0) * width;
        char ones = 1;
        for (; f != end; ++f)
            ones &= static_cast<char>(*f < 0.0f || *f == 1.0f);
        bandOnes[static_cast<std::size_t>(y0 / lineBandRows)] = ones;
    });
    const bool onlyOnes = std::find(bandOnes.begin(), bandOnes.end(), 0) == bandOnes.end();

    // First every stamp is set up, by bands of the rows of its edge pixels.
    std::vector<StampBand> bands(static_cast<std::size_t>(lineBandCount(height)));
    auto setUpBand = [&](int y0, int y1) {
        checkAllocation(memory, AllocationSite::lineBuffer);
        StampBand& band = bands[static_cast<std::size_t>(y0 / lineBandRows)];
        band.top = height, band.bottom = -1;
        for (int y = y0; y < y1; ++y)
            for (int x = 0; x < width; ++x) {
                if (!isEdge(mask, x, y) || neighbourhoodCount(mask, x, y, nullptr) < 2)
                    continue;
                PixelStamp stamp;
                stamp.x = x, stamp.y = y;
                stamp.centre = stampCentre(mask, x, y);
                float g = onlyOnes ? 1.0f : meanWidthFactor(deformMap, x, y);
                const float depth = haveDepth ? -views.z.at(x, y) : 0.0f;
                if (zScale)
                    g = lineDepthScale(s, g, depth);
                stamp.g = g;
                stamp.fadeFactor = zFade ? lineDepthFade(s, depth) : 1.0f;
                if (smearing) {
                    const Point2& motion = views.velocity.at(x, y);
                    stamp.smear = makeLineSmear(s, motion.x, motion.y, g, longestSmear);
                }
                const float reach = (g - 1.0f) * s.baseWidth + s.lineWidth;
                if (!(reach > -2.0f))
                    continue;  // an empty stamp (NaN included)
                stamp.reach = reach < static_cast<float>(reachLimit) ? static_cast<int>(reach) : reachLimit;
                // A smear sample lies at most its length (and one pixel across) from its offset.
                const int spread =
                    stamp.smear.active ? std::abs(stamp.smear.shiftY) + stamp.smear.length + 2 : 0;
                stamp.top = y - (stamp.reach + 1) - spread;
                stamp.bottom = y + stamp.reach + 2 + spread;
                if (stamp.top > stamp.bottom)
                    continue;  // an empty stamp
                band.top = std::min(band.top, stamp.top);
                band.bottom = std::max(band.bottom, stamp.bottom);
                band.stamps.push_back(stamp);
            }
    };
    // Progress runs through the first half of the element's: the set-up, then the drawing.
    const int batchRows = progress ? lineBandRows * 8 : height;
    auto aborted = [&](int done) {
        return progress && progress->Progress(done / 2, 2 * height) == RENDPROG_ABORT;
    };
    bool completed = true;
    for (int y0 = 0; y0 < height; y0 += batchRows) {
        if (aborted(y0)) {
            completed = false;
            break;
        }
        forEachLineBand(y0, std::min(y0 + batchRows, height), setUpBand);
    }

    // Then the stamps are drawn by bands of the rows they raise. Raising takes the maximum, so
    // the order the stamps of a band's rows are drawn in does not change them.
    auto drawBand = [&](int y0, int y1) {
        LineStampTarget target{coverage, fade, 1.0f, y0, y1};
        for (const StampBand& band : bands) {
            if (band.bottom < y0 || band.top >= y1)
                continue;
            for (const PixelStamp& stamp : band.stamps)
                if (stamp.bottom >= y0 && stamp.top < y1)
                    drawStamp(s, stamp, target);
        }
        float* row = &coverage.pixels[static_cast<std::size_t>(y0) * width];
        for (float* c = row; c != row + static_cast<std::size_t>(y1 - y0) * width; ++c)
            *c = std::min(*c, 1.0f);
    };
    for (int y0 = 0; completed && y0 < height; y0 += batchRows) {
        if (aborted(height + y0)) {
            completed = false;
            break;
        }
        forEachLineBand(y0, std::min(y0 + batchRows, height), drawBand);
    }
    return completed;
}

}  // namespace vml
