// vmlRenderer: Open and Close, and the notifications registered between them.

#include "host/Interface.h"
#include "host/Notify.h"
#include "host/RenderElement.h"
#include "renderer/RendererMessages.h"
#include "renderer/vmlRenderer.h"
#include "resources/StringIds.h"

namespace vml {

int vmlRenderer::Open(INode* scene, INode* viewNode, ViewParams* viewPar, RendParams& rp, HWND hwnd,
                      RendProgressCallback* prog)
{
    if (rp.fieldRender) {
        if (!rp.isNetRender)
            showRendererMessage(strings::fieldRenderingUnsupported);
        return 0;
    }
    // Opened twice without Close: the host's parameters are given back before being taken again.
    if (isOpen_)
        releaseOpenState();
    Interface* core = GetCOREInterface();
    if (core)
        core->DisableSceneRedraw();

    lastOpenInMtlEdit_ = rp.inMtlEdit != FALSE;
    readSettings();

    savedElementManager_ = nullptr;
    elementManager_.wrapped = nullptr;
    elementManager_.extra = nullptr;
    if (rp.Execute(RENDPARAMS_CMD_IS_TO_RENDER_ELEMENTS_ONLY) == 0 && rp.GetRenderElementMgr() &&
        settings_.penStrokeEnable) {
        savedElementManager_ = rp.GetRenderElementMgr();
        elementManager_.wrapped = savedElementManager_;
        rp.SetRenderElementMgr(&elementManager_);
    }

    registerFrameHooks();
    abortRequested_ = false;
    rendParams_ = &rp;
    globalContext_ = nullptr;
    memoryWarningArmed.store(false);

    if (lastOpenInMtlEdit_) {
        canvas_ = &editorCanvas_;
    } else if (settings_.saveMemory) {
        fullCanvas_.Free();
        canvas_ = &lightCanvas_;
    } else {
        lightCanvas_.Free();
        canvas_ = &fullCanvas_;
    }
    if (!lastOpenInMtlEdit_)
        memoryWarningArmed.store(core && !core->GetQuietMode());

    DummyFx& wrapper = passState_.effectWrapper();
    wrapper.setEffect(rp.effect);
    wrapper.setEnabled(true);
    rp.effect = &wrapper;

    passState_.reset();
    purgeNodes(true);
    isOpen_ = true;

    const int result = innerRenderer_ ? innerRenderer_->Open(scene, viewNode, viewPar, rp, hwnd, prog) : 0;
    // The host does not close a renderer that failed to open: its parameters are given back now.
    if (!result)
        releaseOpenState();
    return result;
}

void vmlRenderer::Close(HWND hwnd, RendProgressCallback* prog)
{
    if (isOpen_)
        releaseOpenState();
    if (innerRenderer_)
        innerRenderer_->Close(hwnd, prog);
}

void vmlRenderer::releaseOpenState()
{
    memoryWarningArmed.store(false);
    if (settings_.penStrokeEnable) {
        elementManager_.extra = nullptr;
        if (strokeElement_) {
            if (PBBitmap* holder = strokeElement_->GetPBBitmap())
                holder->DeleteBitmap();
        }
        strokeBitmapMade_ = false;
    }
    if (Interface* core = GetCOREInterface())
        core->EnableSceneRedraw();
    unregisterFrameHooks();

    nodeRecords_.release();
    sampleGrid_.release();
    strokes_.release();

    if (rendParams_) {
        DummyFx& wrapper = passState_.effectWrapper();
        if (rendParams_->effect == &wrapper)
            rendParams_->effect = wrapper.effect();
        // The host's own manager goes back too, or its parameters would keep pointing into this
        // renderer.
        if (savedElementManager_ && rendParams_->GetRenderElementMgr() == &elementManager_)
            rendParams_->SetRenderElementMgr(savedElementManager_);
    }
    passState_.effectWrapper().setEffect(nullptr);
    passState_.freeGBufferCopy();
    passState_.reset();
    savedElementManager_ = nullptr;
    elementManager_.wrapped = nullptr;
    elementManager_.extra = nullptr;
    rendParams_ = nullptr;
    globalContext_ = nullptr;
    isOpen_ = false;
}

void vmlRenderer::registerFrameHooks()
{
    RegisterNotification(onPreFrame, this, NOTIFY_PRE_RENDERFRAME);
    RegisterNotification(onPostFrame, this, NOTIFY_POST_RENDERFRAME);
    hooksRegistered_ = true;
}

void vmlRenderer::unregisterFrameHooks()
{
    UnRegisterNotification(onPreFrame, this, NOTIFY_PRE_RENDERFRAME);
    UnRegisterNotification(onPostFrame, this, NOTIFY_POST_RENDERFRAME);
    hooksRegistered_ = false;
}

void vmlRenderer::registerNodeNotifications()
{
    RegisterNotification(onNodeDeleted, this, NOTIFY_SCENE_PRE_DELETED_NODE);
    RegisterNotification(onSelectedNodesDeleted, this, NOTIFY_SEL_NODES_PRE_DELETE);
    RegisterNotification(onNodeRenamed, this, NOTIFY_NODE_RENAMED);
    RegisterNotification(onNodeLinked, this, NOTIFY_NODE_LINKED);
    RegisterNotification(onNodeUnlinked, this, NOTIFY_NODE_UNLINKED);
}

void vmlRenderer::unregisterNodeNotifications()
{
    UnRegisterNotification(onNodeDeleted, this, NOTIFY_SCENE_PRE_DELETED_NODE);
    UnRegisterNotification(onSelectedNodesDeleted, this, NOTIFY_SEL_NODES_PRE_DELETE);
    UnRegisterNotification(onNodeRenamed, this, NOTIFY_NODE_RENAMED);
    UnRegisterNotification(onNodeLinked, this, NOTIFY_NODE_LINKED);
    UnRegisterNotification(onNodeUnlinked, this, NOTIFY_NODE_UNLINKED);
}

}  // namespace vml
