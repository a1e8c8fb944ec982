#pragma once
// A renderer: opened once for a sequence, asked to render frames into bitmaps, closed.

#include "host/ReferenceTarget.h"
#include "host/RendParams.h"

class Bitmap;
class INode;

// A render dialog of the host (render setup, render progress). This host's pages go to the dialog
// service (DialogService.h), so it passes none.
class IRendParams;

// A renderer's rollouts in a render dialog; deleting it closes them.
class RendParamDlg {
public:
    virtual ~RendParamDlg() = default;
    // The dialog's OK: values are already in the blocks, as the controls change them.
    virtual void AcceptParams() {}
};

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
    // The renderer's rollouts: in the render setup dialog, or with prog in the render progress
    // dialog. nullptr when it has none or the host shows no dialogs. The caller deletes it.
    virtual RendParamDlg* CreateParamDialog(IRendParams* ir, BOOL prog = FALSE)
    {
        (void)ir, (void)prog;
        return nullptr;
    }
    virtual int GetAAFilterSupport() { return 0; }
};
