#include "renderer/vmlRendererParamBlocks.h"
#include "resources/StringIds.h"

namespace vml {

// None of these blocks has an automatic rollout: the renderer's own rollouts are bound to them.
// No parameter is animatable. The script names `penStrokeEnbale` and `multipassEnbale` are
// spelt as saved scenes and scene documents spell them.

namespace {

// The pass identifier of each listed node: 0..8, the tabs "1" to "9".
ParamDef multipassIdTable()
{
    ParamDef d;
    d.id = rendererMultipassId;
    d.name = "multipassID";
    d.type = TYPE_INT_TAB;
    d.labelId = strings::multipassId;
    d.hasRange = true;
    d.rangeMin = 0;
    d.rangeMax = 8;
    return d;
}

}  // namespace

ParamBlockDesc2& vmlRendererParamsBlock()
{
    static ParamBlockDesc2 desc = [] {
        ParamBlockDesc2 d(vmlRendererParamsBlockId, "parameters", 0, P_AUTO_CONSTRUCT, 0);
        d.addBool(rendererBlurstrEnable, "blurstrEnable", true, strings::enableBleedStrengthMap)
            .addInt(rendererBlurstrAmount, "blurstrAmount", 100, 0, 999, strings::bleedStrengthAmount)
            .addOwnerRef(rendererBlurstrMap, "blurstrMap", TYPE_TEXMAP, rendererBlurstrMapRef,
                         strings::bleedStrengthMap)
            .addBool(rendererBrushCacheEnable, "brushCacheEnable", true, strings::enableBrushCache)
            .addInt(rendererBrushCacheSize, "brushCacheSize", 64, 16, 512, strings::brushCacheSize)
            .addInt(rendererBrushCacheNumber, "brushCacheNumber", 16, 10, 99, strings::brushCacheCount)
            .addBool(rendererPenStrokeEnable, "penStrokeEnbale", false, strings::enablePenStrokes)
            .addInt(rendererPenStrokeBlend, "penStrokeBlend", 0, 0, 15, strings::penStrokeBlend)
            .addFloat(rendererPenStrokeAlpha, "penStrokeAlpha", 100.0f, 0.0f, 100.0f,
                      strings::penStrokeOpacity)
            .addBool(rendererBrushScaleEnable, "brushScaleEnable", false, strings::enableBrushScaling)
            .addInt(rendererBrushScaleAmount, "brushScaleAmount", 100, 10, 999, strings::brushScaleAmount)
            .addBool(rendererMultipassEnable, "multipassEnbale", false, strings::enableMultipass)
            .addTable(rendererMultipassNode, "multipassNode", TYPE_INODE_TAB, 0, strings::multipassObjects)
            .add(multipassIdTable())
            .addBool(rendererSaveMemoryEnable, "saveMemoryEnable", true, strings::saveMemory)
            .addTable(rendererMultipassCutNode, "multipassCutNode", TYPE_INODE_TAB, 0,
                      strings::multipassCutObjects);
        // The settings rollout's plain controls; the blend list and the node lists are its code's.
        d.control(rendererBlurstrEnable, ParamControl::checkBox, {1059})
            .control(rendererBlurstrAmount, ParamControl::spinner, {1060, 1061}, 1.0f)
            .control(rendererBlurstrMap, ParamControl::mapButton, {1062})
            .control(rendererBrushCacheEnable, ParamControl::checkBox, {1063})
            .control(rendererBrushCacheSize, ParamControl::spinner, {1064, 1065}, 1.0f)
            .control(rendererBrushCacheNumber, ParamControl::spinner, {1066, 1067}, 0.1f)
            .control(rendererPenStrokeEnable, ParamControl::checkBox, {1068})
            .control(rendererPenStrokeAlpha, ParamControl::spinner, {1106, 1107}, 0.1f)
            .control(rendererBrushScaleEnable, ParamControl::checkBox, {1069})
            .control(rendererBrushScaleAmount, ParamControl::spinner, {1070, 1071}, 1.0f)
            .control(rendererMultipassEnable, ParamControl::checkBox, {1072})
            .control(rendererSaveMemoryEnable, ParamControl::checkBox, {1117});
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
