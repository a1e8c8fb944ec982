#pragma once
// Per-pixel width factors (the deform map): how strongly the contour through an edge pixel bends,
// which widens (or narrows) the line there by lineDeform.

#include "line/EdgeDetection.h"
#include "line/LineCanvas.h"
#include "line/LineSettings.h"

namespace vml {

// The factor F in 0..2 of edge pixel (x, y), from walks along the contour in the eight
// directions. Precondition: (x, y) is an edge pixel of the mask.
float widthFactor(const LineSettings& settings, const EdgeMask& mask, int x, int y);

// Resets `deformMap` to the mask's size: -1 where there is no edge pixel, else widthFactor.
// With lineDeform 0 every edge pixel gets 1 without walking.
void computeWidthFactors(const LineSettings& settings, const EdgeMask& mask, LineCanvas& deformMap);

}  // namespace vml
