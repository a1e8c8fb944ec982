#include "material/vmlMaterial.h"

#include "host/ClassDesc2.h"
#include "host/IParamBlock2.h"
#include "host/Interface.h"
#include "host/Texmap.h"
#include "material/MaterialRollouts.h"
#include "material/vmlMaterialParamBlocks.h"
#include "material/vmlMaterialProbe.h"
#include "renderer/vmlRenderer.h"
#include "resources/StringIds.h"
#include "shell/StringLookup.h"

#include <array>
#include <atomic>
#include <memory>

namespace vml {

namespace {

ParamBlockDesc2& (*const blockDescs[vmlMaterial::blockCount])() = {
    vmlMaterialBaseBlock, vmlMaterialBrushBlock, vmlMaterialStrokeBlock, vmlMaterialPaintBlock,
    vmlMaterialVersionBlock};

// Sub-animatable names of the five blocks, and slot names of the seven maps.
constexpr std::array<int, vmlMaterial::blockCount> blockNameIds = {
    strings::basicParameters, strings::brushRollout, strings::strokeRollout, strings::paintRollout,
    strings::materialVersion};
constexpr std::array<int, vmlMaterial::subMapCount> mapSlotNameIds = {
    strings::baseMaterialMap,        strings::highlightMap, strings::highlightLevelMap,
    strings::highlightGlossinessMap, strings::bumpMap,      strings::reflectionMap,
    strings::brushEditorSlot};

std::string lookup(int id)
{
    const char* text = getString(id);
    return text ? text : "";
}

}  // namespace

std::unique_ptr<StdMat2> vmlMaterial::makeStandardMaterial()
{
    Interface* core = GetCOREInterface();
    ReferenceTarget* made = core ? core->CreateInstance(MATERIAL_CLASS_ID, DMTL_CLASS_ID) : nullptr;
    auto* material = dynamic_cast<StdMat2*>(made);
    if (!material) {
        if (made)
            made->DeleteThis();
        return nullptr;
    }
    return std::unique_ptr<StdMat2>(material);
}

bool isBrushTexture(ReferenceTarget* map)
{
    return map && map->SuperClassID() == TEXMAP_CLASS_ID && map->ClassID() == vmlBrushClassId;
}

MaterialKey vmlMaterial::nextSampleKey()
{
    // 0 is no material's key.
    static std::atomic<MaterialKey> last{0};
    return ++last;
}

vmlMaterial::vmlMaterial(bool loading)
{
    installVmlMaterialProbe();
    makeBlocks();
    makeHelpers();
    if (loading)
        needsInit_ = true;
    else
        InitDefaults();
}

vmlMaterial::vmlMaterial(Bare)
{
    installVmlMaterialProbe();
    makeBlocks();
    makeHelpers();
}

vmlMaterial::~vmlMaterial()
{
    if (rollouts_)
        rollouts_->close();
    detachHelperMaps();
}

ParamDlg* vmlMaterial::CreateParamDlg(HWND, IMtlParams*)
{
    auto rollouts = std::make_unique<MaterialRollouts>(*this);
    return rollouts->isOpen() ? rollouts.release() : nullptr;
}

void vmlMaterial::setStrokeRake(int mode)
{
    strokeCache_.strokeRake = mode;
    if (IParamBlock2* b = strokeBlock())
        b->SetValue(strokeParam::strokeRake, 0, mode);
}

void vmlMaterial::setPaintColorType(int type)
{
    paintCache_.paintColorType = type;
    if (IParamBlock2* b = paintBlock())
        b->SetValue(paintParam::paintColorType, 0, type);
}

void vmlMaterial::makeBlocks()
{
    // The class descriptor builds the blocks once the registry has attached them; a material made
    // before that builds the same blocks itself.
    if (ClassDesc2* cd = vmlMaterialBaseBlock().GetClassDesc()) {
        cd->MakeAutoParamBlocks(this);
        return;
    }
    for (auto desc : blockDescs) {
        ParamBlockDesc2& d = desc();
        ReplaceReference(d.RefNo(), adopt(std::make_unique<IParamBlock2>(&d, this)));
    }
}

void vmlMaterial::makeHelpers()
{
    const Color white(1.0f, 1.0f, 1.0f), black(0.0f, 0.0f, 0.0f);
    highlightMtl_ = makeStandardMaterial();
    if (highlightMtl_) {
        highlightMtl_->SwitchShader(ANISO_SHADER_CLASS_ID);
        highlightMtl_->SetSpecular(white, 0);
        highlightMtl_->SetDiffuse(black, 0);
    }
    reflectMtl_ = makeStandardMaterial();
    if (reflectMtl_) {
        reflectMtl_->SetSpecular(white, 0);
        reflectMtl_->SetDiffuse(black, 0);
    }
}

void vmlMaterial::detachHelperMaps()
{
    if (highlightMtl_) {
        highlightMtl_->SetSubTexmap(ID_SS, nullptr);
        highlightMtl_->SetSubTexmap(ID_SH, nullptr);
    }
    if (reflectMtl_)
        reflectMtl_->SetSubTexmap(ID_RL, nullptr);
}

void vmlMaterial::GetClassName(std::string& s) { s = lookup(strings::materialClass); }

ReferenceTarget* vmlMaterial::GetReference(int i)
{
    if (i >= 0 && i < blockCount)
        return blocks_[i];
    if (i == baseMaterialRef)
        return baseMtl_;
    if (i >= firstMapRef && i < refCount)
        return maps_[i - firstMapRef];
    return nullptr;
}

void vmlMaterial::SetReference(int i, ReferenceTarget* target)
{
    if (i < 0 || i >= refCount)
        return;
    ivalid_.SetEmpty();
    if (i < blockCount) {
        blocks_[i] = dynamic_cast<IParamBlock2*>(target);
        // A block restored without an owner reaches the maps and base material through this one.
        if (blocks_[i] && !blocks_[i]->GetOwner())
            blocks_[i]->SetOwner(this);
        return;
    }
    if (i == baseMaterialRef) {
        baseMtl_ = dynamic_cast<Mtl*>(target);
        return;
    }
    auto* map = dynamic_cast<Texmap*>(target);
    if (i == brushMapRef) {
        // The brush-slot guard. A map of another class is stored but remembered, so the next
        // update can put the saved brush back; emptying a slot that holds a brush keeps a copy
        // of it for the same purpose. A dying brush cannot be copied.
        if (map && !isBrushTexture(map)) {
            foreignBrushRef_ = brushMapRef;
        } else if (map) {
            foreignBrushRef_ = 0;  // a brush repairs the slot by itself
        } else if (!brushDying_ && isBrushTexture(maps_[brushMapSlot])) {
            savedBrush_.reset();
            ReferenceTarget* copy = maps_[brushMapSlot]->Clone();
            savedBrush_.reset(dynamic_cast<Texmap*>(copy));
            if (copy && !savedBrush_)
                copy->DeleteThis();
        }
        brushDying_ = false;
    }
    maps_[i - firstMapRef] = map;
}

IParamBlock2* vmlMaterial::GetParamBlock(int i) { return i >= 0 && i < blockCount ? blocks_[i] : nullptr; }

IParamBlock2* vmlMaterial::GetParamBlockByID(BlockID id)
{
    for (IParamBlock2* block : blocks_) {
        if (block && block->ID() == id)
            return block;
    }
    return nullptr;
}

std::string vmlMaterial::SubAnimName(int i) const
{
    if (i >= 0 && i < blockCount)
        return lookup(blockNameIds[static_cast<std::size_t>(i)]);
    if (i == baseMaterialRef)
        return GetSubMtlSlotName(0);
    return {};
}

void vmlMaterial::replaceRef(int i, ReferenceTarget* target)
{
    ReferenceTarget* old = GetReference(i);
    ReplaceReference(i, target);
    if (old && old != GetReference(i))
        discardIfOrphan(old);
}

void vmlMaterial::discardIfOrphan(ReferenceTarget* object)
{
    if (!object || !owns(object) || FindRef(object) >= 0)
        return;
    // The helpers may still hold a map the material made; it is theirs no longer.
    if (highlightMtl_ && highlightMtl_->GetSubTexmap(ID_SS) == object)
        highlightMtl_->SetSubTexmap(ID_SS, nullptr);
    if (highlightMtl_ && highlightMtl_->GetSubTexmap(ID_SH) == object)
        highlightMtl_->SetSubTexmap(ID_SH, nullptr);
    if (reflectMtl_ && reflectMtl_->GetSubTexmap(ID_RL) == object)
        reflectMtl_->SetSubTexmap(ID_RL, nullptr);
    if (object->NumDependents() == 0)
        releaseOwned(object);
}

ReferenceTarget* vmlMaterial::cloneTarget(ReferenceTarget* target)
{
    if (!target)
        return nullptr;
    // A target that cannot be copied is shared, as the scene's other users share it.
    ReferenceTarget* copy = target->Clone();
    return copy ? adoptOwned(std::unique_ptr<ReferenceTarget>(copy)) : target;
}

Texmap* vmlMaterial::GetSubTexmap(int i) { return subMap(i); }

void vmlMaterial::SetSubTexmap(int i, Texmap* m)
{
    if (i < 0 || i >= subMapCount)
        return;
    const bool wasEmpty = maps_[i] == nullptr;
    replaceRef(firstMapRef + i, m);
    if (rollouts_)
        rollouts_->mapChanged(i);
    if (wasEmpty && maps_[i] && (i == bumpMapSlot || i == reflecMapSlot)) {
        if (IParamBlock2* base = baseBlock())
            base->SetValue(i == bumpMapSlot ? baseParam::bumpEnable : baseParam::reflecEnable, 0, 1);
    }
    ivalid_.SetEmpty();
}

std::string vmlMaterial::GetSubTexmapSlotName(int i) const
{
    return i >= 0 && i < subMapCount ? lookup(mapSlotNameIds[static_cast<std::size_t>(i)]) : std::string();
}

Mtl* vmlMaterial::GetSubMtl(int i) { return i == 0 ? baseMtl_ : nullptr; }

void vmlMaterial::SetSubMtl(int i, Mtl* m)
{
    if (i != 0)
        return;
    replaceRef(baseMaterialRef + i, m);
    if (rollouts_)
        rollouts_->blockChanged(baseBlockRef, baseParam::baseMaterial);
    ivalid_.SetEmpty();
}

std::string vmlMaterial::GetSubMtlSlotName(int i) const
{
    return i == 0 ? lookup(strings::baseSlot) : std::string();
}

Color vmlMaterial::GetAmbient() { return baseMtl_ ? baseMtl_->GetAmbient() : Color(); }
Color vmlMaterial::GetDiffuse() { return baseMtl_ ? baseMtl_->GetDiffuse() : Color(); }
Color vmlMaterial::GetSpecular() { return baseMtl_ ? baseMtl_->GetSpecular() : Color(); }

ULONG vmlMaterial::Requirements(int subMtlNum)
{
    // What the host derives for a material from its parts: the base material's needs, and texture
    // coordinates for the maps shaded on the surface (the brush is rendered on its own).
    ULONG req = baseMtl_ ? baseMtl_->Requirements(subMtlNum) : 0;
    for (int i = 0; i < brushMapSlot; ++i) {
        if (maps_[i] && (maps_[i]->Requirements(-1) & MTLREQ_UV)) {
            req |= MTLREQ_UV;
            if (i == bumpMapSlot)
                req |= MTLREQ_BUMPUV;
        }
    }
    if (!currentRenderer)
        return req;
    req |= vmlMaterialRenderRequirement;
    // The caches are read after the host's update; before any update the block answers.
    int hiddenFace = baseCache_.baseHiddenFace;
    if (ivalid_.Empty() && baseBlock())
        hiddenFace = baseBlock()->GetInt(baseParam::baseHiddenFace, 0);
    if (hiddenFace)
        req &= ~MTLREQ_TRANSP;
    else
        req |= MTLREQ_TRANSP;
    return req;
}

bool vmlMaterial::LoadMapFiles(TimeValue t)
{
    bool ok = baseMtl_ ? baseMtl_->LoadMapFiles(t) : true;
    for (Texmap* map : maps_) {
        if (map)
            ok = map->LoadMapFiles(t) && ok;
    }
    return ok;
}

}  // namespace vml
