#include "standalone/scanline/Rasterizer.h"

#include "host/BaryCoords.h"

#include <algorithm>
#include <cmath>

namespace standalone::scanline {

namespace {

// Screen coordinates of polygons near the camera can be far outside the int range.
int clampedFloor(float v, int lo, int hi)
{
    return static_cast<int>(std::clamp(std::floor(v), static_cast<float>(lo), static_cast<float>(hi)));
}

}  // namespace

PolygonBins::PolygonBins(const std::vector<ScreenPolygon>& polygons, int height, int rowsPerBand)
    : rowsPerBand_(std::max(1, rowsPerBand))
{
    int bandCount = height > 0 ? (height + rowsPerBand_ - 1) / rowsPerBand_ : 0;
    bands_.resize(static_cast<std::size_t>(bandCount));
    for (std::size_t i = 0; i < polygons.size(); ++i) {
        const ScreenPolygon& p = polygons[i];
        int y0 = clampedFloor(p.ymin, 0, height - 1);
        int y1 = clampedFloor(p.ymax, 0, height - 1);
        for (int b = y0 / rowsPerBand_; b <= y1 / rowsPerBand_; ++b)
            bands_[static_cast<std::size_t>(b)].push_back(static_cast<std::uint32_t>(i));
    }
}

std::span<const std::uint32_t> PolygonBins::forRow(int y) const
{
    std::size_t b = static_cast<std::size_t>(y / rowsPerBand_);
    return y >= 0 && b < bands_.size() ? std::span<const std::uint32_t>(bands_[b])
                                       : std::span<const std::uint32_t>();
}

namespace {

SampleMask pixelMask(const ScreenPolygon& p, int px, int y, bool antialias)
{
    double x0 = px, y0 = y;
    if (!antialias)
        return p.coversAll(x0 + 0.5, y0 + 0.5) ? fullMask : 0;
    // The polygon is convex: when the four outermost samples are strictly inside, all are.
    constexpr double lo = 0.125, hi = 0.875;
    if (p.coversStrictly(x0 + lo, y0 + lo) && p.coversStrictly(x0 + hi, y0 + lo) &&
        p.coversStrictly(x0 + lo, y0 + hi) && p.coversStrictly(x0 + hi, y0 + hi))
        return fullMask;
    SampleMask mask = 0;
    for (int i = 0; i < subSampleCount; ++i)
        if (p.coversAll(x0 + sampleOffsetX(i), y0 + sampleOffsetY(i)))
            mask |= static_cast<SampleMask>(1u << i);
    return mask;
}

}  // namespace

void rasterizeRow(const ScanlineView& view, const std::vector<ScreenPolygon>& polygons,
                  std::span<const std::uint32_t> candidates, int y, bool antialias,
                  std::vector<Fragment>& out)
{
    out.clear();
    const float rowTop = static_cast<float>(y), rowBottom = rowTop + 1.0f;
    for (std::uint32_t index : candidates) {
        const ScreenPolygon& p = polygons[index];
        if (p.ymax <= rowTop || p.ymin >= rowBottom)
            continue;
        float sx0, sx1;
        if (!p.spanBetween(rowTop, rowBottom, sx0, sx1))
            continue;
        int first = clampedFloor(sx0, 0, view.width - 1);
        int last = clampedFloor(sx1, -1, view.width - 1);
        for (int px = first; px <= last; ++px) {
            SampleMask mask = pixelMask(p, px, y, antialias);
            if (!mask)
                continue;
            Point2 c = maskCentroid(mask);
            Point3 pt = p.surfacePoint(view, Point2(static_cast<float>(px) + c.x, rowTop + c.y));
            if (!(pt.z >= -view.farRange))
                continue;
            Fragment f;
            f.x = px;
            f.mask = mask;
            f.depth = pt.z;
            f.bary = BaryCoords(p.tri[0], p.tri[1], p.tri[2], pt);
            f.polygon = index;
            out.push_back(f);
        }
    }
    std::sort(out.begin(), out.end(), fragmentBefore);
}

}  // namespace standalone::scanline
