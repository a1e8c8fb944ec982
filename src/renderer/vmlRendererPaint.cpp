// vmlRenderer: painting inside the post-frame hook. The canvas takes the scanline image, the
// bleed strength of every pixel is set, the strokes are painted far to near with bleeding in
// between, and the pen-stroke layer is blended in.

#include "host/Bitmap.h"
#include "host/RenderElement.h"
#include "host/RenderGlobalContext.h"
#include "host/Texmap.h"
#include "renderer/FaceCoverage.h"
#include "renderer/LineFxRenderElement.h"
#include "renderer/PenStrokeLayer.h"
#include "renderer/RenderParamDlgProc.h"
#include "renderer/SampleResolution.h"
#include "renderer/ScreenMapping.h"
#include "renderer/StrokePaintContext.h"
#include "renderer/StrokePaintLoop.h"
#include "renderer/StrokesAhead.h"
#include "renderer/vmlRenderer.h"
#include "renderer/vmlStrokeRecord.h"
#include "resources/StringIds.h"
#include "shell/WorkerPool.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <memory>
#include <vector>

namespace vml {

void vmlRenderer::paint()
{
    paintTimes_ = {};
    if (cancelled() || !globalContext_)
        return;
    setTitle(strings::progressRendering);
    const int pass = passState_.pass();
    canvas_->Load(pass == 0);
    canvasLoaded_ = true;

    renderContext_.setFrame(globalContext_, globalContext_->time);
    renderContext_.setScreenMapping(ScreenMapping::forRender(rendParams_->rendType, rendParams_->width,
                                                             rendParams_->height, canvas_->width(),
                                                             canvas_->height(), *frameParams_),
                                    IPoint2{cropX_, cropY_});
    if (pass == 0) {
        setBleedMask();
        if (cancelled())
            return;
    }
    if (strokes_.strokeCount() > 0)
        paintStrokes();
}

void vmlRenderer::setBleedMask()
{
    const bool useMap = !inMtlEdit() && settings_.bleedMapEnable && blurstrMap_;
    const int width = canvas_->width(), height = canvas_->height();
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            int value = 255;
            if (useMap) {
                renderContext_.placeAtPixel(x, y);
                value = bleedMaskValue(blurstrMap_->EvalMono(renderContext_), settings_.bleedAmount);
            }
            canvas_->SetMask(x, y, value);
        }
        reportProgress(y, height);
        if (cancelled())
            return;
    }
}

void vmlRenderer::paintStrokes()
{
    const std::size_t count = strokes_.strokeCount();
    const int total = static_cast<int>(std::min<std::size_t>(count, INT_MAX));
    const bool mtlEdit = inMtlEdit();
    if (!mtlEdit && summaryRollout_)
        summaryRollout_->setStrokeCount(count);
    const int interval = storeInterval(count, mtlEdit);
    setTitle(strings::progressPaintingStrokes);
    reportProgress(0, total);
    // A cancel during the resolution or the sort ends the painting before the first stroke.
    if (globalContext_->antialias &&
        !resolveSampleGrid(sampleGrid_, ScreenProjection::of(*globalContext_), nodeRecords_,
                           IPoint2{cropX_, cropY_}, [this](int done, int all) {
                               reportProgress(done, all);
                               return !cancelled();
                           }))
        return;
    strokes_.sortByDepth([this](std::size_t done, std::size_t all) {
        constexpr int units = 1000;
        if (!cancelled())
            reportProgress(all ? static_cast<int>(done * units / all) : units, units);
    });
    if (cancelled())
        return;
    // What every stroke paints with: this pass's canvas, samples, face sizes and brush tiles.
    brushCache_.setFrame(globalContext_, globalContext_->time);
    StrokePaintContext context;
    context.canvas = canvas_;
    context.width = width_;
    context.height = height_;
    context.regionOrigin = {cropX_, cropY_};
    context.scale = settings_.brushScale;
    context.samples = &sampleGrid_;
    context.nodes = &nodeRecords_;
    context.brushCache = settings_.brushCacheEnable && brushCache_.tileCount() > 0 ? &brushCache_ : nullptr;
    context.brushContext = &renderContext_;
    context.inMtlEdit = mtlEdit;
    context.frameNumber = frameNumber_;
    context.stats = &paintTimes_.strokes;

    class Steps final : public StrokePaintSteps {
    public:
        Steps(vmlRenderer& r, StrokePaintContext& context) : r_(r), context_(context) {}
        // With several threads and every brush from the cache, the walks are made ahead on the
        // workers; the canvas is still painted stroke by stroke in order. On one thread a walk
        // that can be made ahead still goes into a recording first: its window is small and
        // dense where the canvas's rows are wide, and the deposit then reads each pixel once.
        void walkAhead(StrokesAhead* ahead) { ahead_ = ahead; }
        void paintStroke(std::size_t i) override
        {
            const auto start = Clock::now();
            vmlStrokeRecord& stroke = r_.strokes_.stroke(i);
            if (ahead_)
                ahead_->paint(i, context_);
            else if (stroke.prepare(context_, prepared_))
                stroke.paintPrepared(context_, *prepared_);
            else
                stroke.paint(context_);
            r_.paintTimes_.strokeSeconds += seconds(Clock::now() - start);
        }
        bool bleed() override
        {
            const auto start = Clock::now();
            const bool moving = r_.canvas_->Bleed(bleedStepStrength);
            r_.paintTimes_.bleedSeconds += seconds(Clock::now() - start);
            ++r_.paintTimes_.bleedSteps;
            return moving;
        }
        // The stores during painting show progress; without a window to show it in they only
        // clamp the canvas, which later strokes depend on.
        void store() override
        {
            const Bitmap* shown = r_.canvas_->boundBitmap();
            if (shown && shown->HasWindow())
                r_.canvas_->Store();
            else
                r_.canvas_->ClampColours();
        }
        bool cancelled() override { return r_.cancelled(); }
        void progress(int done, int all) override { r_.reportProgress(done, all); }

    private:
        using Clock = std::chrono::steady_clock;
        static double seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }
        vmlRenderer& r_;
        StrokePaintContext& context_;
        StrokesAhead* ahead_ = nullptr;
        std::unique_ptr<PreparedStroke> prepared_;
    } steps(*this, context);

    bool complete = false;
    if (renderWorkers().threads() > 1 && StrokesAhead::applies(strokes_, context, count)) {
        StrokesAhead ahead(strokes_, context, count);
        steps.walkAhead(&ahead);
        ahead.run([&] { complete = runStrokeLoop(steps, count, interval); });
        steps.walkAhead(nullptr);
    } else {
        complete = runStrokeLoop(steps, count, interval);
    }
    paintTimes_.brushTilesRendered = brushCache_.tilesRendered();
    if (!complete)
        return;
    reportProgress(total, total);
    setTitle(strings::progressBleedingPaint);
    runFinalBleed(steps);
    if (!cancelled())
        reportProgress(total, total);
}

void vmlRenderer::compositePenStrokes()
{
    if (cancelled() || !globalContext_ || !canvasLoaded_)
        return;
    IRenderElementMgr* manager = globalContext_->GetRenderElementMgr();
    if (!manager)
        return;
    IRenderElement* element = nullptr;
    const int n = manager->NumRenderElements();
    for (int i = 0; i < n && !element; ++i) {
        IRenderElement* e = manager->GetRenderElement(i);
        if (e && e->ClassID() == crayonStrokeRenderElementClassId)
            element = e;
    }
    if (!element)
        return;
    setTitle(strings::progressCompositingPenStrokes);
    PBBitmap* holder = element->GetPBBitmap();
    if (Bitmap* layer = holder ? holder->bm() : nullptr;
        layer && !compositePenStrokeLayer(*canvas_, *layer, settings_.penStrokeAlpha,
                                          settings_.penStrokeBlend, progress_))
        progressAborted_ = true;
}

}  // namespace vml
