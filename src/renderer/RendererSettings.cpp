#include "renderer/RendererSettings.h"

#include "host/IParamBlock2.h"
#include "renderer/vmlRendererParamBlocks.h"

#include <algorithm>

namespace vml {

namespace {

int rangedInt(IParamBlock2& block, ParamID id)
{
    const int v = block.GetInt(id, 0);
    const ParamDef* def = block.GetParamDef(id);
    if (!def || !def->hasRange)
        return v;
    return std::clamp(v, static_cast<int>(def->rangeMin), static_cast<int>(def->rangeMax));
}

float rangedFloat(IParamBlock2& block, ParamID id)
{
    const float v = block.GetFloat(id, 0);
    const ParamDef* def = block.GetParamDef(id);
    if (!def || !def->hasRange)
        return v;
    return std::clamp(v, static_cast<float>(def->rangeMin), static_cast<float>(def->rangeMax));
}

}  // namespace

RendererSettings readRendererSettings(IParamBlock2* block, bool inMtlEdit)
{
    RendererSettings s;
    if (block) {
        s.bleedMapEnable = block->GetInt(rendererBlurstrEnable, 0) != 0;
        s.bleedAmount = rangedInt(*block, rendererBlurstrAmount);
        s.brushCacheEnable = block->GetInt(rendererBrushCacheEnable, 0) != 0;
        s.brushCacheSize = rangedInt(*block, rendererBrushCacheSize);
        s.brushCacheNumber = rangedInt(*block, rendererBrushCacheNumber);
        s.penStrokeEnable = block->GetInt(rendererPenStrokeEnable, 0) != 0;
        s.penStrokeBlend = rangedInt(*block, rendererPenStrokeBlend);
        s.penStrokeAlpha = rangedFloat(*block, rendererPenStrokeAlpha) * 0.01f;
        s.brushScaleEnable = block->GetInt(rendererBrushScaleEnable, 0) != 0;
        s.brushScale = static_cast<float>(rangedInt(*block, rendererBrushScaleAmount)) * 0.01f;
        s.brushScaleInverse = 1.0f / s.brushScale;
        s.multipassEnable = block->GetInt(rendererMultipassEnable, 0) != 0;
        s.saveMemory = block->GetInt(rendererSaveMemoryEnable, 0) != 0;
    }
    if (inMtlEdit || !s.brushScaleEnable)
        s.brushScale = s.brushScaleInverse = 1.0f;
    if (inMtlEdit) {
        s.penStrokeEnable = false;
        s.multipassEnable = false;
    }
    return s;
}

}  // namespace vml
