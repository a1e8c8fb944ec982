#include "renderer/CrayonStrokeRenderElement.h"

#include "renderer/RenderElementParamBlocks.h"
#include "resources/StringIds.h"

namespace vml {

CrayonStrokeRenderElement::CrayonStrokeRenderElement()
    : LineFxRenderElement(Identity{crayonStrokeRenderElementClassId, strings::crayonStrokeRenderElementName,
                                   crayonStrokeRenderElementBlock})
{}

}  // namespace vml
