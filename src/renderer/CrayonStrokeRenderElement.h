#pragma once
// The pen-stroke layer: a line render element in every respect but its identity (class id,
// effect name, block descriptor). An outside render effect recognises its class id and draws
// into its bitmap; nothing in this library does. Like every line render element, a new one is
// named "Vermil+ ﾗｲﾝ" (strings::lineRenderElementName), not after its own class.

#include "renderer/LineFxRenderElement.h"

namespace vml {

class CrayonStrokeRenderElement final : public LineFxRenderElement {
public:
    CrayonStrokeRenderElement();

protected:
    LineFxRenderElement* makeEmpty() const override { return new CrayonStrokeRenderElement(); }
};

}  // namespace vml
