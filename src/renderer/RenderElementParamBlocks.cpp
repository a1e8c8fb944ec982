#include "renderer/RenderElementParamBlocks.h"
#include "resources/StringIds.h"

namespace vml {

namespace {

// Block 0, reference 0, built for every element, no rollout; nothing is animatable.
ParamBlockDesc2 makeRenderElementBlock(const char* internalName)
{
    ParamBlockDesc2 d(0, internalName, 0, P_AUTO_CONSTRUCT, 0);
    d.addBool(renderElementEnabled, "enabled", true, strings::renderElementEnabled)
        .addBool(renderElementFilterOn, "filterOn", true, strings::renderElementFilterOn)
        .addString(renderElementName, "elementName", "", strings::renderElementName)
        .addRef(renderElementBitmap, "bitmap", TYPE_BITMAP, strings::renderElementBitmap, P_TRANSIENT);
    return d;
}

}  // namespace

ParamBlockDesc2& lineFxRenderElementBlock()
{
    static ParamBlockDesc2 desc = makeRenderElementBlock("Vermil+ Line render element parameters");
    return desc;
}

ParamBlockDesc2& crayonStrokeRenderElementBlock()
{
    static ParamBlockDesc2 desc = makeRenderElementBlock("Crayon+ Stroke render element parameters");
    return desc;
}

}  // namespace vml
