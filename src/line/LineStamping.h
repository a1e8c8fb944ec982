#pragma once
// Stamping one element's edge pixels into the frame's line canvases.

#include "host/Point2.h"
#include "host/RendParams.h"
#include "line/EdgeDetection.h"
#include "line/GBufferViews.h"
#include "line/LineCanvas.h"
#include "line/LineSettings.h"
#include "renderer/ArenaHooks.h"

namespace vml {

// The stamp centre of edge pixel (x, y) as an offset from the pixel, each component within
// -1..1: blends the mean offset of the edge pixels in its 3 x 3 window towards the centre
// suggested by the vertical and horizontal runs through it, fully so when the runs are long.
// Precondition: (x, y) is an edge pixel.
Point2 stampCentre(const EdgeMask& mask, int x, int y);

// Stamps every edge pixel that has another edge pixel in its 3 x 3 window, raising `coverage`
// and `fade` (both of the mask's size, cleared by the caller) by per-pixel maximum; then clamps
// `coverage` to 1. `deformMap` holds computeWidthFactors of the mask. Depth scaling and fading
// need the Z view and the smear the velocity view, each of the mask's size; without one that
// step is left out. The stamps are set up and then drawn in bands of rows on the render workers.
// Progress (y / 2 of 2 * height) is reported before the stamps of every 128 rows of edge pixels
// are set up, and ((height + y) / 2 of 2 * height) before every 128 rows are drawn; an abort
// answered there returns false at once, leaving what was drawn. Stamp windows are held to what
// can reach the image and smears to lineSmearLimit, so the work has a bound set by its size.
// `memory` (may be null) is asked before the stamps' lists are allocated; a failed allocation
// throws std::bad_alloc.
bool stampLines(const LineSettings& settings, const EdgeMask& mask, const LineCanvas& deformMap,
                const GBufferViews& views, LineCanvas& coverage, LineCanvas& fade,
                RendProgressCallback* progress, ArenaHooks* memory = nullptr);

}  // namespace vml
