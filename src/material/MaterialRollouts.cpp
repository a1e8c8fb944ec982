#include "material/MaterialRollouts.h"

#include "host/ClassDesc2.h"
#include "host/IParamBlock2.h"
#include "host/Interface.h"
#include "host/Rollout.h"
#include "material/vmlMaterial.h"
#include "material/vmlMaterialParamBlocks.h"
#include "resources/DialogTemplates.h"
#include "shell/StringLookup.h"

namespace vml {

namespace {

TimeValue currentTime()
{
    Interface* core = GetCOREInterface();
    return core ? core->GetTime() : 0;
}

// The parameter of each sub-map slot, and the block (0 base, 1 brush) that holds it.
struct SlotParam {
    int block;
    ParamID id;
};
constexpr SlotParam slotParams[vmlMaterial::subMapCount] = {
    {0, baseParam::baseMatMap}, {0, baseParam::hiMap},   {0, baseParam::hiLevelMap},
    {0, baseParam::hiGrossMap}, {0, baseParam::bumpMap}, {0, baseParam::reflecMap},
    {1, brushParam::brushMap}};

}  // namespace

MaterialRollouts::MaterialRollouts(vmlMaterial& material) : material_(&material) { open(); }

MaterialRollouts::~MaterialRollouts() { close(); }

std::array<MaterialDlgProc*, 5> MaterialRollouts::procs()
{
    return {&base_, &brush_, &stroke_, &paint_, &version_};
}

void MaterialRollouts::open()
{
    if (!material_)
        return;
    // Pages that start rolled up: the block's own choice, or the class's remembered state.
    ClassDesc2* cd = vmlMaterialBaseBlock().GetClassDesc();
    const DWORD openPages = cd ? cd->InitialRollupPageState() : 0x7FFFFFFF;
    const std::array<MaterialDlgProc*, 5> all = procs();
    for (int b = 0; b < vmlMaterial::blockCount; ++b) {
        IParamBlock2* block = material_->GetParamBlock(b);
        const ParamBlockDesc2* desc = block ? block->GetDesc() : nullptr;
        const DialogTemplate* page =
            desc ? resources::findDialogTemplate(desc->RolloutDialogId(), textLanguage()) : nullptr;
        if (!page)
            break;
        const char* text = getString(desc->RolloutTitleId());
        const std::string title = text ? text : "";
        const DWORD flags = desc->RolloutFlags() | ((openPages >> b) & 1 ? 0 : APPENDROLL_CLOSED);
        all[std::size_t(b)]->setMaterial(material_);
        maps_[std::size_t(b)] = CreateParamMap2(block, *page, title, flags, 0, all[std::size_t(b)]);
        if (!maps_[std::size_t(b)])
            break;
    }
    if (!maps_.back()) {
        close();
        return;
    }
    material_->setRollouts(this);
}

void MaterialRollouts::close()
{
    // Last page first, as a host removes them.
    for (auto it = maps_.rbegin(); it != maps_.rend(); ++it) {
        DestroyParamMap2(*it);
        *it = nullptr;
    }
    if (material_ && material_->rollouts() == this)
        material_->setRollouts(nullptr);
    for (MaterialDlgProc* proc : procs())
        proc->setMaterial(nullptr);
    material_ = nullptr;
}

void MaterialRollouts::SetThing(ReferenceTarget* thing)
{
    auto* material = dynamic_cast<vmlMaterial*>(thing);
    if (!material || material == material_)
        return;
    close();
    material_ = material;
    open();
}

ReferenceTarget* MaterialRollouts::GetThing() { return material_; }

void MaterialRollouts::SetTime(TimeValue t)
{
    for (IParamMap2* map : maps_)
        if (map)
            map->UpdateUI(t);
    for (MaterialDlgProc* proc : procs())
        proc->update(t);
}

void MaterialRollouts::ReloadDialog() { SetTime(currentTime()); }

void MaterialRollouts::blockChanged(int block, ParamID id)
{
    if (block < 0 || block >= vmlMaterial::blockCount || !maps_[std::size_t(block)])
        return;
    maps_[std::size_t(block)]->Invalidate(id);
    const TimeValue t = currentTime();
    if (block == vmlMaterial::baseBlockRef) {
        base_.update(t);
        // The base colour is one of the colour-range preview's inputs.
        paint_.redrawPreview(false);
    } else if (block == vmlMaterial::paintBlockRef) {
        paint_.update(t);
    }
}

void MaterialRollouts::mapChanged(int slot)
{
    if (slot < 0 || slot >= vmlMaterial::subMapCount)
        return;
    const SlotParam& p = slotParams[slot];
    if (IParamMap2* map = maps_[std::size_t(p.block)])
        map->Invalidate(p.id);
    base_.showMapMarkers();
    if (slot == vmlMaterial::brushMapSlot)
        brush_.update(currentTime());
}

void MaterialRollouts::brushUpdated(TimeValue t) { brush_.update(t); }

}  // namespace vml
