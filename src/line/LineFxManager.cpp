#include "line/LineFxManager.h"

#include "host/Bitmap.h"
#include "host/ClassDesc2.h"
#include "host/GBufferChannels.h"
#include "host/IParamBlock2.h"
#include "host/RenderElement.h"
#include "host/RenderGlobalContext.h"
#include "line/LineAbortProgress.h"
#include "line/LineElementDrawing.h"
#include "line/LineElementType.h"
#include "line/LineFiles.h"
#include "line/LineFrameCanvases.h"
#include "line/LineFxElement.h"
#include "line/LineFxParamBlocks.h"
#include "line/LineRollouts.h"
#include "paint/vmlRasterBase.h"
#include "renderer/LineFxRenderElement.h"
#include "renderer/vmlRenderer.h"
#include "resources/StringIds.h"
#include "shell/StringLookup.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <mutex>
#include <new>
#include <vector>

namespace vml {

namespace {

// What the effect reads of the G-buffer whatever its elements are.
constexpr DWORD baseChannels = BMM_CHAN_Z | BMM_CHAN_MTL_ID | BMM_CHAN_NORMAL;

// The bitmaps of the render's line render elements that have one.
std::vector<Bitmap*> lineElementBitmaps(RenderGlobalContext* gc)
{
    std::vector<Bitmap*> bitmaps;
    IRenderElementMgr* mgr = gc ? gc->GetRenderElementMgr() : nullptr;
    if (!mgr)
        return bitmaps;
    for (int i = 0; i < mgr->NumRenderElements(); ++i) {
        IRenderElement* e = mgr->GetRenderElement(i);
        if (!e || e->ClassID() != lineFxRenderElementClassId)
            continue;
        if (PBBitmap* holder = e->GetPBBitmap(); holder && holder->bm())
            bitmaps.push_back(holder->bm());
    }
    return bitmaps;
}

}  // namespace

LineFxManager::LineFxManager()
{
    const char* name = getString(strings::lineEffectClass);
    SetName(name ? name : "");
    makeBlocks();
}

LineFxManager::~LineFxManager() { DeleteAllRefsFromMe(); }

void LineFxManager::DeleteThis()
{
    DeleteAllRefsFromMe();
    ReferenceTarget::DeleteThis();
}

void LineFxManager::makeBlocks()
{
    if (ClassDesc2* cd = lineFxManagerParamsBlock().GetClassDesc()) {
        cd->MakeAutoParamBlocks(this);
        return;
    }
    for (auto desc : {lineFxManagerParamsBlock, lineFxManagerElementBlock, lineFxManagerPaintBlock,
                      lineFxManagerVersionBlock}) {
        ParamBlockDesc2& d = desc();
        ReplaceReference(d.RefNo(), adopt(std::make_unique<IParamBlock2>(&d, this)));
    }
}

void LineFxManager::GetClassName(std::string& s)
{
    const char* text = getString(strings::lineEffectClass);
    s = text ? text : "";
}

IParamBlock2* LineFxManager::GetParamBlock(int i) { return i >= 0 && i < blockCount ? blocks_[i] : nullptr; }

ReferenceTarget* LineFxManager::GetReference(int i)
{
    if (i >= 0 && i < blockCount)
        return blocks_[i];
    return element(i - firstElementRef);
}

void LineFxManager::SetReference(int i, ReferenceTarget* target)
{
    if (i >= 0 && i < blockCount) {
        IParamBlock2* block = dynamic_cast<IParamBlock2*>(target);
        if (block && !block->GetOwner())
            block->SetOwner(this);
        blocks_[i] = block;
        return;
    }
    const int k = i - firstElementRef;
    if (k < 0 || k >= elementCount())
        return;
    LineFxElement* old = elements_[static_cast<std::size_t>(k)];
    LineFxElement* now = dynamic_cast<LineFxElement*>(target);
    elements_[static_cast<std::size_t>(k)] = now;
    if (now)
        now->setManager(this);
    // An element leaving the effect forgets it, unless it is being destroyed or stays elsewhere.
    if (!old || old == now || indexOf(old) >= 0)
        return;
    if (old == dying_)
        dying_ = nullptr;
    else if (old->manager() == this)
        old->setManager(nullptr);
}

RefResult LineFxManager::NotifyRefChanged(const Interval&, ReferenceTarget* hTarget, PartID&,
                                          RefMessage message, BOOL)
{
    // The host clears the dead target's slots right after this message; the next one ends it.
    dying_ = message == REFMSG_TARGET_DELETED ? hTarget : nullptr;
    runFileNameChange(
        pblock(), hTarget, message, lineFxParam::lineLoadAll, lineFxParam::lineSaveAll,
        [this](const std::string& path) { loadLinesFile(*this, path); },
        [this](const std::string& path) { saveLinesFile(*this, path); });
    if (rollouts_ && message == REFMSG_CHANGE && hTarget == pblock())
        rollouts_->effectChanged();
    return REF_SUCCEED;
}

DWORD LineFxManager::GBufferChannelsRequired(TimeValue t)
{
    DWORD bits = baseChannels;
    for (LineFxElement* e : elements_)
        if (e)
            bits |= e->GBufferChannelsRequired(t);
    return bits;
}

namespace {

// The paint process after the lines are painted: at most this many bleed steps of this strength.
constexpr int lineBleedSteps = 81;
constexpr float lineBleedStrength = 0.2f;

// The canvases of the last frame are kept for the next: fresh frame-sized canvases page-fault
// every few kilobytes, which costs more than clearing them. A frame drawn while another holds
// them makes its own.
std::mutex spareCanvasesLock;
LineFrameCanvases spareCanvases;

struct BorrowedCanvases {
    LineFrameCanvases canvases;

    BorrowedCanvases()
    {
        std::lock_guard lock(spareCanvasesLock);
        std::swap(canvases, spareCanvases);
    }
    ~BorrowedCanvases()
    {
        std::lock_guard lock(spareCanvasesLock);
        if (spareCanvases.edgeMask.capacity() < canvases.edgeMask.capacity())
            std::swap(canvases, spareCanvases);
    }
    BorrowedCanvases(const BorrowedCanvases&) = delete;
    BorrowedCanvases& operator=(const BorrowedCanvases&) = delete;
};

}  // namespace

void LineFxManager::Apply(TimeValue t, Bitmap* bm, RenderGlobalContext* gc, CheckAbortCallback* cb)
{
    if (!bm || !bm->HasStorage() || elements_.empty())
        return;
    // The painting the lines go into: inside a frame its renderer's; after one (the host applying
    // its effects again) the painterly renderer that painted it, while it is the host's renderer.
    // Inside a frame the renderer's own canvas choice stands, which asking activePainter could
    // change (the material editor's canvas).
    vmlRenderer* painter = currentRenderer ? currentRenderer : vmlRenderer::activePainter();
    try {
        applyElements(t, *bm, gc, cb, painter);
    } catch (const std::bad_alloc&) {
        // Whatever ran short, the frame takes the renderer's out-of-memory path.
        if (painter)
            painter->setOutOfMemory();
    }
}

void LineFxManager::applyElements(TimeValue t, Bitmap& bm, RenderGlobalContext* gc, CheckAbortCallback* cb,
                                  vmlRenderer* painter)
{
    BorrowedCanvases borrowed;
    LineFrameCanvases& canvases = borrowed.canvases;
    canvases.memory = painter ? painter->memoryHooks() : nullptr;
    canvases.resize(bm.Width(), bm.Height());
    const std::vector<Bitmap*> targets = lineElementBitmaps(gc);
    const bool lineOut = pblock() && pblock()->GetInt(lineFxParam::lineOutRenderElement, t) != 0;
    LineAbortProgress progress(cb);

    // With the painterly renderer the lines become wet paint in its canvas, which then holds the
    // frame's colour (alpha 0, so only what the lines paint is written back).
    vmlRasterBase* paintCanvas = painter ? painter->canvas() : nullptr;
    if (paintCanvas) {
        paintCanvas->Init(&bm);
        paintCanvas->LoadColour(&bm);
    }

    // A copy: an element's drawing must not see the list change under it.
    const std::vector<LineFxElement*> list = elements_;
    bool painted = false;
    bool fresh = true;  // resize left the canvases clear
    for (auto it = list.rbegin(); it != list.rend(); ++it) {
        if (!*it)
            continue;
        if (!fresh)
            canvases.clear();
        fresh = false;
        // An aborted element stops by itself; the next one asks the callback again.
        drawLineElement(**it, t, bm, gc, canvases, targets, lineOut, &progress, paintCanvas, &painted);
    }
    if (!paintCanvas || !painted)
        return;
    // The paint process: the wet lines bleed until they settle; an abort writes nothing.
    for (int k = 0; k < lineBleedSteps; ++k) {
        if (!paintCanvas->Bleed(lineBleedStrength))
            break;
        if (progress.Progress(k, lineBleedSteps) == RENDPROG_ABORT)
            return;
    }
    paintCanvas->WriteOutput(&bm, targets, lineOut);
}

LineFxElement* LineFxManager::element(int i) const
{
    return i >= 0 && i < elementCount() ? elements_[static_cast<std::size_t>(i)] : nullptr;
}

int LineFxManager::indexOf(const LineFxElement* e) const
{
    if (!e)
        return -1;
    auto it = std::find(elements_.begin(), elements_.end(), e);
    return it == elements_.end() ? -1 : static_cast<int>(it - elements_.begin());
}

void LineFxManager::notifyChanged() { NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE); }

void LineFxManager::insertElement(LineFxElement* e, int index)
{
    if (index < 0 || index > elementCount())
        index = elementCount();
    adopt(std::unique_ptr<LineFxElement>(e));
    elements_.insert(elements_.begin() + index, nullptr);
    ReplaceReference(firstElementRef + index, e);
}

LineFxElement* LineFxManager::addElement(int type, int index)
{
    // A stored type comes from files too: only a known one makes an element.
    if (!isLineElementType(type))
        return nullptr;
    LineFxElement* e = nullptr;
    try {
        auto made = std::make_unique<LineFxElement>();
        made->setType(type);
        made->setDefaultName();
        e = made.get();
        insertElement(made.release(), index);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    notifyChanged();
    return e;
}

bool LineFxManager::removeElement(int i)
{
    if (i < 0 || i >= elementCount())
        return false;
    LineFxElement* e = elements_[static_cast<std::size_t>(i)];
    ReplaceReference(firstElementRef + i, nullptr);
    elements_.erase(elements_.begin() + i);
    if (std::unique_ptr<ReferenceTarget> own = releaseOwned(e))
        own.release()->DeleteThis();
    notifyChanged();
    return true;
}

bool LineFxManager::moveElement(int from, int to)
{
    if (from < 0 || from >= elementCount() || to < 0 || to >= elementCount())
        return false;
    // The same targets stay registered; only their slot numbers change.
    auto first = elements_.begin();
    if (from < to)
        std::rotate(first + from, first + from + 1, first + to + 1);
    else
        std::rotate(first + to, first + from, first + from + 1);
    notifyChanged();
    return true;
}

bool LineFxManager::moveUp(int i) { return i >= 1 && moveElement(i, i - 1); }

bool LineFxManager::moveDown(int i) { return i >= 0 && i + 1 < elementCount() && moveElement(i, i + 1); }

LineFxElement* LineFxManager::copySelected()
{
    LineFxElement* source = selectedElement();
    if (!source)
        return nullptr;
    auto* copy = dynamic_cast<LineFxElement*>(source->Clone());
    if (!copy)
        return nullptr;
    try {
        insertElement(copy, -1);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    notifyChanged();
    return copy;
}

void LineFxManager::dropElements()
{
    while (!elements_.empty()) {
        const int last = elementCount() - 1;
        LineFxElement* e = elements_.back();
        ReplaceReference(firstElementRef + last, nullptr);
        elements_.pop_back();
        if (std::unique_ptr<ReferenceTarget> own = releaseOwned(e))
            own.release()->DeleteThis();
    }
}

ReferenceTarget* LineFxManager::Clone()
{
    std::unique_ptr<LineFxManager> copy;
    try {
        copy = std::make_unique<LineFxManager>();
        if (pblock() && copy->pblock())
            copy->pblock()->CopyValuesFrom(*pblock());
        for (LineFxElement* e : elements_) {
            if (!e)
                continue;
            auto* element = dynamic_cast<LineFxElement*>(e->Clone());
            if (!element)
                return nullptr;
            copy->insertElement(element, -1);
        }
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    copy->selected_ = selected_;
    copy->SetName(GetName());
    return copy.release();
}

IOResult LineFxManager::Save(ISave* isave)
{
    isave->BeginChunk(countChunk);
    const IOResult counted = writeValue(isave, static_cast<std::int32_t>(elementCount()));
    isave->EndChunk();
    if (counted != IO_OK)
        return counted;
    isave->BeginChunk(baseChunk);
    const IOResult res = Effect::Save(isave);
    isave->EndChunk();
    return res;
}

IOResult LineFxManager::Load(ILoad* iload)
{
    IOResult res;
    while ((res = iload->OpenChunk()) == IO_OK) {
        switch (iload->CurChunkID()) {
        case countChunk: {
            std::int32_t count = 0;
            if (readValue(iload, count) != IO_OK || count < 0 || count > maxLoadedElements)
                return IO_ERROR;
            dropElements();
            elements_.assign(static_cast<std::size_t>(count), nullptr);
            break;
        }
        case baseChunk:
            if (const IOResult base = Effect::Load(iload); base != IO_OK)
                return base;
            break;
        default: break;
        }
        if (iload->CloseChunk() != IO_OK)
            return IO_ERROR;
    }
    return res == IO_END ? IO_OK : res;
}

}  // namespace vml
