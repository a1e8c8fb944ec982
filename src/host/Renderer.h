#pragma once
// A renderer: opened once for a sequence, asked to render frames into bitmaps, closed.

#include "host/ReferenceTarget.h"
#include "host/RendParams.h"

class Bitmap;
class INode;

class Renderer : public ReferenceTarget {
public:
    SClass_ID SuperClassID() override { return RENDERER_CLASS_ID; }

    // Non-zero on success. scene: the root node; viewNode: the camera node, or nullptr when the
    // view comes from viewPar.
    virtual int Open(INode* scene, INode* viewNode, ViewParams* viewPar, RendParams& rp, HWND hwnd,
                     RendProgressCallback* prog) = 0;
    // Renders the frame at time t into tobm (allocated to the output size by the caller).
    // Non-zero on success; 0 on failure or cancel.
    virtual int Render(TimeValue t, Bitmap* tobm, FrameRendParams& frp, HWND hwnd, RendProgressCallback* prog,
                       ViewParams* viewPar) = 0;
    virtual void Close(HWND hwnd, RendProgressCallback* prog) = 0;
    // Applies the render effects of the last open to bitmap again; false when not supported.
    virtual bool ApplyRenderEffects(TimeValue t, Bitmap* bitmap, bool updateDisplay)
    {
        (void)t, (void)bitmap, (void)updateDisplay;
        return false;
    }
    virtual void ResetParams() {}
    virtual int GetAAFilterSupport() { return 0; }
};
