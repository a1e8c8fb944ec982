#pragma once
// One line element's drawing for one frame: settings refreshed at the frame's time, edge
// detection, width factors, stamping, then compositing straight into the output bitmap or, with
// the painterly renderer, painting the lines as wet paint into its canvas.

#include "host/Bitmap.h"
#include "host/IParamBlock2.h"
#include "host/RendParams.h"
#include "host/RenderGlobalContext.h"
#include "line/EdgeRules.h"
#include "line/LineFrameCanvases.h"
#include "line/LineSettings.h"

#include <span>

namespace vml {

class LineFxElement;
class vmlRasterBase;

// The detection rules of an element whose settings were refreshed for the frame: switches as
// they stand at time 0 in `block` (its "parameters" block), thresholds from `s`.
EdgeRules edgeRulesOf(IParamBlock2& block, const LineSettings& s);

// Draws `element` over `bitmap` and the line render elements' bitmaps `lineElementBitmaps`
// (the bitmap itself is left alone when `lineOutRenderElement`). `canvases` must have the
// bitmap's size and be cleared; they hold the element's mask and coverage afterwards. An element
// that is off, or whose G-buffer channels are missing from the bitmap, draws nothing; with missing
// channels the active painterly renderer is also told it ran short of memory, which ends its
// render. The line map is evaluated in a screen-space context made with `gc` (may be nullptr).
// Progress (0 of 2 x height) is reported before anything is drawn. Returns false when `progress`
// answered abort (the element then stops, see stampLines and compositeLines). An allocation that
// fails (canvases.memory is asked before each) throws std::bad_alloc.
//
// With `paintCanvas` (the painterly renderer's canvas, initialised and loaded with the bitmap's
// colour) the lines are deposited there instead of composited, and `painted` tells whether
// anything was; the caller then runs the paint process and writes the canvas out.
bool drawLineElement(LineFxElement& element, TimeValue t, Bitmap& bitmap, RenderGlobalContext* gc,
                     LineFrameCanvases& canvases, std::span<Bitmap* const> lineElementBitmaps,
                     bool lineOutRenderElement, RendProgressCallback* progress,
                     vmlRasterBase* paintCanvas = nullptr, bool* painted = nullptr);

}  // namespace vml
