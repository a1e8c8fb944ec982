#include "renderer/vmlRenderer.h"

#include "host/ClassDesc2.h"
#include "host/IParamBlock2.h"
#include "host/Interface.h"
#include "host/MemoryStatus.h"
#include "host/Notify.h"
#include "host/RenderElement.h"
#include "host/Texmap.h"
#include "renderer/CrayonStrokeRenderElement.h"
#include "renderer/RenderBaseDlgProc.h"
#include "renderer/RenderParamDlgProc.h"
#include "renderer/RenderVersionDlgProc.h"
#include "renderer/RendererMessages.h"
#include "renderer/vmlRendererParamBlocks.h"
#include "resources/StringIds.h"
#include "shell/StringLookup.h"

#include <array>
#include <memory>

namespace vml {

namespace {

// The render elements the renderer accepts in the host's list.
constexpr std::array<Class_ID, 3> compatibleElementClasses = {
    lineFxRenderElementClassId,
    Class_ID(0x54022254, 0x03200624),
    Class_ID(0x54022257, 0x08140726),
};

// Sub-animatable names of the four references.
constexpr std::array<int, vmlRenderer::refCount> subAnimNameIds = {
    strings::rendererSettings, strings::rendererVersion, strings::rendererParameters,
    strings::bleedStrengthMap};

ParamBlockDesc2& (*const blockDescs[3])() = {vmlRendererParamsBlock, vmlRendererVersionBlock,
                                             vmlRendererSummaryBlock};

}  // namespace

vmlRenderer::vmlRenderer(bool fresh) : sampleGrid_(this), nodeRecords_(this), strokes_(this)
{
    passState_.setMemoryHooks(this);
    fullCanvas_.setAllocationObserver(this);
    lightCanvas_.setAllocationObserver(this);
    editorCanvas_.setAllocationObserver(this);
    Interface* core = GetCOREInterface();
    if (fresh && core)
        innerRenderer_.reset(core->CreateDefaultScanlineRenderer());

    // The class descriptor builds the blocks once the registry has attached them; a renderer made
    // before that builds the same blocks itself.
    if (ClassDesc2* cd = vmlRendererParamsBlock().GetClassDesc()) {
        cd->MakeAutoParamBlocks(this);
    } else {
        for (auto desc : blockDescs) {
            ParamBlockDesc2& d = desc();
            ReplaceReference(d.RefNo(), adopt(std::make_unique<IParamBlock2>(&d, this)));
        }
    }
    makeStrokeElement();
    registerNodeNotifications();
}

vmlRenderer::~vmlRenderer()
{
    if (settingsRollout_)
        settingsRollout_->close();
    if (versionRollout_)
        versionRollout_->close();
    if (summaryRollout_)
        summaryRollout_->close();
    if (isOpen_)
        releaseOpenState();
    unregisterNodeNotifications();
    if (currentRenderer == this)
        currentRenderer = nullptr;
    if (lastRenderer == this)
        lastRenderer = nullptr;
    if (strokeElement_) {
        if (PBBitmap* holder = strokeElement_->GetPBBitmap())
            holder->DeleteBitmap();
        strokeElement_->DeleteThis();
        strokeElement_ = nullptr;
    }
    brushCache_.release();
}

void vmlRenderer::makeStrokeElement()
{
    Interface* core = GetCOREInterface();
    ReferenceTarget* made =
        core ? core->CreateInstance(RENDER_ELEMENT_CLASS_ID, crayonStrokeRenderElementClassId) : nullptr;
    strokeElement_ = dynamic_cast<IRenderElement*>(made);
    if (!strokeElement_) {
        if (made)
            made->DeleteThis();
        return;
    }
    if (!strokeElement_->GetPBBitmap()) {
        strokeHolder_ = std::make_unique<PBBitmap>();
        strokeElement_->SetPBBitmap(strokeHolder_.get());
    }
}

void vmlRenderer::GetClassName(std::string& s)
{
    const char* name = getString(strings::rendererClass);
    s = name ? name : "";
}

ReferenceTarget* vmlRenderer::GetReference(int i)
{
    if (i >= 0 && i < 3)
        return pblocks_[i];
    return i == blurstrMapRef ? blurstrMap_ : nullptr;
}

void vmlRenderer::SetReference(int i, ReferenceTarget* target)
{
    if (i >= 0 && i < 3)
        pblocks_[i] = dynamic_cast<IParamBlock2*>(target);
    else if (i == blurstrMapRef)
        blurstrMap_ = dynamic_cast<Texmap*>(target);
}

RefResult vmlRenderer::NotifyRefChanged(const Interval&, ReferenceTarget*, PartID&, RefMessage, BOOL)
{
    return REF_SUCCEED;
}

IParamBlock2* vmlRenderer::GetParamBlock(int i) { return i >= 0 && i < 3 ? pblocks_[i] : nullptr; }

std::string vmlRenderer::SubAnimName(int i) const
{
    if (i < 0 || i >= refCount)
        return {};
    const char* name = getString(subAnimNameIds[static_cast<std::size_t>(i)]);
    return name ? name : "";
}

bool vmlRenderer::IsCompatible(IRenderElement* element)
{
    if (!element)
        return false;
    const Class_ID id = element->ClassID();
    for (const Class_ID& c : compatibleElementClasses) {
        if (c == id)
            return true;
    }
    return false;
}

bool vmlRenderer::ApplyRenderEffects(TimeValue t, Bitmap* bitmap, bool updateDisplay)
{
    return innerRenderer_ ? innerRenderer_->ApplyRenderEffects(t, bitmap, updateDisplay) : false;
}

void vmlRenderer::ResetParams()
{
    if (innerRenderer_)
        innerRenderer_->ResetParams();
    if (IParamBlock2* block = paramBlock())
        block->ResetAll();
}

int vmlRenderer::GetAAFilterSupport() { return innerRenderer_ ? innerRenderer_->GetAAFilterSupport() : 0; }

bool vmlRenderer::inMtlEdit() const
{
    return rendParams_ ? rendParams_->inMtlEdit != FALSE : lastOpenInMtlEdit_;
}

void vmlRenderer::readSettings() { settings_ = readRendererSettings(paramBlock(), lastOpenInMtlEdit_); }

ReferenceTarget* vmlRenderer::Clone()
{
    auto copy = std::make_unique<vmlRenderer>(false);
    for (int i = 0; i < 3; ++i) {
        if (!pblocks_[i])
            continue;
        auto* block = static_cast<IParamBlock2*>(pblocks_[i]->Clone());
        block->SetOwner(copy.get());
        IParamBlock2* replaced = copy->pblocks_[i];
        copy->ReplaceReference(i, copy->adopt(std::unique_ptr<IParamBlock2>(block)));
        if (replaced)
            copy->releaseOwned(replaced);
    }
    if (blurstrMap_) {
        // A map that cannot be copied is shared, as the scene's other users share it.
        ReferenceTarget* map = blurstrMap_->Clone();
        copy->ReplaceReference(blurstrMapRef, map ? copy->adoptOwned(std::unique_ptr<ReferenceTarget>(map))
                                                  : static_cast<ReferenceTarget*>(blurstrMap_));
    }
    if (innerRenderer_) {
        ReferenceTarget* inner = innerRenderer_->Clone();
        if (auto* renderer = dynamic_cast<Renderer*>(inner)) {
            copy->innerRenderer_.reset(renderer);
        } else if (inner) {
            inner->DeleteThis();
        }
    }
    if (!copy->innerRenderer_) {
        if (Interface* core = GetCOREInterface())
            copy->innerRenderer_.reset(core->CreateDefaultScanlineRenderer());
    }
    return copy.release();
}

IOResult vmlRenderer::Save(ISave* isave)
{
    // Chunks 0x121-0x123 carry the inner renderer's antialiasing filter; the host's scanline
    // renderer has none, so only its own data is written.
    isave->BeginChunk(innerRendererChunk);
    const IOResult res = innerRenderer_ ? innerRenderer_->Save(isave) : IO_OK;
    isave->EndChunk();
    return res;
}

IOResult vmlRenderer::Load(ILoad* iload)
{
    // Whatever happens, a loaded renderer's clipboard cannot be pasted.
    clipboardUsable_ = false;
    auto ensureInner = [this] {
        if (!innerRenderer_) {
            if (Interface* core = GetCOREInterface())
                innerRenderer_.reset(core->CreateDefaultScanlineRenderer());
        }
    };
    IOResult res;
    while ((res = iload->OpenChunk()) == IO_OK) {
        IOResult chunk = IO_OK;
        switch (iload->CurChunkID()) {
        case innerRendererChunk:
            ensureInner();
            if (innerRenderer_)
                chunk = innerRenderer_->Load(iload);
            break;
        case filterClassChunk: {
            ensureInner();
            // No filter of the saved class can be installed in this host: the class is read and
            // dropped, and the filter's data and parameters below are skipped.
            ULONG partA = 0, partB = 0;
            chunk = readValue(iload, partA);
            if (chunk == IO_OK)
                chunk = readValue(iload, partB);
            break;
        }
        default: break;
        }
        if (chunk != IO_OK)
            return chunk;
        if (iload->CloseChunk() != IO_OK)
            return IO_ERROR;
    }
    return res == IO_END ? IO_OK : res;
}

vmlRenderer* vmlRenderer::activePainter()
{
    Interface* core = GetCOREInterface();
    vmlRenderer* r =
        lastRenderer && core && core->GetCurrentRenderer() == lastRenderer ? lastRenderer : currentRenderer;
    lastRenderer = r;
    if (!r)
        return nullptr;
    r->canvas_ = r->settings_.saveMemory ? static_cast<vmlRasterBase*>(&r->lightCanvas_) : &r->fullCanvas_;
    if (!r->canvas_->IsAllocated()) {
        lastRenderer = nullptr;
        return nullptr;
    }
    return r;
}

void vmlRenderer::checkLowMemory()
{
    // The system is asked only while the warning can still be shown.
    if (memoryWarningArmed.load(std::memory_order_relaxed))
        checkLowMemoryWith(GetAvailablePhysicalMemory());
}

void vmlRenderer::checkLowMemoryWith(std::uint64_t availableBytes)
{
    if (availableBytes >= lowMemoryThreshold)
        return;
    // Shading threads may get here together: one of them shows it.
    if (memoryWarningArmed.exchange(false))
        showRendererMessage(strings::notEnoughMemoryWarning);
}

bool vmlRenderer::refuseAllocation(AllocationSite site)
{
    AllocationFaults* faults = faults_.load(std::memory_order_acquire);
    return faults && faults->fail(site);
}

void vmlRenderer::beforeAllocation()
{
    checkAllocation(this, AllocationSite::canvas);
    checkLowMemory();
}

void vmlRenderer::allocationProgress(int row, int rowCount) { reportProgress(row, rowCount); }

}  // namespace vml
