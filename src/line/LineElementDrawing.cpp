#include "line/LineElementDrawing.h"

#include "line/LinePaintCompositing.h"

#include "host/IParamBlock2.h"
#include "host/Interval.h"
#include "host/Texmap.h"
#include "line/EdgeDetection.h"
#include "line/GBufferViews.h"
#include "line/LineCompositing.h"
#include "line/LineFxElement.h"
#include "line/LineFxParamBlocks.h"
#include "line/LineMapContext.h"
#include "line/LineStamping.h"
#include "line/WidthFactors.h"
#include "renderer/vmlRenderer.h"

#include <optional>

namespace vml {

EdgeRules edgeRulesOf(IParamBlock2& block, const LineSettings& s)
{
    EdgeRules rules;
    rules.lineMatID = s.lineMatID;
    rules.outlineObjectThreshold = s.outlineObjectThreshold;
    rules.outlineMaterialThreshold = s.outlineMaterialThreshold;
    rules.edgeDepthThreshold = s.edgeDepthThreshold;
    rules.normalMin = s.normalMin;
    rules.normalMax = s.normalMax;
    rules.normalDepth = s.normalDepth;
    rules.outlineObject = block.GetInt(lineParam::outlineObject, 0) != 0;
    rules.outlineMaterial = block.GetInt(lineParam::outlineMaterial, 0) != 0;
    rules.edgeMaterial = block.GetInt(lineParam::edgeMaterial, 0) != 0;
    rules.edgeDepth = block.GetInt(lineParam::edgeDepth, 0) != 0;
    rules.normal = block.GetInt(lineParam::normal, 0) != 0;
    return rules;
}

bool drawLineElement(LineFxElement& element, TimeValue t, Bitmap& bitmap, RenderGlobalContext* gc,
                     LineFrameCanvases& canvases, std::span<Bitmap* const> lineElementBitmaps,
                     bool lineOutRenderElement, RendProgressCallback* progress, vmlRasterBase* paintCanvas,
                     bool* painted)
{
    IParamBlock2* block = element.pblock();
    if (!block || !block->GetInt(lineParam::lineOn, 0))
        return true;
    if (canvases.width != bitmap.Width() || canvases.height != bitmap.Height())
        return true;
    // Detection and width factors run whole before stamping first asks; an element that a cancel
    // has already stopped does not start them.
    if (progress && progress->Progress(0, 2 * bitmap.Height()) == RENDPROG_ABORT)
        return false;
    element.refreshSettings(t);
    const LineSettings& s = element.settings();

    const GBufferViews views = makeGBufferViews(bitmap);
    if (!detectEdges(edgeRulesOf(*block, s), views, canvases.mask(), element.GBufferChannelsRequired(t))) {
        if (currentRenderer)
            currentRenderer->setOutOfMemory();
        return true;
    }
    const EdgeMask mask = canvases.mask();
    computeWidthFactors(s, mask, canvases.deformMap);
    // An abort during stamping still composites what was stamped; compositing asks again.
    stampLines(s, mask, canvases.deformMap, views, canvases.lineCoverage, canvases.lineFade, progress,
               canvases.memory);

    LineMapSample sample;
    std::optional<LineMapContext> context;
    Texmap* map = element.lineMap();
    if (s.lineMapEnable && map) {
        Interval valid = FOREVER;
        map->Update(t, valid);
        context.emplace(gc, t, bitmap.Width(), bitmap.Height());
        sample = [map, &context](int x, int y, float u, float v) {
            context->moveTo(x, y, u, v);
            return map->EvalColor(*context);
        };
    }
    if (paintCanvas) {
        const LinePaintResult result =
            paintLinesIntoCanvas(s, block->GetFloat(lineParam::lineWidth, t), canvases.lineCoverage,
                                 canvases.lineFade, *paintCanvas, sample, progress, canvases.memory);
        if (painted && result.painted)
            *painted = true;
        return !result.aborted;
    }
    return compositeLines(s, canvases.lineCoverage, canvases.lineFade, bitmap, lineElementBitmaps,
                          lineOutRenderElement, sample, progress, canvases.memory);
}

}  // namespace vml
