#pragma once
// The parameter blocks of the two render elements. Both declare the same parameters; only their
// internal names differ.

#include "host/ParamBlockDesc2.h"

namespace vml {

enum RenderElementParamId : ParamID {
    renderElementEnabled = 0,
    renderElementFilterOn = 1,
    renderElementName = 2,
    // Declared for the block's layout only: the host's bitmap holder is not a reference target,
    // so the element keeps it itself (LineFxRenderElement::GetPBBitmap) and this value stays empty.
    renderElementBitmap = 3,
};

ParamBlockDesc2& lineFxRenderElementBlock();
ParamBlockDesc2& crayonStrokeRenderElementBlock();

}  // namespace vml
