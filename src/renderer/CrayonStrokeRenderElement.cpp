#include "renderer/CrayonStrokeRenderElement.h"

#include "renderer/RenderElementParamBlocks.h"

namespace vml {

CrayonStrokeRenderElement::CrayonStrokeRenderElement()
    : LineFxRenderElement(Identity{crayonStrokeRenderElementClassId, 810, crayonStrokeRenderElementBlock})
{}

}  // namespace vml
