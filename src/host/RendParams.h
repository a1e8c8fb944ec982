#pragma once
// Parameters of a render as the host hands them to a renderer: the render as a whole
// (RendParams), one frame (FrameRendParams) and the view (ViewParams); and the progress callback.

#include "host/Color.h"
#include "host/GBufferChannels.h"
#include "host/Matrix3.h"
#include "host/MaxTypes.h"
#include "host/Point2.h"

class Effect;
class IRenderElementMgr;
class Texmap;

enum RendType {
    RENDTYPE_NORMAL,
    RENDTYPE_REGION,
    RENDTYPE_BLOWUP,
    RENDTYPE_SELECT,
    RENDTYPE_REGIONCROP,
};

// RendParams::Execute commands.
constexpr int RENDPARAMS_CMD_IS_TO_RENDER_ELEMENTS_ONLY = 200;  // answers non-zero while the
                                                                // host renders only render elements

class RendParams {
public:
    virtual ~RendParams() = default;

    RendType rendType = RENDTYPE_NORMAL;
    BOOL isNetRender = FALSE;
    BOOL fieldRender = FALSE;
    BOOL inMtlEdit = FALSE;
    BOOL antialias = TRUE;
    int width = 0, height = 0;
    float devAspect = 1.0f;
    TimeValue frameDur = TIME_TICKSPERSEC / 30;
    Texmap* envMap = nullptr;
    Effect* effect = nullptr;  // the render effects, applied after each frame
    // The G-buffer channels the host wants on the output bitmap; the renderer adds those the
    // effect asks for. A host that only keeps the image asks for none (BMM_CHAN_NONE): every
    // channel costs memory per pixel for the whole frame.
    ULONG gbufferChannels = BMM_CHAN_RENDER_DEFAULT;

    virtual IRenderElementMgr* GetRenderElementMgr() { return elementMgr_; }
    virtual void SetRenderElementMgr(IRenderElementMgr* mgr) { elementMgr_ = mgr; }
    virtual int Execute(int cmd)
    {
        (void)cmd;
        return 0;
    }

private:
    IRenderElementMgr* elementMgr_ = nullptr;
};

class FrameRendParams {
public:
    Color ambient;
    Color background;
    float backgroundAlpha = 1.0f;  // 0: transparent background (RGB and alpha 0 where nothing is drawn)
    Color globalLightLevel{1.0f, 1.0f, 1.0f};
    float frameDuration = 1.0f;
    // Region of a region render (inclusive pixel bounds).
    int regxmin = 0, regxmax = 0, regymin = 0, regymax = 0;
    Point2 blowupCenter;
    Point2 blowupFactor{1.0f, 1.0f};
};

class ViewParams {
public:
    Matrix3 affineTM;  // world to camera
    int projType = 0;  // PROJ_PERSPECTIVE or PROJ_PARALLEL
    float hither = 0.001f, yon = 1.0e30f;
    float zoom = 1.0f;      // parallel projection: 400 * zoom world units across the image
    float fov = 0.785398f;  // perspective: horizontal field of view, radians
};

constexpr int RENDPROG_CONTINUE = 1;
constexpr int RENDPROG_ABORT = 0;

class RendProgressCallback {
public:
    virtual ~RendProgressCallback() = default;
    virtual void SetTitle(const char* title) = 0;
    // Answers RENDPROG_ABORT when the user asked to stop.
    virtual int Progress(int done, int total) = 0;
};
