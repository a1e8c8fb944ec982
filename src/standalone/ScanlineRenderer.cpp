#include "standalone/ScanlineRenderer.h"

#include "host/Bitmap.h"
#include "host/Effect.h"
#include "host/Mtl.h"
#include "host/Notify.h"
#include "host/Texmap.h"
#include "standalone/RenderElementManager.h"
#include "standalone/ShadingThreads.h"
#include "standalone/StandaloneCore.h"
#include "standalone/scanline/DefaultMaterial.h"
#include "standalone/scanline/FrameMotion.h"
#include "standalone/scanline/FrameScene.h"
#include "standalone/scanline/Rasterizer.h"
#include "standalone/scanline/RenderAbort.h"
#include "standalone/scanline/RowShader.h"
#include "standalone/scanline/ScanlineGlobalContext.h"
#include "standalone/scanline/ShadingFrame.h"

#include <algorithm>
#include <chrono>
#include <exception>
#include <fmt/format.h>
#include <numeric>
#include <optional>

namespace standalone {

using namespace scanline;

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

}  // namespace

struct ScanlineRenderer::Frame {
    FrameKey key;
    ScanlineView view;
    FrameScene scene;
    FrameMotion motion;
    ScanlineGlobalContext gc;
    std::vector<ScreenPolygon> polygons;
    ShadingFrame shading;
};

ScanlineRenderer::ScanlineRenderer() : defaultMtl_(std::make_unique<DefaultMaterial>()) {}

ScanlineRenderer::~ScanlineRenderer() = default;

int ScanlineRenderer::Open(INode* scene, INode* viewNode, ViewParams* viewPar, RendParams& rp, HWND,
                           RendProgressCallback*)
{
    frame_.reset();
    mapsLoaded_.clear();
    open_ = scene != nullptr;
    scene_ = scene;
    viewNode_ = viewNode;
    hasViewParams_ = viewPar != nullptr;
    viewParams_ = viewPar ? *viewPar : ViewParams();
    rp_ = rp;
    rp_.SetRenderElementMgr(rp.GetRenderElementMgr());
    return open_ ? 1 : 0;
}

void ScanlineRenderer::Close(HWND, RendProgressCallback*)
{
    frame_.reset();
    mapsLoaded_.clear();
    open_ = false;
    scene_ = viewNode_ = nullptr;
}

int ScanlineRenderer::Render(TimeValue t, Bitmap* tobm, FrameRendParams& frp, HWND,
                             RendProgressCallback* prog, ViewParams* viewPar)
{
    warnings_.clear();
    stats_ = ScanlineStats();
    if (!open_ || !tobm)
        return 0;
    if (!tobm->HasStorage())
        tobm->Allocate(rp_.width, rp_.height);
    if (!tobm->HasStorage()) {
        warnings_.push_back(fmt::format("render: the output bitmap has no pixels and the render size {} x {} "
                                        "is not a valid image size",
                                        rp_.width, rp_.height));
        return 0;
    }
    if (prog)
        prog->SetTitle("Rendering");
    try {
        return renderFrame(t, *tobm, frp, prog, viewPar);
    } catch (const std::exception& e) {
        warnings_.push_back(fmt::format("render: frame at time {} failed: {}", t, e.what()));
        return 0;
    }
}

void ScanlineRenderer::prepareMaterials(TimeValue t)
{
    std::vector<MtlBase*> objects;
    auto addOnce = [&](MtlBase* m) {
        if (m && std::find(objects.begin(), objects.end(), m) == objects.end())
            objects.push_back(m);
    };
    for (ScanlineInstance* inst : frame_->gc.instances)
        addOnce(inst->mtl);
    addOnce(defaultMtl_.get());
    addOnce(rp_.envMap);
    for (MtlBase* m : objects) {
        if (mapsLoaded_.insert(m).second && !m->LoadMapFiles(t))
            warnings_.push_back(
                fmt::format("material '{}': some of its map files could not be loaded", m->GetName()));
        Interval valid = FOREVER;
        m->Update(t, valid);
    }
}

int ScanlineRenderer::renderFrame(TimeValue t, Bitmap& bm, FrameRendParams& frp, RendProgressCallback* prog,
                                  ViewParams* viewPar)
{
    const auto setupStart = Clock::now();
    const ViewParams* view = viewPar ? viewPar : (hasViewParams_ ? &viewParams_ : nullptr);
    ScanlineView frameView = makeView(viewNode_, view, t, bm.Width(), bm.Height(), rp_.devAspect);
    FrameKey key = frameKey(scene_, t, frameView.worldToCam, bm.Width(), bm.Height());
    // Another render of the same frame (a pass of a multipass frame) keeps the frame's context
    // and instances, which a plug-in may hold from its first pass to its last, with the hide bits
    // and environment map it set on them; only what is drawn is made anew.
    if (!frame_ || !(frame_->key == key)) {
        frame_ = std::make_unique<Frame>();
        Frame& f = *frame_;
        f.key = std::move(key);
        f.view = frameView;
        gatherFrameScene(scene_, t, f.view.worldToCam, defaultMtl_.get(), f.scene);
        ScanlineGlobalContext& gc = f.gc;
        f.view.fill(gc);
        gc.renderer = this;
        gc.antialias = rp_.antialias;
        gc.inMtlEdit = rp_.inMtlEdit;
        gc.fieldRender = rp_.fieldRender;
        gc.time = t;
        gc.envMap = rp_.envMap;
        gc.globalLightLevel = frp.globalLightLevel;
        gc.elementMgr = rp_.GetRenderElementMgr();
        for (auto& inst : f.scene.instances)
            gc.instances.push_back(inst.get());
        const TimeValue previousTime = previousFrameTime(t);
        const ScanlineView previousView =
            makeView(viewNode_, view, previousTime, bm.Width(), bm.Height(), rp_.devAspect);
        f.motion.build(f.view, previousView.worldToCam, previousTime, gc.instances);
    } else {
        frame_->polygons.clear();
        frame_->shading = ShadingFrame();
    }
    Frame& f = *frame_;
    ScanlineGlobalContext& gc = f.gc;
    warnings_.insert(warnings_.end(), f.scene.warnings.begin(), f.scene.warnings.end());
    prepareMaterials(t);
    prepareRenderElementBitmaps(gc.elementMgr, bm.Width(), bm.Height());
    Effect* effect = rp_.effect;
    bool effectActive = effect && effect->Active(t);
    bm.CreateChannels(rp_.gbufferChannels | (effectActive ? effect->GBufferChannelsRequired(t) : 0));
    stats_.instances = static_cast<int>(gc.instances.size());
    stats_.lights = static_cast<int>(f.scene.lights.size());
    stats_.setupSeconds = secondsSince(setupStart);

    BroadcastNotification(NOTIFY_PRE_RENDERFRAME, static_cast<RenderGlobalContext*>(&gc));
    bool completed = false;
    try {
        // Instances may have been hidden by the pre-frame notification.
        const auto polygonStart = Clock::now();
        for (std::size_t i = 0; i < gc.instances.size(); ++i)
            if (!(gc.instances[i]->flags & INST_HIDE))
                addScreenPolygons(f.view, *gc.instances[i], static_cast<std::uint32_t>(i), f.polygons);
        stats_.polygons = static_cast<int>(f.polygons.size());
        stats_.setupSeconds += secondsSince(polygonStart);

        ShadingFrame& s = f.shading;
        s.view = &f.view;
        s.globalContext = &gc;
        s.polygons = &f.polygons;
        s.instances = &gc.instances;
        s.lights = &f.scene.lights;
        s.motion = &f.motion;
        s.defaultMtl = defaultMtl_.get();
        s.ambient = frp.ambient;
        s.background = frp.background;
        s.backgroundAlpha = frp.backgroundAlpha;
        // The frame context's: a plug-in may stand in for the environment during its passes.
        s.envMap = gc.envMap;
        s.antialias = rp_.antialias != FALSE;
        s.inMtlEdit = rp_.inMtlEdit != FALSE;
        s.time = t;
        completed = shadeRows(f, bm, prog);
    } catch (...) {
        BroadcastNotification(NOTIFY_POST_RENDERFRAME, static_cast<RenderGlobalContext*>(&gc));
        throw;
    }
    BroadcastNotification(NOTIFY_POST_RENDERFRAME, static_cast<RenderGlobalContext*>(&gc));
    if (!completed) {
        stats_.cancelled = true;
        return 0;
    }

    if (effect && effect->Active(t)) {
        const auto effectStart = Clock::now();
        RenderAbortCheck check(prog);
        // A cancel that came while the post-frame hooks ran (a plug-in painting) skips the effects.
        if (check.Check()) {
            stats_.cancelled = true;
            return 0;
        }
        effect->Apply(t, &bm, &gc, &check);
        stats_.effectSeconds = secondsSince(effectStart);
        if (check.aborted()) {
            stats_.cancelled = true;
            return 0;
        }
    }
    bm.RefreshWindow();
    return 1;
}

bool ScanlineRenderer::shadeRows(Frame& f, Bitmap& bm, RendProgressCallback* prog)
{
    const int height = bm.Height();
    const bool antialias = f.shading.antialias;
    PolygonBins bins(f.polygons, height, rowsPerBatch);
    GBufferTarget gbuffer(bm);
    std::vector<std::vector<Fragment>> rows(rowsPerBatch);
    std::vector<std::uint64_t> shaded(rowsPerBatch);
    auto* core = dynamic_cast<StandaloneCore*>(GetCOREInterface());
    const int threads = threads_ > 0 ? threads_ : core ? core->shadingThreads() : 0;
    ShadingThreads workers(threads);
    stats_.threads = workers.concurrency();

    for (int y0 = 0; y0 < height; y0 += rowsPerBatch) {
        const int y1 = std::min(height, y0 + rowsPerBatch);

        auto start = Clock::now();
        workers.forEach(y0, y1, [&](int y) {
            rasterizeRow(f.view, f.polygons, bins.forRow(y), y, antialias, rows[y - y0]);
        });
        stats_.rasterSeconds += secondsSince(start);
        for (int y = y0; y < y1; ++y)
            stats_.fragments += rows[y - y0].size();

        // Each row is one task: one thread shades it, left to right.
        start = Clock::now();
        workers.forEach(y0, y1, [&](int y) {
            RowShader shader(f.shading);
            shaded[y - y0] = shader.shadeRow(y, rows[y - y0], bm.Row(y), gbuffer);
        });
        stats_.shadeSeconds += secondsSince(start);
        stats_.fragmentsShaded +=
            std::accumulate(shaded.begin(), shaded.begin() + (y1 - y0), std::uint64_t{0});

        if (reportAndCheckCancel(prog, y1, height))
            return false;
    }
    return true;
}

bool ScanlineRenderer::ApplyRenderEffects(TimeValue t, Bitmap* bitmap, bool updateDisplay)
{
    Effect* effect = rp_.effect;
    if (!frame_ || !bitmap || !effect || !effect->Active(t))
        return false;
    RenderAbortCheck check(nullptr);
    effect->Apply(t, bitmap, &frame_->gc, &check);
    if (updateDisplay)
        bitmap->RefreshWindow();
    return true;
}

void installScanlineRenderer(StandaloneCore& core)
{
    core.setScanlineFactory([] { return new ScanlineRenderer(); });
}

}  // namespace standalone
