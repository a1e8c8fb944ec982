#pragma once
// Stroke placement: strokes sit at the corners of a jittered screen-space grid. While the host
// shades, each sample of the painterly camera pass asks whether its pixel holds a corner; the
// renderer's row filter keeps one stroke per object and pixel, and the sample becomes a
// vmlObjBrush record filed with the renderer.

#include "host/Point2.h"
#include "material/ShadingSample.h"
#include "material/vmlMaterialCaches.h"
#include "material/vmlObjBrush.h"
#include "renderer/StrokeSeed.h"

#include <optional>

namespace vml {

class NodeRecords;
class vmlRenderer;

// The settings of one material that placement reads (base and brush caches).
struct StrokePlacementSettings {
    float brushDensity = 26.0f;  // percent: grid cells per pixel x 100
    bool baseHiddenFace = true;
    bool baseRndAuto = false;
    int baseRndInterval = 1;
    bool baseRndMoveDetect = false;
    bool brushOfsEnable = false;
    float brushOfs = 0.0f;
    float brushOfsRnd = 0.0f;

    // The seed's animation interval: 0 (seeds never change) unless baseRndAuto is on.
    int seedInterval() const { return baseRndAuto ? baseRndInterval : 0; }
    // The node whose stillness counts the animation steps, or -1.
    int seedNode(int nodeId) const { return baseRndAuto && baseRndMoveDetect ? nodeId : -1; }

    static StrokePlacementSettings of(const mtlcache::BaseCache& base, const mtlcache::BrushCache& brush);
};

// What the frame contributes: the device size and editor flag of the render global context
// the renderer handed to the host, and the renderer's frame values.
struct StrokeFrame {
    int width = 0, height = 0;
    bool inMtlEdit = false;
    float frameNumber = 0.5f;
    float brushScaleInverse = 1.0f;
    const NodeRecords* nodes = nullptr;  // required

    // The renderer's current frame; its global context must be set.
    static StrokeFrame of(vmlRenderer& renderer);
};

// The grid in screen pixels: corner (i, j) lies at (i / k + originX, j / k + originY).
struct StrokeGrid {
    float originX = 0.0f, originY = 0.0f;
    float cellsPerPixel = 0.0f;  // k
};

struct StrokeCorner {
    StrokeCell cell;  // the cell whose far corner the pixel holds
    Point2 position;  // the corner, screen pixels
};

// The grid of a material for a node: pitch from the density and the renderer's brush scale,
// origin jittered per animation step (and per node with motion detection), centred in the
// material editor.
StrokeGrid strokeGrid(const StrokePlacementSettings& settings, const StrokeFrame& frame, int nodeId);

// The corner that pixel's unit square holds: it must cross a grid line in x and one in y. Each
// corner is found in one pixel only (for k <= 1; finer grids place at most one per pixel).
// Empty for no corner, or for a grid without a positive finite pitch.
std::optional<StrokeCorner> findStrokeCorner(const StrokeGrid& grid, IPoint2 pixel);
std::optional<StrokeCorner> findStrokeCorner(const StrokePlacementSettings& settings,
                                             const StrokeFrame& frame, const ShadingSample& sample);

// A sample whose normal faces away from the camera seeds from a cell of its own, so the
// strokes on the far side of a thin object do not repeat the near side's.
constexpr StrokeCell backFaceCell(StrokeCell cell) { return {cell.x + 4096, 4096 - cell.y}; }

// The record for a sample at a corner; `cell` is the seeding cell (back-face remap applied).
vmlObjBrush makeStrokeRecord(const StrokePlacementSettings& settings, const StrokeFrame& frame,
                             const ShadingSample& sample, StrokeCell cell, Point2 position,
                             const vmlMaterial* material);

// The placement step of the shade entry: corner test, row filter and filing; shading threads
// may place at once. True when a stroke was filed.
bool placeStroke(vmlRenderer& renderer, const StrokePlacementSettings& settings, const ShadingSample& sample,
                 const vmlMaterial* material);

}  // namespace vml
