#pragma once
// Marks the pixels on which one line element draws: the five detection predicates over a pixel
// and its 4-neighbourhood, and the scan that sets them in the element's edge mask.

#include "host/MaxTypes.h"
#include "line/EdgeRules.h"
#include "line/GBufferViews.h"

#include <cstdint>

namespace vml {

// One byte per pixel, row-major like the G-buffer views; 1 = an edge pixel of the element.
struct EdgeMask {
    std::uint8_t* pixels = nullptr;
    int width = 0;
    int height = 0;
};

// A detection predicate. Preconditions: (x, y) lies inside the image and the views it reads
// (those of edgeChannelsRequired for its switch) are present and share one size. Neighbours are
// visited as (-1, 0), (+1, 0), (0, -1), (0, +1); those outside the image are skipped.
using EdgeTest = bool (*)(const EdgeRules& rules, const GBufferViews& views, int x, int y);

// Some neighbour is another object, and is background or lies beyond the outline threshold.
bool testOutlineObject(const EdgeRules& rules, const GBufferViews& views, int x, int y);
// Some neighbour differs in both material channel and object, and is background or lies beyond
// the material outline threshold.
bool testOutlineMaterial(const EdgeRules& rules, const GBufferViews& views, int x, int y);
// Some neighbour of the same object has another material channel.
bool testEdgeMaterial(const EdgeRules& rules, const GBufferViews& views, int x, int y);
// The pixel is nearer than some neighbour by more than the depth threshold.
bool testEdgeDepth(const EdgeRules& rules, const GBufferViews& views, int x, int y);
// The normal turns across the horizontal or vertical neighbour pair of the same object by an
// amount within [normalMin, normalMax] percent.
bool testNormal(const EdgeRules& rules, const GBufferViews& views, int x, int y);

// The G-buffer channels detection reads for these switches (Z, material id and normal always).
ULONG edgeChannelsRequired(const EdgeRules& rules);

// Sets mask pixels of channel rules.lineMatID for which `edgeTest` holds; never clears any.
// Does nothing without a test, without a mask, or when the mask's size is not the material
// view's size. The views `edgeTest` reads must be present at that size.
void scanEdges(EdgeTest edgeTest, const EdgeRules& rules, const GBufferViews& views, EdgeMask mask);

// Runs the scan of every switch that is on, in the order outlineObject, outlineMaterial,
// edgeMaterial, edgeDepth, normal; the mask receives their union. Returns false, marking
// nothing, when a channel of edgeChannelsRequired(rules) | otherRequired is missing or differs
// in size from the material view.
bool detectEdges(const EdgeRules& rules, const GBufferViews& views, EdgeMask mask, ULONG otherRequired = 0);

}  // namespace vml
