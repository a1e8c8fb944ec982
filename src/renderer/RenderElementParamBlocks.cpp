#include "renderer/RenderElementParamBlocks.h"

namespace vml {

// Parameters are declared with the render elements.

ParamBlockDesc2& lineFxRenderElementBlock()
{
    static ParamBlockDesc2 desc(0, "Vermil+ Line render element parameters", 0, P_AUTO_CONSTRUCT, 0);
    return desc;
}

ParamBlockDesc2& crayonStrokeRenderElementBlock()
{
    static ParamBlockDesc2 desc(0, "Crayon+ Stroke render element parameters", 0, P_AUTO_CONSTRUCT, 0);
    return desc;
}

}  // namespace vml
