#include "material/StrokePlacement.h"

#include "host/RenderGlobalContext.h"
#include "renderer/vmlRenderer.h"
#include "shell/RandomTables.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace vml {

namespace {

// Truncation toward zero, one less for negative values. Far cells wrap to 32 bits; they only
// need to compare equal when they are equal.
std::int32_t cellFloor(float v)
{
    const auto t = static_cast<std::int64_t>(std::clamp(v, -1.0e18f, 1.0e18f));
    return static_cast<std::int32_t>(v < 0.0f ? t - 1 : t);
}

}  // namespace

StrokePlacementSettings StrokePlacementSettings::of(const mtlcache::BaseCache& base,
                                                    const mtlcache::BrushCache& brush)
{
    StrokePlacementSettings s;
    s.brushDensity = brush.brushDensity;
    s.baseHiddenFace = base.baseHiddenFace != 0;
    s.baseRndAuto = base.baseRndAuto != 0;
    s.baseRndInterval = base.baseRndInterval;
    s.baseRndMoveDetect = base.baseRndMoveDetect != 0;
    s.brushOfsEnable = base.brushOfsEnable != 0;
    s.brushOfs = base.brushOfs;
    s.brushOfsRnd = base.brushOfsRnd;
    return s;
}

StrokeFrame StrokeFrame::of(vmlRenderer& renderer)
{
    StrokeFrame f;
    const RenderGlobalContext* gc = renderer.globalContext();
    f.width = gc ? gc->devWidth : renderer.width();
    f.height = gc ? gc->devHeight : renderer.height();
    f.inMtlEdit = gc && gc->inMtlEdit;
    f.frameNumber = renderer.frameNumber();
    f.brushScaleInverse = renderer.settings().brushScaleInverse;
    f.nodes = &renderer.nodeRecords();
    return f;
}

StrokeGrid strokeGrid(const StrokePlacementSettings& settings, const StrokeFrame& frame, int nodeId)
{
    const auto w = static_cast<float>(frame.width), h = static_cast<float>(frame.height);
    float fx = 0.5f, fy = 0.5f;
    if (!frame.inMtlEdit) {
        const std::uint32_t r = strokeSeed({0, 0}, settings.seedInterval(), settings.seedNode(nodeId),
                                           frame.frameNumber, frame.inMtlEdit, *frame.nodes);
        const std::uint32_t u1 = lcgNext(r), u2 = lcgNext(u1);
        fx = (lcgFraction(u1) - 0.5f) * w + 0.5f;
        fy = (lcgFraction(u2) - 0.5f) * h + 0.5f;
    }
    StrokeGrid grid;
    grid.originX = w * fx - 0.001f;
    grid.originY = h * fy - 0.001f;
    grid.cellsPerPixel = settings.brushDensity * 0.01f * frame.brushScaleInverse;
    return grid;
}

std::optional<StrokeCorner> findStrokeCorner(const StrokeGrid& grid, IPoint2 pixel)
{
    const float k = grid.cellsPerPixel;
    if (!(k > 0.0f) || !std::isfinite(k) || !std::isfinite(grid.originX) || !std::isfinite(grid.originY))
        return std::nullopt;
    const float sx = static_cast<float>(pixel.x) - grid.originX;
    const float sy = static_cast<float>(pixel.y) - grid.originY;
    const std::int32_t cx = cellFloor(sx * k), cy = cellFloor(sy * k);
    const std::int32_t ax = cellFloor((sx + 1.0f) * k), by = cellFloor((sy + 1.0f) * k);
    // c = (cx, cy), a = (ax, cy), b = (cx, by): a corner needs a crossing in both directions.
    if (ax == cx || by == cy)
        return std::nullopt;
    StrokeCorner corner;
    corner.cell = {cx, cy};
    corner.position =
        Point2(static_cast<float>(cx + 1) / k + grid.originX, static_cast<float>(cy + 1) / k + grid.originY);
    return corner;
}

std::optional<StrokeCorner> findStrokeCorner(const StrokePlacementSettings& settings,
                                             const StrokeFrame& frame, const ShadingSample& sample)
{
    return findStrokeCorner(strokeGrid(settings, frame, sample.where.nodeId), sample.where.pixel);
}

vmlObjBrush makeStrokeRecord(const StrokePlacementSettings& settings, const StrokeFrame& frame,
                             const ShadingSample& sample, StrokeCell cell, Point2 position,
                             const vmlMaterial* material)
{
    vmlObjBrush stroke;
    stroke.depthKey = sample.where.depth;
    stroke.x = position.x;
    stroke.y = position.y;
    stroke.nodeId = sample.where.nodeId;
    stroke.face = sample.where.face;
    stroke.seed = strokeSeed(cell, settings.seedInterval(), settings.seedNode(sample.where.nodeId),
                             frame.frameNumber, frame.inMtlEdit, *frame.nodes);
    stroke.color = sampleColorBytes(sample.color, sample.transparency);
    stroke.normal = packedSampleNormal(sample.normal);
    if (settings.brushOfsEnable) {
        if (settings.brushOfsRnd != 0.0f)
            stroke.depthKey += (lcgFraction(lcgNext(stroke.seed)) - 0.5f) * settings.brushOfsRnd;
        stroke.depthKey += settings.brushOfs;
    }
    stroke.material = material;
    stroke.cell = cell;
    return stroke;
}

bool placeStroke(vmlRenderer& renderer, const StrokePlacementSettings& settings, const ShadingSample& sample,
                 const vmlMaterial* material)
{
    const StrokeFrame frame = StrokeFrame::of(renderer);
    const std::optional<StrokeCorner> corner = findStrokeCorner(settings, frame, sample);
    if (!corner)
        return false;
    const StrokeCell cell = sample.normal.z < 0.0f ? backFaceCell(corner->cell) : corner->cell;
    if (!renderer.acceptSample(sample.where, settings.baseHiddenFace))
        return false;
    return renderer.fileStroke(makeStrokeRecord(settings, frame, sample, cell, corner->position, material));
}

}  // namespace vml
