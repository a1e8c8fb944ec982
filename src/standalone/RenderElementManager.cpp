#include "standalone/RenderElementManager.h"

#include "host/Bitmap.h"

#include <algorithm>

namespace standalone {

RenderElementManager::~RenderElementManager() { RemoveAllRenderElements(); }

BOOL RenderElementManager::AddRenderElement(IRenderElement* element)
{
    if (!element || std::find(elements_.begin(), elements_.end(), element) != elements_.end())
        return FALSE;
    elements_.push_back(element);
    return TRUE;
}

BOOL RenderElementManager::RemoveRenderElement(IRenderElement* element)
{
    auto it = std::find(elements_.begin(), elements_.end(), element);
    if (it == elements_.end())
        return FALSE;
    detachOwnedSlot(element);
    elements_.erase(it);
    return TRUE;
}

void RenderElementManager::RemoveAllRenderElements()
{
    while (!elements_.empty())
        RemoveRenderElement(elements_.back());
}

IRenderElement* RenderElementManager::GetRenderElement(int index)
{
    return index >= 0 && index < NumRenderElements() ? elements_[static_cast<std::size_t>(index)] : nullptr;
}

PBBitmap* RenderElementManager::slotFor(IRenderElement* element)
{
    if (!element)
        return nullptr;
    if (PBBitmap* slot = element->GetPBBitmap())
        return slot;
    auto& owned = ownedSlots_[element];
    owned = std::make_unique<PBBitmap>();
    element->SetPBBitmap(owned.get());
    return owned.get();
}

void RenderElementManager::detachOwnedSlot(IRenderElement* element)
{
    auto it = ownedSlots_.find(element);
    if (it == ownedSlots_.end())
        return;
    if (element->GetPBBitmap() == it->second.get())
        element->SetPBBitmap(nullptr);
    ownedSlots_.erase(it);
}

int prepareRenderElementBitmaps(IRenderElementMgr* manager, int width, int height)
{
    if (!manager || !manager->GetElementsActive() || width <= 0 || height <= 0)
        return 0;
    auto* ours = dynamic_cast<RenderElementManager*>(manager);
    int prepared = 0;
    for (int i = 0; i < manager->NumRenderElements(); ++i) {
        IRenderElement* element = manager->GetRenderElement(i);
        if (!element || !element->IsEnabled())
            continue;
        PBBitmap* slot = ours ? ours->slotFor(element) : element->GetPBBitmap();
        if (!slot)
            continue;
        Bitmap* bm = slot->bm();
        if (bm && bm->Width() == width && bm->Height() == height) {
            for (int y = 0; y < height; ++y)
                std::fill_n(bm->Row(y), width, BMM_Color_64{});
        } else {
            slot->bi.width = width, slot->bi.height = height;
            if (const char* name = element->ElementName())
                slot->bi.name = name;
            slot->CreateBitmap();
        }
        ++prepared;
    }
    return prepared;
}

}  // namespace standalone
