#include "standalone/RenderJob.h"

#include "host/INode.h"
#include "host/Notify.h"
#include "host/RenderGlobalContext.h"
#include "host/RenderInstance.h"
#include "standalone/ScanlineRenderer.h"
#include "standalone/Scene.h"
#include "standalone/StandaloneCore.h"

#include <fmt/format.h>

namespace standalone {

namespace {

// The scanline renderer that renders a frame, and the frame's camera and instances: a plug-in
// renderer that drives one inside its own frame is seen through the frame's global context,
// which names the renderer shading it.
class FrameScanline {
public:
    FrameScanline() { RegisterNotification(record, this, NOTIFY_PRE_RENDERFRAME); }
    ~FrameScanline() { UnRegisterNotification(record, this, NOTIFY_PRE_RENDERFRAME); }
    FrameScanline(const FrameScanline&) = delete;
    FrameScanline& operator=(const FrameScanline&) = delete;

    ScanlineRenderer* scanline = nullptr;
    FrameCamera camera;
    std::vector<std::string> instanceNames;

private:
    static void record(void* param, NotifyInfo* info)
    {
        auto* gc = info ? static_cast<RenderGlobalContext*>(info->callParam) : nullptr;
        if (!gc)
            return;
        auto* seen = static_cast<FrameScanline*>(param);
        if (auto* renderer = dynamic_cast<ScanlineRenderer*>(gc->renderer))
            seen->scanline = renderer;
        seen->camera = frameCameraOf(*gc);
        seen->instanceNames.clear();
        for (int i = 0; i < gc->NumRenderInstances(); ++i) {
            RenderInstance* inst = gc->GetRenderInstance(i);
            if (!inst || inst->nodeID < 0 || inst->nodeID >= BMM_BACKGROUND_NODE_RENDER_ID)
                continue;
            const auto id = static_cast<std::size_t>(inst->nodeID);
            if (seen->instanceNames.size() <= id)
                seen->instanceNames.resize(id + 1);
            INode* node = inst->GetINode();
            seen->instanceNames[id] = node && node->GetName() ? node->GetName() : "";
        }
    }
};

}  // namespace

RenderSession::RenderSession(Scene& scene, Renderer& renderer, const RenderJobOptions& options)
    : scene_(scene), renderer_(renderer), options_(options)
{}

RenderSession::~RenderSession() { close(); }

bool RenderSession::open(std::string& error)
{
    const RenderSettings& settings = scene_.render;
    if (!scene_.camera || !scene_.camera->camera) {
        error = "render: the scene has no camera to render from";
        return false;
    }
    if (settings.width <= 0 || settings.height <= 0) {
        error = fmt::format("render: image size {} x {} is not valid; expected positive width and height",
                            settings.width, settings.height);
        return false;
    }
    if (options_.applyEffects)
        for (Effect* e : scene_.effects)
            effects_.add(e);
    // Every element gets its bitmap slot now, so renderers that wrap the manager (and so hide
    // its type) still find the slots to size each frame.
    for (IRenderElement* e : scene_.renderElements)
        if (elements_.AddRenderElement(e))
            elements_.slotFor(e);

    rp_.width = settings.width, rp_.height = settings.height;
    rp_.antialias = settings.antialias ? TRUE : FALSE;
    rp_.inMtlEdit = options_.inMtlEdit ? TRUE : FALSE;
    rp_.gbufferChannels = options_.gbufferChannels;
    rp_.envMap = scene_.environment.map;
    rp_.effect = effects_.count() > 0 ? &effects_ : nullptr;
    rp_.SetRenderElementMgr(&elements_);

    if (auto* scanline = dynamic_cast<ScanlineRenderer*>(&renderer_))
        scanline->setThreadCount(options_.threads);
    // A plug-in renderer's inner scanline renderer shades on as many.
    if (auto* core = dynamic_cast<StandaloneCore*>(GetCOREInterface()))
        core->setShadingThreads(options_.threads);
    if (!renderer_.Open(scene_.root(), scene_.camera, nullptr, rp_, nullptr, options_.progress)) {
        error = "render: the renderer could not open the scene";
        return false;
    }
    open_ = true;
    return true;
}

RenderJobResult RenderSession::renderFrame(TimeValue t, Bitmap& bitmap)
{
    RenderJobResult result;
    if (!open_) {
        result.error = "render: the renderer is not open";
        return result;
    }
    const RenderSettings& settings = scene_.render;
    if (bitmap.Width() != settings.width || bitmap.Height() != settings.height)
        bitmap.Allocate(settings.width, settings.height);

    FrameRendParams frp;
    frp.ambient = scene_.environment.ambient;
    frp.background = scene_.environment.background;
    frp.backgroundAlpha = scene_.environment.backgroundAlpha;
    frp.frameDuration = 1.0f;
    if (auto* core = dynamic_cast<StandaloneCore*>(GetCOREInterface()))
        core->setBackground(frp.background);

    FrameScanline seen;
    int ok = renderer_.Render(t, &bitmap, frp, nullptr, options_.progress, nullptr);
    result.ok = ok != 0;
    result.camera = seen.camera;
    result.instanceNames = std::move(seen.instanceNames);
    auto* scanline = dynamic_cast<ScanlineRenderer*>(&renderer_);
    if (!scanline)
        scanline = seen.scanline;
    if (scanline) {
        result.stats = scanline->stats();
        result.warnings = scanline->frameWarnings();
        result.cancelled = scanline->stats().cancelled;
    }
    if (!result.ok && !result.cancelled)
        result.error = result.warnings.empty() ? "render: the frame failed" : result.warnings.back();
    return result;
}

void RenderSession::close()
{
    if (open_)
        renderer_.Close(nullptr, options_.progress);
    open_ = false;
}

RenderJobResult renderScanline(Scene& scene, Bitmap& bitmap, const RenderJobOptions& options)
{
    ScanlineRenderer renderer;
    RenderSession session(scene, renderer, options);
    RenderJobResult result;
    if (!session.open(result.error))
        return result;
    return session.renderFrame(options.time, bitmap);
}

}  // namespace standalone
