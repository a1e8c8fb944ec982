#include "renderer/vmlRendererParamBlocks.h"

namespace vml {

// The settings block's parameters are declared with the renderer. None of these blocks has an
// automatic rollout: the renderer's own rollouts are bound to them.

ParamBlockDesc2& vmlRendererParamsBlock()
{
    static ParamBlockDesc2 desc(vmlRendererParamsBlockId, "parameters", 0, P_AUTO_CONSTRUCT, 0);
    return desc;
}

ParamBlockDesc2& vmlRendererVersionBlock()
{
    static ParamBlockDesc2 desc(vmlRendererVersionBlockId, "version", 0, P_AUTO_CONSTRUCT, 1);
    return desc;
}

ParamBlockDesc2& vmlRendererSummaryBlock()
{
    static ParamBlockDesc2 desc(vmlRendererSummaryBlockId, "param", 0, P_AUTO_CONSTRUCT, 2);
    return desc;
}

}  // namespace vml
