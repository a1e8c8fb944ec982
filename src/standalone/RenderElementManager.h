#pragma once
// The standalone host's render-element manager: the list of elements a render produces, the
// active and display switches, and the bitmap slots of elements that brought none.
//
// Elements are not owned (the scene owns them). A slot the manager created is detached from its
// element when the element is removed or the manager is destroyed, so the manager must not
// outlive the elements it still lists.

#include "host/RenderElement.h"

#include <map>
#include <memory>
#include <vector>

namespace standalone {

class RenderElementManager : public IRenderElementMgr {
public:
    RenderElementManager() = default;
    RenderElementManager(const RenderElementManager&) = delete;
    RenderElementManager& operator=(const RenderElementManager&) = delete;
    ~RenderElementManager() override;

    // FALSE for nullptr or an element already listed.
    BOOL AddRenderElement(IRenderElement* element) override;
    // FALSE when the element is not listed.
    BOOL RemoveRenderElement(IRenderElement* element) override;
    void RemoveAllRenderElements() override;
    int NumRenderElements() override { return static_cast<int>(elements_.size()); }
    IRenderElement* GetRenderElement(int index) override;
    void SetElementsActive(BOOL on) override { active_ = on; }
    BOOL GetElementsActive() const override { return active_; }
    void SetDisplayElements(BOOL on) override { display_ = on; }
    BOOL GetDisplayElements() const override { return display_; }

    // The element's bitmap slot, created (owned here) and attached when it has none.
    PBBitmap* slotFor(IRenderElement* element);

private:
    void detachOwnedSlot(IRenderElement* element);

    std::vector<IRenderElement*> elements_;
    std::map<IRenderElement*, std::unique_ptr<PBBitmap>> ownedSlots_;
    BOOL active_ = TRUE;
    BOOL display_ = TRUE;
};

// Gives every enabled element of an active manager a bitmap of width x height, cleared to
// transparent black: kept when it has that size, (re)created otherwise. Elements without a slot
// get one only from a standalone::RenderElementManager; other managers' slot-less elements are
// skipped. Returns the number of elements given a bitmap.
int prepareRenderElementBitmaps(IRenderElementMgr* manager, int width, int height);

}  // namespace standalone
