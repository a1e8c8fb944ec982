// vmlRenderer: one frame. The pass loop around the inner render, the preparation of each pass,
// the frame hooks and the reporting of memory failures.

#include "host/Bitmap.h"
#include "host/Interface.h"
#include "host/Notify.h"
#include "host/RenderElement.h"
#include "host/RenderGlobalContext.h"
#include "host/Texmap.h"
#include "renderer/RendererMessages.h"
#include "renderer/vmlRenderer.h"
#include "resources/StringIds.h"
#include "shell/StringLookup.h"

#include <cstdint>
#include <exception>
#include <new>
#include <stdexcept>

namespace vml {

namespace {

// Whole frames since time 0 plus one half; 64-bit so long animations do not overflow.
float frameNumberAt(TimeValue t, int frameRate)
{
    const std::int64_t frames = static_cast<std::int64_t>(frameRate) * t / TIME_TICKSPERSEC;
    return static_cast<float>(frames) + 0.5f;
}

}  // namespace

int vmlRenderer::Render(TimeValue t, Bitmap* tobm, FrameRendParams& frp, HWND hwnd,
                        RendProgressCallback* prog, ViewParams* viewPar)
{
    if (!isOpen_ || !rendParams_ || !tobm || !innerRenderer_)
        return 0;
    // As the inner renderer does, a bitmap without pixels gets the render size.
    if (!tobm->HasStorage())
        tobm->Allocate(rendParams_->width, rendParams_->height);
    Interface* core = GetCOREInterface();
    outputBitmap_ = tobm;
    passState_.setUp(settings_.multipassEnable, paramBlock());
    passStrokes_.clear();
    // A failure or cancel of the last frame does not stop this one.
    abortRequested_ = false;
    int result = 0;

    for (int p = 0;; ++p) {
        while (p < passState_.passCount() && !passState_.hasContent(p))
            ++p;
        if (p >= passState_.passCount() || abortRequested_) {
            if (abortRequested_)
                result = 0;
            break;
        }
        passState_.setPass(p);
        currentRenderer = this;
        lastRenderer = this;
        width_ = tobm->Width();
        height_ = tobm->Height();
        progress_ = prog;
        progressAborted_ = false;
        hookFailed_ = false;
        canvasLoaded_ = false;
        frameTime_ = t;
        frameNumber_ = frameNumberAt(t, core ? core->GetFrameRate() : 30);
        outOfMemory_.store(false);
        const bool crop = rendParams_->rendType == RENDTYPE_REGIONCROP;
        cropX_ = crop ? frp.regxmin : 0;
        cropY_ = crop ? frp.regymin : 0;
        frameParams_ = &frp;
        setTitle(strings::progressRendering);

        bool prepared = preparePass();
        if (prepared && strokeElement_ && settings_.penStrokeEnable)
            prepared = prepareStrokeElementBitmap();
        if (prepared) {
            passState_.beginPass(outputBitmap_, canvas_);
            sampleGrid_.clear();
            result = innerRenderer_->Render(t, tobm, frp, hwnd, prog, viewPar);
            if (hookFailed_)
                result = 0;
            // A frame that ran short of memory says so, however the inner render ended.
            if (!isOutOfMemory() && (result == 0 || cancelled())) {
                result = 0;
                break;
            }
        }
        if (isOutOfMemory())
            result = 0;
        if (!prepared || isOutOfMemory()) {
            // Also when the first pass could not be prepared: a frame never fails for want of
            // memory without saying so.
            result = 0;
            reportMemoryFailure();
            abortRequested_ = true;
        }
    }
    endFrameState();
    return result;
}

void vmlRenderer::endFrameState()
{
    passState_.endFrame();
    nodeRecords_.endFrame();
    currentRenderer = nullptr;
    globalContext_ = nullptr;
    progress_ = nullptr;
}

bool vmlRenderer::preparePass()
{
    bool ok = strokes_.reset();
    if (settings_.brushCacheEnable) {
        try {
            brushCache_.prepare(settings_.brushCacheSize, settings_.brushCacheNumber);
        } catch (const std::bad_alloc&) {
            setOutOfMemory();
            ok = false;
        } catch (const std::invalid_argument&) {
            ok = false;
        }
    }
    ok = rowRecords_.reset(height_) && ok;
    try {
        ok = canvas_->Init(outputBitmap_) && ok;
    } catch (const std::bad_alloc&) {
        setOutOfMemory();
        ok = false;
    }
    ok = sampleGrid_.setup(width_, height_) && ok;
    if (blurstrMap_) {
        Interval valid = FOREVER;
        blurstrMap_->Update(frameTime_, valid);
        // A map file that cannot be read is the map's own failure (the host reports it), not a
        // shortage of memory: the map is then evaluated without it.
        blurstrMap_->LoadMapFiles(frameTime_);
    }
    return ok;
}

bool vmlRenderer::prepareStrokeElementBitmap()
{
    elementManager_.extra = strokeElement_;
    PBBitmap* holder = strokeElement_->GetPBBitmap();
    if (!holder) {
        if (!strokeHolder_)
            strokeHolder_ = std::make_unique<PBBitmap>();
        strokeElement_->SetPBBitmap(strokeHolder_.get());
        holder = strokeHolder_.get();
    }
    if (Bitmap* bm = holder->bm();
        bm && (bm->Width() != outputBitmap_->Width() || bm->Height() != outputBitmap_->Height()))
        holder->DeleteBitmap();
    holder->bi.width = outputBitmap_->Width();
    holder->bi.height = outputBitmap_->Height();
    if (!holder->bm()) {
        try {
            if (!holder->CreateBitmap())
                return false;
        } catch (const std::bad_alloc&) {
            setOutOfMemory();
            return false;
        }
        strokeBitmapMade_ = true;
    }
    return true;
}

void vmlRenderer::reportMemoryFailure()
{
    Interface* core = GetCOREInterface();
    if (!core || core->GetQuietMode() || canvas_ != &fullCanvas_)
        return;
    showRendererMessage(strings::notEnoughMemoryStop);
    if (strokeBitmapMade_ && strokeElement_) {
        if (PBBitmap* holder = strokeElement_->GetPBBitmap())
            holder->DeleteBitmap();
        strokeBitmapMade_ = false;
    }
    canvas_->Free();
}

void vmlRenderer::onPreFrame(void* param, NotifyInfo* info)
{
    auto* r = static_cast<vmlRenderer*>(param);
    auto* gc = info ? static_cast<RenderGlobalContext*>(info->callParam) : nullptr;
    // Only the frame of this renderer's own inner render.
    if (!r || currentRenderer != r || !gc || (gc->renderer && gc->renderer != r->innerRenderer_.get()))
        return;
    // Nothing may leave a notification: a failure is the frame's.
    try {
        r->preFrame(gc);
    } catch (const std::bad_alloc&) {
        r->setOutOfMemory();
    } catch (const std::exception&) {
        r->hookFailed_ = true;
    }
}

void vmlRenderer::onPostFrame(void* param, NotifyInfo* info)
{
    auto* r = static_cast<vmlRenderer*>(param);
    auto* gc = info ? static_cast<RenderGlobalContext*>(info->callParam) : nullptr;
    if (!r || currentRenderer != r || (gc && gc->renderer && gc->renderer != r->innerRenderer_.get()))
        return;
    try {
        r->postFrame();
    } catch (const std::bad_alloc&) {
        r->setOutOfMemory();
    } catch (const std::exception&) {
        r->hookFailed_ = true;
    }
}

void vmlRenderer::preFrame(RenderGlobalContext* gc)
{
    if (passState_.pass() == 0) {
        globalContext_ = gc;
        nodeRecords_.update(*gc);
        passState_.setGlobalContext(gc);
    }
    passState_.preFrame();
}

void vmlRenderer::postFrame()
{
    memoryWarningArmed.store(false);
    if (!passState_.postFrame(outputBitmap_))
        setOutOfMemory();
    // The shading threads are done: their strokes join the list.
    strokes_.collect();
    paint();
    passStrokes_.push_back({passState_.pass(), strokes_.strokeCount()});
    compositePenStrokes();
    // Without the frame loaded the canvas holds nothing of it.
    if (canvasLoaded_ && !cancelled())
        canvas_->Store();
}

bool vmlRenderer::cancelled()
{
    if (progressAborted_)
        return true;
    Interface* core = GetCOREInterface();
    return core && core->GetCancel();
}

void vmlRenderer::setTitle(int stringId)
{
    if (!progress_)
        return;
    const char* title = getString(stringId);
    progress_->SetTitle(title ? title : "");
}

void vmlRenderer::reportProgress(int done, int total)
{
    if (progress_ && progress_->Progress(done, total) == RENDPROG_ABORT)
        progressAborted_ = true;
}

}  // namespace vml
