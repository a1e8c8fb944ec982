// Defaults, update of the caches, the brush-slot repair and change notification.

#include "host/IParamBlock2.h"
#include "host/Interface.h"
#include "host/Texmap.h"
#include "material/MaterialPresets.h"
#include "material/MaterialRollouts.h"
#include "material/vmlMaterial.h"
#include "material/vmlMaterialParamBlocks.h"
#include "renderer/RendererMessages.h"
#include "resources/StringIds.h"
#include "shell/StringLookup.h"

#include <string>

namespace vml {

namespace {

// Caption of the brush-slot message when the slot was emptied (the line files' caption).
constexpr const char* emptiedBrushCaption = "Vermil+";

// A stroke-deform phase random value outside 0..100 is read as 0.
constexpr float phaseRandomLimit = 101.0f;

void showBrushSlotMessage(const char* caption)
{
    Interface* core = GetCOREInterface();
    if (!core)
        return;
    // Copied at once: the lookup's buffer is shared.
    const char* found = getString(strings::brushSlotTakesBrushMap);
    const std::string text = found ? found : "";
    MessageBox(core->GetMainWindow(), text.c_str(), caption, MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace

void vmlMaterial::InitDefaults()
{
    ivalid_.SetEmpty();

    // The host would also be handed the new base material here (a host call with the material as
    // its one argument); this host has no such call.
    std::unique_ptr<StdMat2> base = makeStandardMaterial();
    replaceRef(baseMaterialRef, base ? adopt(std::move(base)) : nullptr);

    for (int i = firstMapRef; i < refCount; ++i) {
        if (GetReference(i))
            replaceRef(i, nullptr);
    }
    // A fresh material has nothing for the brush-slot guard to repair.
    savedBrush_.reset();
    foreignBrushRef_ = 0;

    // A host without the brush class answers null; the slot then stays empty.
    Interface* core = GetCOREInterface();
    ReferenceTarget* brush = core ? core->CreateInstance(TEXMAP_CLASS_ID, vmlBrushClassId) : nullptr;
    if (isBrushTexture(brush))
        replaceRef(brushMapRef, adoptOwned(std::unique_ptr<ReferenceTarget>(brush)));
    else if (brush)
        brush->DeleteThis();

    applyPresets();
    SetGBufferID(1);
}

void vmlMaterial::applyPresets()
{
    // The first material of the process reads the preset file here.
    applyMaterialPresets(baseBlock(), brushBlock(), strokeBlock(), paintBlock());
    ivalid_.SetEmpty();
}

void vmlMaterial::Reset()
{
    // Objects the material made may leave their slots through the blocks' reset.
    ReferenceTarget* before[refCount - baseMaterialRef] = {};
    for (int i = baseMaterialRef; i < refCount; ++i)
        before[i - baseMaterialRef] = GetReference(i);
    for (IParamBlock2* block : blocks_) {
        if (block)
            block->ResetAll();
    }
    InitDefaults();
    for (ReferenceTarget* old : before)
        discardIfOrphan(old);
}

void vmlMaterial::checkBrushSlot()
{
    if (!savedBrush_)
        return;
    int slot = 0;
    const char* caption = nullptr;
    if (foreignBrushRef_ > 0) {
        slot = foreignBrushRef_;
        caption = rendererCaption;
    } else if (!maps_[brushMapSlot]) {
        slot = brushMapRef;
        caption = emptiedBrushCaption;
    } else {
        savedBrush_.reset();
        return;
    }
    // The saved brush becomes the reference; the material owns it from now on.
    Texmap* brush = savedBrush_.get();
    adoptOwned(std::unique_ptr<ReferenceTarget>(savedBrush_.release()));
    replaceRef(slot, brush);
    foreignBrushRef_ = 0;
    ivalid_.SetEmpty();
    if (rollouts_)
        rollouts_->mapChanged(brushMapSlot);
    showBrushSlotMessage(caption);
}

void vmlMaterial::readCaches(TimeValue t)
{
    if (IParamBlock2* b = baseBlock())
        readBaseCache(*b, t, baseCache_, ivalid_);
    if (IParamBlock2* b = brushBlock())
        readBrushCache(*b, t, brushCache_, ivalid_);
    if (IParamBlock2* b = strokeBlock())
        readStrokeCache(*b, t, strokeCache_, ivalid_);
    if (IParamBlock2* b = paintBlock())
        readPaintCache(*b, t, paintCache_, ivalid_);
    float& phaseRnd = strokeCache_.strokeDeformPhaseRnd;
    if (!(phaseRnd >= 0.0f && phaseRnd < phaseRandomLimit))
        phaseRnd = 0.0f;
}

void vmlMaterial::configureHelpers()
{
    const BaseCache& c = baseCache_;
    if (StdMat2* h = highlightMtl_.get()) {
        h->SetSpecularLevel(static_cast<float>(c.hiLevel) * 0.01f, 0);
        h->SetGlossiness(static_cast<float>(c.hiGross) * 0.01f, 0);
        h->SetShaderParam(SHADER_PARAM_ANISOTROPY, static_cast<float>(c.hiAniso) * 0.01f, 0);
        h->SetShaderParam(SHADER_PARAM_ORIENTATION, static_cast<float>(c.hiOrient) / 90.0f, 0);
        h->SetSubTexmap(ID_SS, hiLevelMap());
        h->SetSubTexmap(ID_SH, hiGrossMap());
    }
    if (StdMat2* r = reflectMtl_.get()) {
        r->SetSubTexmap(ID_RL, reflecMap());
        r->EnableMap(ID_RL, TRUE);
    }
}

void vmlMaterial::updateReferences(TimeValue t)
{
    if (baseMtl_)
        baseMtl_->Update(t, ivalid_);
    for (Texmap* map : maps_) {
        if (map)
            map->Update(t, ivalid_);
    }
    if (highlightMtl_)
        highlightMtl_->Update(t, ivalid_);
    if (reflectMtl_)
        reflectMtl_->Update(t, ivalid_);
}

void vmlMaterial::Update(TimeValue t, Interval& valid)
{
    if (needsInit_) {
        needsInit_ = false;
        InitDefaults();
    }
    checkBrushSlot();
    if (!ivalid_.InInterval(t)) {
        // Changes reported while the references update empty ivalid again, so they are read at
        // the next update.
        ivalid_ = FOREVER;
        readCaches(t);
        configureHelpers();
        updateReferences(t);
        if (rollouts_)
            rollouts_->brushUpdated(t);
    }
    valid &= ivalid_;
}

Interval vmlMaterial::Validity(TimeValue t)
{
    Interval v = FOREVER;
    Update(t, v);
    return ivalid_;
}

RefResult vmlMaterial::NotifyRefChanged(const Interval&, ReferenceTarget* hTarget, PartID&,
                                        RefMessage message, BOOL)
{
    ivalid_.SetEmpty();
    if (message == REFMSG_TARGET_DELETED && hTarget && hTarget == maps_[brushMapSlot])
        brushDying_ = true;
    if (rollouts_ && message == REFMSG_CHANGE)
        for (int b = 0; b < versionBlockRef; ++b)
            if (hTarget && hTarget == blocks_[b])
                rollouts_->blockChanged(b, blocks_[b]->LastNotifyParamID());
    if (message == vmlMaterialNotifyAllMessage)
        NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
    return REF_SUCCEED;
}

}  // namespace vml
