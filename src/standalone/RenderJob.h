#pragma once
// Renders a scene's frames with any renderer, without the CLI: the scene's camera, render size and
// antialiasing, environment (background, its alpha, ambient light, map), effects and render
// elements. A session opens the renderer once, renders any number of frames, and closes it.

#include "host/Bitmap.h"
#include "host/RendParams.h"
#include "standalone/EffectList.h"
#include "standalone/FrameCamera.h"
#include "standalone/RenderElementManager.h"
#include "standalone/scanline/ScanlineStats.h"

#include <string>
#include <vector>

class Renderer;

namespace standalone {

class Scene;

struct RenderJobOptions {
    TimeValue time = 0;
    int threads = 0;  // 0: every core (scanline renderers only)
    RendProgressCallback* progress = nullptr;
    bool applyEffects = true;
    // A material-editor render: RendParams::inMtlEdit, which the scanline renderer passes on to
    // the frame's global context and every shading context.
    bool inMtlEdit = false;
    // G-buffer channels for the output bitmap besides the effects' (RendParams::gbufferChannels):
    // a caller that only keeps the image asks for none and saves their memory.
    ULONG gbufferChannels = BMM_CHAN_RENDER_DEFAULT;
};

struct RenderJobResult {
    bool ok = false;
    bool cancelled = false;
    std::string error;                  // why the frame did not render
    std::vector<std::string> warnings;  // nodes left out and other problems
    ScanlineStats stats;                // of the scanline renderer that rendered the frame, if any
    FrameCamera camera;                 // the frame's camera, from its global context
    // The rendered nodes' names by render id (the node render id G-buffer channel).
    std::vector<std::string> instanceNames;
};

class RenderSession {
public:
    // The scene and renderer must outlive the session.
    RenderSession(Scene& scene, Renderer& renderer, const RenderJobOptions& options);
    ~RenderSession();
    RenderSession(const RenderSession&) = delete;
    RenderSession& operator=(const RenderSession&) = delete;

    // False with error set when the scene cannot be rendered or the renderer refuses to open.
    bool open(std::string& error);
    // Renders the frame at time t into bitmap, (re)allocated to the scene's render size.
    RenderJobResult renderFrame(TimeValue t, Bitmap& bitmap);
    void close();

    // The render elements of the scene, with the bitmaps of the last frame.
    RenderElementManager& elements() { return elements_; }

private:
    Scene& scene_;
    Renderer& renderer_;
    RenderJobOptions options_;
    EffectList effects_;
    RenderElementManager elements_;
    RendParams rp_;
    bool open_ = false;
};

// One frame with a scanline renderer of its own.
RenderJobResult renderScanline(Scene& scene, Bitmap& bitmap, const RenderJobOptions& options = {});

}  // namespace standalone
