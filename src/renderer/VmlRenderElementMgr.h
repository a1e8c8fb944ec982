#pragma once
// The render-element manager the renderer puts into the render parameters while pen strokes are
// on: it lists the renderer's own stroke element first and otherwise is the host's manager, whose
// list it never changes. Without a wrapped manager there is nothing to forward to: queries answer
// FALSE or 0 and changes do nothing.
//
// Neither the wrapped manager nor the extra element is owned; both must outlive their use here.

#include "host/RenderElement.h"

namespace vml {

class VmlRenderElementMgr : public IRenderElementMgr {
public:
    VmlRenderElementMgr() = default;
    VmlRenderElementMgr(IRenderElementMgr* host, IRenderElement* first) : wrapped(host), extra(first) {}

    BOOL AddRenderElement(IRenderElement* element) override;
    BOOL RemoveRenderElement(IRenderElement* element) override;
    void RemoveAllRenderElements() override;
    // The wrapped manager's count, plus one for extra.
    int NumRenderElements() override;
    // With extra, index 0 is extra and index i the wrapped manager's i - 1; nullptr out of range.
    IRenderElement* GetRenderElement(int index) override;
    void SetElementsActive(BOOL on) override;
    BOOL GetElementsActive() const override;
    void SetDisplayElements(BOOL on) override;
    BOOL GetDisplayElements() const override;

    IRenderElementMgr* wrapped = nullptr;
    IRenderElement* extra = nullptr;
};

}  // namespace vml
