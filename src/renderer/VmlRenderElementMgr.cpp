#include "renderer/VmlRenderElementMgr.h"

namespace vml {

BOOL VmlRenderElementMgr::AddRenderElement(IRenderElement* element)
{
    return wrapped ? wrapped->AddRenderElement(element) : FALSE;
}

BOOL VmlRenderElementMgr::RemoveRenderElement(IRenderElement* element)
{
    return wrapped ? wrapped->RemoveRenderElement(element) : FALSE;
}

void VmlRenderElementMgr::RemoveAllRenderElements()
{
    if (wrapped)
        wrapped->RemoveAllRenderElements();
}

int VmlRenderElementMgr::NumRenderElements()
{
    return (wrapped ? wrapped->NumRenderElements() : 0) + (extra ? 1 : 0);
}

IRenderElement* VmlRenderElementMgr::GetRenderElement(int index)
{
    if (index < 0)
        return nullptr;
    if (extra) {
        if (index == 0)
            return extra;
        --index;
    }
    return wrapped ? wrapped->GetRenderElement(index) : nullptr;
}

void VmlRenderElementMgr::SetElementsActive(BOOL on)
{
    if (wrapped)
        wrapped->SetElementsActive(on);
}

BOOL VmlRenderElementMgr::GetElementsActive() const { return wrapped ? wrapped->GetElementsActive() : FALSE; }

void VmlRenderElementMgr::SetDisplayElements(BOOL on)
{
    if (wrapped)
        wrapped->SetDisplayElements(on);
}

BOOL VmlRenderElementMgr::GetDisplayElements() const
{
    return wrapped ? wrapped->GetDisplayElements() : FALSE;
}

}  // namespace vml
