#include "material/vmlObjBrush.h"

#include "material/DabBrush.h"
#include "material/StrokeCoverage.h"
#include "material/StrokePaintState.h"
#include "material/StrokePlacement.h"
#include "material/StrokeSetup.h"
#include "material/StrokeWalk.h"
#include "material/vmlMaterial.h"
#include "paint/vmlBrush.h"
#include "paint/vmlRasterBase.h"
#include "renderer/NodeRecords.h"
#include "renderer/StrokePaintContext.h"

#include <cstddef>
#include <new>

namespace vml {

// The layout is part of the record's contract with the stroke pool: fields in this order, no
// hidden padding, 56 bytes with the type identity.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
static_assert(sizeof(vmlObjBrush) == vmlObjBrush::recordSize);
static_assert(offsetof(vmlObjBrush, depthKey) == 8);
static_assert(offsetof(vmlObjBrush, x) == 12);
static_assert(offsetof(vmlObjBrush, y) == 16);
static_assert(offsetof(vmlObjBrush, nodeId) == 20);
static_assert(offsetof(vmlObjBrush, seed) == 24);
static_assert(offsetof(vmlObjBrush, color) == 26);
static_assert(offsetof(vmlObjBrush, reserved) == 30);
static_assert(offsetof(vmlObjBrush, face) == 32);
static_assert(offsetof(vmlObjBrush, normal) == 36);
static_assert(offsetof(vmlObjBrush, material) == 40);
static_assert(offsetof(vmlObjBrush, cell) == 48);
#pragma GCC diagnostic pop

namespace {

// Brush variants are honoured only while strokes are stamped; editor previews and other
// callers always see variant 0.
class StrokePaintingScope {
public:
    StrokePaintingScope() { vmlBrush::setStrokePainting(true); }
    ~StrokePaintingScope() { vmlBrush::setStrokePainting(false); }
    StrokePaintingScope(const StrokePaintingScope&) = delete;
    StrokePaintingScope& operator=(const StrokePaintingScope&) = delete;
};

}  // namespace

void vmlObjBrush::paint(StrokePaintContext& context)
{
    if (!material || !context.canvas || !context.samples || !context.nodes || !context.brushContext)
        return;
    // The class id alone does not make a brush: only this library's brush can be stamped.
    auto* brushMap = dynamic_cast<vmlBrush*>(material->brushMap());
    if (!brushMap)
        return;
    vmlBrush& brush = *brushMap;
    const vmlMaterial::BaseCache& base = material->baseCache();
    const vmlMaterial::BrushCache& brushSettings = material->brushCache();
    const NodeRecords& nodes = *context.nodes;

    StrokeSetupFrame frame;
    frame.scale = context.scale;
    const int instance = nodes.instanceOfNode(nodeId);
    frame.faceSizeFactor = instance >= 0 ? nodes.faceSizeFactor(instance, face) : 0.0f;
    frame.objectDepth = -depthKey;
    frame.depthScaling = !context.inMtlEdit;
    if (!context.inMtlEdit) {
        const StrokePlacementSettings placement = StrokePlacementSettings::of(base, brushSettings);
        frame.screenJitterSeed = strokeSeed({0, 0}, placement.seedInterval(), placement.seedNode(nodeId),
                                            context.frameNumber, context.inMtlEdit, nodes);
    }
    frame.regionOrigin = context.regionOrigin;
    frame.brushMapAngleRnd = brush.angleRandomDegrees();
    frame.brushVariantCount = brush.variantCount();

    std::optional<StrokeSetup> setup = setUpStroke(*this, brushSettings, material->strokeCache(), frame);
    if (!setup)
        return;
    vmlRasterBase& canvas = *context.canvas;
    canvas.ResetDirty();

    StrokeSurface surface;
    surface.samples = context.samples;
    surface.faces = &nodes;
    surface.width = context.width;
    surface.height = context.height;
    surface.nodeId = nodeId;
    surface.face = face;
    surface.depth = depthKey;
    {
        StrokePaintingScope painting;
        MapDabBrush dabBrush(brush, *context.brushContext, context.brushCache);
        const StrokeWalkCounts counts = walkStroke(*setup, surface, dabBrush, canvas);
        if (context.stats) {
            context.stats->dabs += counts.dabs;
            context.stats->dabPixels += counts.dabPixels;
        }
    }

    const StrokePaintState paint = strokePaintState(material->paintCache(), setup->random);
    applyPaintState(paint, canvas);
    const float opacity =
        facingFade(setup->facing, brushSettings.brushFadeAlpha, brushSettings.brushFadeAlphaThre,
                   brushSettings.brushFadeAlphaRnd, brushSettings.brushFadeAlphaLinear, setup->random) *
        brushSettings.brushOpacity * 0.01f;
    CoveragePaint coverage;
    coverage.colour = {color[0] / 255.0f, color[1] / 255.0f, color[2] / 255.0f, color[3] / 255.0f * opacity};
    coverage.opacity = opacity;
    coverage.fine = setup->fine;
    coverage.noSideDrop = base.brushNoSideDrop != 0;
    coverage.samples = context.samples;
    coverage.width = context.width;
    coverage.height = context.height;
    coverage.nodeId = nodeId;
    coverage.material = material;
    coverage.depth = depthKey;
    paintCoverage(coverage, paint.adjustment, canvas);
}

vmlStrokeRecord* vmlObjBrush::copyTo(void* storage) const { return new (storage) vmlObjBrush(*this); }

std::uint64_t vmlObjBrush::orderKey() const
{
    auto bits16 = [](std::int32_t v) {
        return static_cast<std::uint64_t>(static_cast<std::uint32_t>(v) & 0xFFFFu);
    };
    return bits16(cell.y) << 48 | bits16(cell.x) << 32 | bits16(nodeId) << 16 | bits16(face);
}

}  // namespace vml
