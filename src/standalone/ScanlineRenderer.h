#pragma once
// The standalone host's scanline renderer: an A-buffer renderer with 4 x 4 sub-pixel coverage,
// lit and shadowed by the scene's lights, shading through the host's material interface.
//
// Use: Open(scene root, camera node or nullptr, view params, render params) once; Render(t, bitmap,
// frame params) per frame; Close. A frame gathers the render instances, broadcasts
// NOTIFY_PRE_RENDERFRAME with its global context, shades, broadcasts NOTIFY_POST_RENDERFRAME and
// applies the render effect. Rows are shaded in parallel, each row by one thread, left to right;
// the image does not depend on the thread count. The render parameters are copied at Open (with
// their render-element manager), and the frame's instances live until the next Render or Close.

#include "host/GBufferChannels.h"
#include "host/Renderer.h"
#include "standalone/scanline/ScanlineStats.h"

#include <memory>
#include <set>
#include <string>
#include <vector>

class Mtl;
class ReferenceTarget;

namespace standalone {

class StandaloneCore;

class ScanlineRenderer : public Renderer {
public:
    // Rows rasterised and shaded between two progress reports and cancel checks.
    static constexpr int rowsPerBatch = 16;

    ScanlineRenderer();
    ~ScanlineRenderer() override;

    int Open(INode* scene, INode* viewNode, ViewParams* viewPar, RendParams& rp, HWND hwnd,
             RendProgressCallback* prog) override;
    // tobm gets the image (allocated to the render size when it has no storage) and the G-buffer
    // channels of RendParams::gbufferChannels (by default Z, MTL_ID, NODE_RENDER_ID, NORMAL,
    // COVERAGE, UV, VELOC) plus the effect's. Returns 1,
    // or 0 when not open, on a bad bitmap, on cancel (no effect is applied then) or on a failure
    // reported by frameWarnings().
    int Render(TimeValue t, Bitmap* tobm, FrameRendParams& frp, HWND hwnd, RendProgressCallback* prog,
               ViewParams* viewPar) override;
    void Close(HWND hwnd, RendProgressCallback* prog) override;
    // Applies the render effect again with the last frame's global context.
    bool ApplyRenderEffects(TimeValue t, Bitmap* bitmap, bool updateDisplay) override;

    Class_ID ClassID() override { return Class_ID(0x5CA11E00, 0x00000001); }
    void GetClassName(std::string& s) override { s = "Scanline"; }

    // Worker threads for shading; 0 (the default): the core's shading threads, else every core.
    void setThreadCount(int n) { threads_ = n > 0 ? n : 0; }
    int threadCount() const { return threads_; }
    const ScanlineStats& stats() const { return stats_; }
    // Problems of the last frame: nodes left out for bad data, failures. Each names its node.
    const std::vector<std::string>& frameWarnings() const { return warnings_; }

    // G-buffer channels a frame creates on the output bitmap unless the render parameters ask
    // for others (RendParams::gbufferChannels); the effect's are added either way.
    static constexpr ULONG defaultChannels = BMM_CHAN_RENDER_DEFAULT;

private:
    struct Frame;
    int renderFrame(TimeValue t, Bitmap& bm, FrameRendParams& frp, RendProgressCallback* prog,
                    ViewParams* viewPar);
    void prepareMaterials(TimeValue t);
    bool shadeRows(Frame& frame, Bitmap& bm, RendProgressCallback* prog);

    bool open_ = false;
    INode* scene_ = nullptr;
    INode* viewNode_ = nullptr;
    bool hasViewParams_ = false;
    ViewParams viewParams_;
    RendParams rp_;
    std::unique_ptr<Mtl> defaultMtl_;
    std::set<ReferenceTarget*> mapsLoaded_;
    std::unique_ptr<Frame> frame_;
    int threads_ = 0;
    ScanlineStats stats_;
    std::vector<std::string> warnings_;
};

// Makes StandaloneCore::CreateDefaultScanlineRenderer answer new ScanlineRenderers.
void installScanlineRenderer(StandaloneCore& core);

}  // namespace standalone
