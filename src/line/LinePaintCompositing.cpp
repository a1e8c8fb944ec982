#include "line/LinePaintCompositing.h"

#include "host/Angles.h"
#include "host/Interface.h"
#include "line/LineCoverageSoftening.h"
#include "line/LinePaintNoise.h"
#include "paint/PaintAdjustment.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace vml {
namespace {

// The parts of the paint state that need no random draw.
struct PaintConstants {
    float windX = 0.0f, windY = 0.0f;  // unit wind direction times paintWind percent
};

float unitClamp(float v) { return std::clamp(v, 0.0f, 1.0f); }

// The host's cancel request. Progress goes only every fourth cell row, and a row of large cells
// spans many pixel rows, so each pixel row asks.
bool hostCancelled()
{
    Interface* core = GetCOREInterface();
    return core && core->GetCancel();
}

// Raises the softened coverage into the canvas row by row; rows without any stay untouched, so
// the canvas's dirty rows bound the lines. False when the host asked to cancel before the end.
bool raiseSoftenedCoverage(const LineCanvas& coverage, vmlRasterBase& canvas, ArenaHooks* memory)
{
    const SoftenedCoverage softened(coverage, memory);
    for (int y = 0; y < coverage.height; ++y) {
        if (hostCancelled())
            return false;
        bool selected = false;
        for (int x = 0; x < coverage.width; ++x) {
            const float a = softened.at(x, y);
            if (!(a > 0.0f))
                continue;
            if (!selected) {
                canvas.SelectRowTracked(y);
                selected = true;
            }
            // Held to 1: the deposit keeps (1 - coverage) of the wet layer, which must not turn negative.
            canvas.RaiseCoverage(x, std::min(a, 1.0f));
        }
    }
    return true;
}

// Sets the random part of the paint state from the draws `r` and answers the colour jitter.
PixelAdjustment setDrawnPaintState(const LineSettings& s, const PaintConstants& k,
                                   const std::array<float, paintDrawCount>& r, vmlRasterBase& canvas)
{
    PixelAdjustment jitter;
    jitter.colourType = s.paintColorType == 1 ? 1 : 0;
    jitter.jitterR = (r[paintDrawRed] - 0.5f) * s.paintColorR * 0.02f;
    jitter.jitterG = (r[paintDrawGreen] - 0.5f) * s.paintColorG * 0.02f;
    jitter.jitterB = (r[paintDrawBlue] - 0.5f) * s.paintColorB * 0.02f;
    if (jitter.colourType == 1)
        jitter.jitterR *= 0.5f;

    // Settings within 0..100 keep these in 0..1; the clamps only catch settings beyond that, which
    // would otherwise make the wet layer negative or lay paint twice.
    const float f = (1.0f - r[paintDrawBlur] * s.paintBlurRnd * 0.01f) * s.paintBlur * 0.01f;
    canvas.SetWater(unitClamp((f * f + f) * 0.5f));
    canvas.SetEdge(
        unitClamp((1.0f - r[paintDrawBlurBound] * s.paintBlurBoundRnd * 0.01f) * s.paintBlurBound * 0.01f));
    canvas.SetDry(unitClamp((1.0f - r[paintDrawDry] * s.paintDryRnd * 0.01f) * s.paintDry * 0.01f));
    const float gust = 1.0f - s.paintWindRnd * 0.01f * r[paintDrawWind];
    canvas.SetWind(Point2(k.windX * gust, k.windY * gust));
    canvas.SetMix(unitClamp((1.0f - r[paintDrawMix] * s.paintMixRnd * 0.01f) * s.paintMix * 0.01f));
    return jitter;
}

struct CellWalk {
    const LineSettings& s;
    const PaintConstants& constants;
    const LineCanvas& fade;
    const LineMapSample& map;
    vmlRasterBase& canvas;
    int cell;
    bool cancelled = false;  // the host asked to cancel: nothing more is painted

    // Deposits the covered pixels of cell (column, row) within columns from..to; true when any
    // pixel received paint.
    bool paintCell(int column, int row, int from, int to)
    {
        const int x0 = column * cell, y0 = row * cell;
        const int x1 = std::min({x0 + cell - 1, to, canvas.width() - 1});
        const int y1 = std::min(y0 + cell - 1, canvas.height() - 1);
        const float invCell = 1.0f / static_cast<float>(cell);
        std::optional<LinePaintNoise> noise;
        bool painted = false;
        for (int y = y0; y <= y1; ++y) {
            if (hostCancelled()) {
                cancelled = true;
                return painted;
            }
            canvas.SelectRow(y);
            for (int x = std::max(x0, from); x <= x1; ++x) {
                const float covered = canvas.GetCoverage(x);
                if (!(covered > 0.0f))
                    continue;
                const float alpha = std::min(s.lineAlpha * 0.01f * fade.at(x, y) * covered, 1.0f);
                if (!(alpha > 0.0f)) {
                    canvas.ClearCoverage(x);
                    continue;
                }
                if (!noise)
                    noise.emplace(column, row);
                const auto r =
                    noise->values(static_cast<float>(x - x0) * invCell, static_cast<float>(y - y0) * invCell);
                const PixelAdjustment jitter = setDrawnPaintState(s, constants, r, canvas);
                AColor colour(lineColourAt(s, map, x, y, canvas.width(), canvas.height()), 1.0f);
                jitterPixelColour(jitter, colour);
                colour.a = alpha;
                canvas.SetPaintColour(colour);
                canvas.DepositPaint(x, y);
                painted = true;
            }
        }
        return painted;
    }

    // Paints the cells of one cell row that the dirty spans of its pixel rows reach.
    bool paintCellRow(int row)
    {
        const int top = row * cell, bottom = std::min(top + cell, canvas.height()) - 1;
        int from = canvas.width(), to = -1;
        for (int y = top; y <= bottom; ++y) {
            int first = 0, last = -1;
            canvas.GetRowSpan(first, last, y);
            from = std::min(from, first);
            to = std::max(to, last);
        }
        bool painted = false;
        for (int column = from / cell; from <= to && column <= to / cell && !cancelled; ++column)
            painted = paintCell(column, row, from, to) || painted;
        return painted;
    }
};

// Clears whatever coverage is left standing in the dirty spans.
void clearStandingCoverage(vmlRasterBase& canvas)
{
    int firstRow = 0, lastRow = -1;
    canvas.GetDirtyRows(firstRow, lastRow);
    for (int y = firstRow; y <= lastRow; ++y) {
        int first = 0, last = -1;
        canvas.GetRowSpan(first, last, y);
        canvas.SelectRow(y);
        for (int x = first; x <= last; ++x)
            if (canvas.GetCoverage(x) != 0.0f)
                canvas.ClearCoverage(x);
    }
}

}  // namespace

int linePaintCellSize(const LineSettings& s, float lineWidthParameter, int limit)
{
    const float size = s.paintRndSizeEnable != 0 ? s.paintRndSize : lineWidthParameter;
    const int upper = std::max(limit, 1);
    if (!(size >= 1.0f))  // NaN included
        return 1;
    if (!(size < static_cast<float>(upper)))
        return upper;
    return static_cast<int>(size);
}

LinePaintResult paintLinesIntoCanvas(const LineSettings& s, float lineWidthParameter,
                                     const LineCanvas& coverage, const LineCanvas& fade,
                                     vmlRasterBase& canvas, const LineMapSample& map,
                                     RendProgressCallback* progress, ArenaHooks* memory)
{
    LinePaintResult result;
    const int width = canvas.width(), height = canvas.height();
    if (!canvas.IsAllocated() || width <= 0 || height <= 0 || coverage.width != width ||
        coverage.height != height || fade.width != width || fade.height != height)
        return result;

    canvas.ResetDirty();
    if (!raiseSoftenedCoverage(coverage, canvas, memory)) {
        clearStandingCoverage(canvas);
        result.aborted = true;
        return result;
    }
    canvas.SetBlendSwitch(1);
    canvas.SetBlendMethod(s.lineBlend);
    canvas.SetBlendAmount(100.0f);

    PaintConstants constants;
    const float angle = radians(s.paintWindAngle);
    constants.windX = std::cos(angle) * s.paintWind * 0.01f;
    constants.windY = std::sin(angle) * s.paintWind * 0.01f;

    const int cell = linePaintCellSize(s, lineWidthParameter, std::max(width, height));
    CellWalk walk{s, constants, fade, map, canvas, cell};
    int firstDirty = 0, lastDirty = -1;
    canvas.GetDirtyRows(firstDirty, lastDirty);
    const int cellRows = (height - 1) / cell + 1;
    for (int row = 0; row < cellRows; ++row) {
        const int top = row * cell;
        if (top + cell - 1 >= firstDirty && top <= lastDirty)
            result.painted = walk.paintCellRow(row) || result.painted;
        if (walk.cancelled ||
            (row % 4 == 0 && progress && progress->Progress(height + top, 2 * height) == RENDPROG_ABORT)) {
            clearStandingCoverage(canvas);
            result.aborted = true;
            return result;
        }
    }
    return result;
}

}  // namespace vml
