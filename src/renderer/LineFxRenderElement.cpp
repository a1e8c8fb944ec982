#include "renderer/LineFxRenderElement.h"

#include "host/Bitmap.h"
#include "renderer/RenderElementParamBlocks.h"
#include "resources/StringIds.h"
#include "shell/StringLookup.h"

namespace vml {

LineFxRenderElement::LineFxRenderElement()
    : LineFxRenderElement(
          Identity{lineFxRenderElementClassId, strings::lineRenderElementName, lineFxRenderElementBlock})
{}

LineFxRenderElement::LineFxRenderElement(const Identity& identity) : identity_(identity)
{
    const char* effectName = getString(identity_.effectNameId);
    SetName(effectName ? effectName : "");
    IParamBlock2* block = adopt(std::make_unique<IParamBlock2>(&identity_.blockDesc(), this));
    ReplaceReference(0, block);
    // Both classes start with the line element's name.
    const char* elementName = getString(strings::lineRenderElementName);
    block->SetValue(renderElementName, 0, elementName ? elementName : "");
}

LineFxRenderElement::~LineFxRenderElement() = default;

void LineFxRenderElement::SetEnabled(BOOL on)
{
    if (pblock_)
        pblock_->SetValue(renderElementEnabled, 0, on ? 1 : 0);
}

BOOL LineFxRenderElement::IsEnabled() const
{
    return pblock_ && pblock_->GetInt(renderElementEnabled, 0) ? TRUE : FALSE;
}

void LineFxRenderElement::SetFilterEnabled(BOOL on)
{
    if (pblock_)
        pblock_->SetValue(renderElementFilterOn, 0, on ? 1 : 0);
}

BOOL LineFxRenderElement::IsFilterEnabled() const
{
    return pblock_ && pblock_->GetInt(renderElementFilterOn, 0) ? TRUE : FALSE;
}

void LineFxRenderElement::SetElementName(const char* name)
{
    if (pblock_)
        pblock_->SetValue(renderElementName, 0, name);
}

const char* LineFxRenderElement::ElementName() const
{
    const char* name = pblock_ ? pblock_->GetStr(renderElementName, 0) : nullptr;
    return name ? name : "";
}

PBBitmap* LineFxRenderElement::createBitmapHolder()
{
    if (!ownHolder_)
        ownHolder_ = std::make_unique<PBBitmap>();
    holder_ = ownHolder_.get();
    return holder_;
}

void LineFxRenderElement::GetClassName(std::string& s)
{
    const char* name = getString(strings::lineRenderElementName);
    s = name ? name : "";
}

ReferenceTarget* LineFxRenderElement::GetReference(int i) { return i == 0 ? pblock_ : nullptr; }

void LineFxRenderElement::SetReference(int i, ReferenceTarget* target)
{
    if (i == 0)
        pblock_ = dynamic_cast<IParamBlock2*>(target);
}

ReferenceTarget* LineFxRenderElement::Clone()
{
    LineFxRenderElement* copy = makeEmpty();
    if (copy->pblock_ && pblock_)
        copy->pblock_->CopyValuesFrom(*pblock_);
    return copy;
}

IOResult LineFxRenderElement::Save(ISave* isave)
{
    SetName(ElementName());
    return IRenderElement::Save(isave);
}

IOResult LineFxRenderElement::Load(ILoad* iload) { return IRenderElement::Load(iload); }

}  // namespace vml
