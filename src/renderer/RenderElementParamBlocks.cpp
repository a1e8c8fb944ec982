#include "renderer/RenderElementParamBlocks.h"

namespace vml {

namespace {

// Block 0, reference 0, built for every element, no rollout; nothing is animatable.
ParamBlockDesc2 makeRenderElementBlock(const char* internalName)
{
    ParamBlockDesc2 d(0, internalName, 0, P_AUTO_CONSTRUCT, 0);
    d.addBool(renderElementEnabled, "enabled", true, 803)
        .addBool(renderElementFilterOn, "filterOn", true, 802)
        .addString(renderElementName, "elementName", "", 804)
        .addRef(renderElementBitmap, "bitmap", TYPE_BITMAP, 805, P_TRANSIENT);
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
