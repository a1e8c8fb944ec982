#pragma once
// Compositing one element's stamped lines with the painterly renderer: the lines become wet
// paint in the renderer's paint canvas, which its bleed passes then spread.

#include "host/RendParams.h"
#include "line/LineCanvas.h"
#include "line/LineMapColour.h"
#include "line/LineSettings.h"
#include "paint/vmlRasterBase.h"
#include "renderer/ArenaHooks.h"

namespace vml {

struct LinePaintResult {
    bool painted = false;  // at least one pixel received paint
    bool aborted = false;  // the progress callback answered abort
};

// Side in pixels of the square paint cells: paintRndSize when paintRndSizeEnable, else
// `lineWidthParameter` (the element's raw lineWidth at the frame time). Truncated; at least 1,
// at most `limit` (a cell larger than the canvas varies nothing more).
int linePaintCellSize(const LineSettings& s, float lineWidthParameter, int limit);

// Paints the lines into `canvas`, which the caller has sized to the output and loaded:
// 1. The canvas's dirty state is reset, then every pixel's softened `coverage` (7 x 7 mean times
//    the 3 x 3 sharpening, held to 1) is raised into the canvas as paint coverage.
// 2. Blending is switched on with method lineBlend (list position) at amount 100.
// 3. Cell by cell (linePaintCellSize), row of cells by row of cells, every covered pixel is
//    deposited with lineColor (mixed with `map`) plus colour jitter, alpha lineAlpha percent x
//    `fade` x its coverage (held to 0..1), and water, edge, dry, wind and mix from the element's
//    paint block, their random parts from LinePaintNoise at the pixel's place in its cell.
//    A pixel whose alpha comes to 0 is not deposited (it would only wash out wet paint); its
//    coverage is cleared.
// Progress (height + first row of the cell row, of 2 * height) is reported after every 4th cell
// row, and the host's cancel request is asked before every pixel row; on abort or cancel the
// function stops there and clears the coverage it left standing, so no later bleed pass reads it
// as outflow. `coverage` and `fade` must have the canvas's size and the canvas must be allocated,
// else nothing happens. Precondition: randomTableA is filled. `memory` (may be null) is asked
// before the softened coverage is allocated; a failed allocation throws std::bad_alloc before
// anything is painted.
LinePaintResult paintLinesIntoCanvas(const LineSettings& s, float lineWidthParameter,
                                     const LineCanvas& coverage, const LineCanvas& fade,
                                     vmlRasterBase& canvas, const LineMapSample& map,
                                     RendProgressCallback* progress, ArenaHooks* memory = nullptr);

}  // namespace vml
