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
#include <memory>
#include <new>
#include <optional>

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
    StrokePaintingScope() { vmlBrush::beginStrokePainting(); }
    ~StrokePaintingScope() { vmlBrush::endStrokePainting(); }
    StrokePaintingScope(const StrokePaintingScope&) = delete;
    StrokePaintingScope& operator=(const StrokePaintingScope&) = delete;
};

}  // namespace

namespace {

// What painting a stroke needs before its walk: its brush and its set-up.
struct StrokeStart {
    vmlBrush* brush = nullptr;
    StrokeSetup setup;
};

// None when nothing is painted: no brush texture in the material's brush slot, or a stroke the
// set-up refuses.
std::optional<StrokeStart> startStroke(const vmlObjBrush& stroke, const StrokePaintContext& context)
{
    const vmlMaterial* material = stroke.material;
    if (!material || !context.canvas || !context.samples || !context.nodes || !context.brushContext)
        return std::nullopt;
    // The class id alone does not make a brush: only this library's brush can be stamped.
    auto* brush = dynamic_cast<vmlBrush*>(material->brushMap());
    if (!brush)
        return std::nullopt;
    const vmlMaterial::BaseCache& base = material->baseCache();
    const vmlMaterial::BrushCache& brushSettings = material->brushCache();
    const NodeRecords& nodes = *context.nodes;

    StrokeSetupFrame frame;
    frame.scale = context.scale;
    const int instance = nodes.instanceOfNode(stroke.nodeId);
    frame.faceSizeFactor = instance >= 0 ? nodes.faceSizeFactor(instance, stroke.face) : 0.0f;
    frame.objectDepth = -stroke.depthKey;
    frame.depthScaling = !context.inMtlEdit;
    if (!context.inMtlEdit) {
        const StrokePlacementSettings placement = StrokePlacementSettings::of(base, brushSettings);
        frame.screenJitterSeed =
            strokeSeed({0, 0}, placement.seedInterval(), placement.seedNode(stroke.nodeId),
                       context.frameNumber, context.inMtlEdit, nodes);
    }
    frame.regionOrigin = context.regionOrigin;
    frame.brushMapAngleRnd = brush->angleRandomDegrees();
    frame.brushVariantCount = brush->variantCount();

    std::optional<StrokeSetup> setup = setUpStroke(stroke, brushSettings, material->strokeCache(), frame);
    if (!setup)
        return std::nullopt;
    return StrokeStart{brush, *setup};
}

StrokeSurface surfaceOf(const vmlObjBrush& stroke, const StrokePaintContext& context)
{
    StrokeSurface surface;
    surface.samples = context.samples;
    surface.faces = context.nodes;
    surface.width = context.width;
    surface.height = context.height;
    surface.nodeId = stroke.nodeId;
    surface.face = stroke.face;
    surface.depth = stroke.depthKey;
    return surface;
}

void countWalk(StrokePaintContext& context, const StrokeWalkCounts& counts)
{
    if (context.stats) {
        context.stats->dabs += counts.dabs;
        context.stats->dabPixels += counts.dabPixels;
    }
}

// After the walk: the stroke's paint state and colour, deposited over the covered pixels, which
// the canvas's coverage holds or, for a walk made ahead, its recording.
void depositStroke(const vmlObjBrush& stroke, StrokeStart& start, StrokePaintContext& context,
                   const CoverageRecording* recording = nullptr)
{
    const vmlMaterial& material = *stroke.material;
    const vmlMaterial::BrushCache& brushSettings = material.brushCache();
    vmlRasterBase& canvas = *context.canvas;
    StrokeSetup& setup = start.setup;
    const StrokePaintState paint = strokePaintState(material.paintCache(), setup.random);
    applyPaintState(paint, canvas);
    const float opacity =
        facingFade(setup.facing, brushSettings.brushFadeAlpha, brushSettings.brushFadeAlphaThre,
                   brushSettings.brushFadeAlphaRnd, brushSettings.brushFadeAlphaLinear, setup.random) *
        brushSettings.brushOpacity * 0.01f;
    CoveragePaint coverage;
    const auto& color = stroke.color;
    coverage.colour = {color[0] / 255.0f, color[1] / 255.0f, color[2] / 255.0f, color[3] / 255.0f * opacity};
    coverage.opacity = opacity;
    coverage.fine = setup.fine;
    coverage.noSideDrop = material.baseCache().brushNoSideDrop != 0;
    coverage.samples = context.samples;
    coverage.width = context.width;
    coverage.height = context.height;
    coverage.nodeId = stroke.nodeId;
    coverage.material = material.sampleKey();
    coverage.depth = stroke.depthKey;
    if (recording)
        paintCoverage(coverage, paint.adjustment, *recording, canvas);
    else
        paintCoverage(coverage, paint.adjustment, canvas);
}

class PreparedObjBrush final : public PreparedStroke {
public:
    std::optional<StrokeStart> start;
    CoverageRecording recording;
    StrokeWalkCounts counts;
};

}  // namespace

void vmlObjBrush::paint(StrokePaintContext& context)
{
    std::optional<StrokeStart> start = startStroke(*this, context);
    if (!start)
        return;
    vmlRasterBase& canvas = *context.canvas;
    canvas.ResetDirty();
    {
        StrokePaintingScope painting;
        MapDabBrush dabBrush(*start->brush, *context.brushContext, context.brushCache);
        countWalk(context, walkStroke(start->setup, surfaceOf(*this, context), dabBrush, canvas));
    }
    depositStroke(*this, *start, context);
}

bool vmlObjBrush::preparable(const StrokePaintContext& context) const
{
    // Only a brush read from the cache may be walked away from the render thread: evaluating
    // the map itself goes through the one brush context.
    auto* brush = material ? dynamic_cast<vmlBrush*>(material->brushMap()) : nullptr;
    return brush && context.brushCache && !brush->cacheDisabled() && context.canvas && context.brushContext;
}

bool vmlObjBrush::prepare(const StrokePaintContext& context, std::unique_ptr<PreparedStroke>& slot) const
{
    if (!preparable(context))
        return false;
    auto* prepared = dynamic_cast<PreparedObjBrush*>(slot.get());
    if (!prepared) {
        slot = std::make_unique<PreparedObjBrush>();
        prepared = static_cast<PreparedObjBrush*>(slot.get());
    }
    prepared->recording.reset(context.canvas->width(), context.canvas->height());
    prepared->start = startStroke(*this, context);
    if (!prepared->start)
        return true;
    StrokePaintingScope painting;
    MapDabBrush dabBrush(*prepared->start->brush, *context.brushContext, context.brushCache);
    prepared->counts =
        walkStroke(prepared->start->setup, surfaceOf(*this, context), dabBrush, prepared->recording);
    return true;
}

void vmlObjBrush::paintPrepared(StrokePaintContext& context, PreparedStroke& prepared)
{
    auto& made = static_cast<PreparedObjBrush&>(prepared);
    if (!made.start)
        return;
    // The walk's coverage goes from the recording straight into the deposits: the canvas's own
    // coverage is 0 between strokes (every covered pixel is deposited or cleared) and stays so.
    context.canvas->ResetDirty();
    StrokeWalkCounts counts = made.counts;
    counts.dabPixels = made.recording.raised();
    countWalk(context, counts);
    depositStroke(*this, *made.start, context, &made.recording);
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
