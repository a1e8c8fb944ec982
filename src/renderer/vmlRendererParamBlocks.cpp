#include "renderer/vmlRendererParamBlocks.h"

namespace vml {

// None of these blocks has an automatic rollout: the renderer's own rollouts are bound to them.
// No parameter is animatable. The script names `penStrokeEnbale` and `multipassEnbale` are
// spelt as saved scenes and scene documents spell them.

ParamBlockDesc2& vmlRendererParamsBlock()
{
    static ParamBlockDesc2 desc = [] {
        ParamBlockDesc2 d(vmlRendererParamsBlockId, "parameters", 0, P_AUTO_CONSTRUCT, 0);
        d.addBool(rendererBlurstrEnable, "blurstrEnable", true, 1010)
            .addInt(rendererBlurstrAmount, "blurstrAmount", 100, 0, 999, 1011)
            .addOwnerRef(rendererBlurstrMap, "blurstrMap", TYPE_TEXMAP, rendererBlurstrMapRef, 1012)
            .addBool(rendererBrushCacheEnable, "brushCacheEnable", true, 1013)
            .addInt(rendererBrushCacheSize, "brushCacheSize", 64, 16, 512, 1014)
            .addInt(rendererBrushCacheNumber, "brushCacheNumber", 16, 10, 99, 1015)
            .addBool(rendererPenStrokeEnable, "penStrokeEnbale", false, 1016)
            .addInt(rendererPenStrokeBlend, "penStrokeBlend", 0, 0, 15, 1017)
            .addFloat(rendererPenStrokeAlpha, "penStrokeAlpha", 100.0f, 0.0f, 100.0f, 1018)
            .addBool(rendererBrushScaleEnable, "brushScaleEnable", false, 1019)
            .addInt(rendererBrushScaleAmount, "brushScaleAmount", 100, 10, 999, 1020)
            .addBool(rendererMultipassEnable, "multipassEnbale", false, 1022)
            .addTable(rendererMultipassNode, "multipassNode", TYPE_INODE_TAB, 0, 1021)
            .addTable(rendererMultipassId, "multipassID", TYPE_INT_TAB, 0, 1023)
            .addBool(rendererSaveMemoryEnable, "saveMemoryEnable", true, 1028)
            .addTable(rendererMultipassCutNode, "multipassCutNode", TYPE_INODE_TAB, 0, 1029);
        return d;
    }();
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
