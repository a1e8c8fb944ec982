#pragma once
// Compositing one element's stamped lines straight into the host bitmap (any renderer but the
// painterly one) and into the line render elements' bitmaps.

#include "host/Bitmap.h"
#include "host/Color.h"
#include "host/RendParams.h"
#include "line/LineCanvas.h"
#include "line/LineMapColour.h"
#include "line/LineSettings.h"
#include "renderer/ArenaHooks.h"

#include <span>

namespace vml {

// Composites row by row: the line alpha is the 7 x 7 mean of `coverage` times lineAlpha
// percent, sharpened by the 3 x 3 coverage and multiplied by `fade`; where it is positive the
// pixel is blended with lineColor (mixed with `map` when lineMapEnable and a map are given) by
// method lineBlend. The bitmap's rows are written back unless `lineOutRenderElement`; the line
// layer (blended colour, line alpha) is composited over every bitmap of `lineElementBitmaps`.
// `coverage` and `fade` must have the bitmap's size, else nothing happens. Rows are composited
// in bands on the render workers (in order on the calling thread when a map is used); progress
// (height + rows done of 2 * height) is reported before every 128 rows, and an abort answered
// there returns false, leaving the rows not yet begun as they were. `memory` (may be null) is
// asked before the softened coverage and each band's row buffers are allocated; an allocation
// that fails throws std::bad_alloc.
bool compositeLines(const LineSettings& settings, const LineCanvas& coverage, const LineCanvas& fade,
                    Bitmap& bitmap, std::span<Bitmap* const> lineElementBitmaps, bool lineOutRenderElement,
                    const LineMapSample& map, RendProgressCallback* progress, ArenaHooks* memory = nullptr);

}  // namespace vml
