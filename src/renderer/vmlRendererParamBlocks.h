#pragma once
// The renderer's three parameter blocks.

#include "host/ParamBlockDesc2.h"

namespace vml {

enum vmlRendererBlockId : BlockID {
    vmlRendererParamsBlockId = 0,   // "parameters": the settings
    vmlRendererVersionBlockId = 1,  // "version": no parameters; owns the version rollout
    vmlRendererSummaryBlockId = 2,  // "param": no parameters; owns the progress summary rollout
};

// Parameters of block "parameters". The ids are stored in saved scenes.
enum vmlRendererParamId : ParamID {
    rendererBlurstrEnable = 0,
    rendererBlurstrAmount = 1,
    rendererBlurstrMap = 2,  // the renderer's reference rendererBlurstrMapRef
    rendererBrushCacheEnable = 3,
    rendererBrushCacheSize = 4,
    rendererBrushCacheNumber = 5,
    rendererPenStrokeEnable = 6,
    rendererPenStrokeBlend = 7,
    rendererPenStrokeAlpha = 8,
    rendererBrushScaleEnable = 9,
    rendererBrushScaleAmount = 10,
    rendererMultipassEnable = 11,
    rendererMultipassNode = 12,  // node table, parallel to rendererMultipassId
    rendererMultipassId = 13,    // int table: pass identifier 0..8 of each listed node
    rendererSaveMemoryEnable = 14,
    rendererMultipassCutNode = 15,  // node table: the cut-and-paste clipboard
};

// The renderer's reference that holds the bleed-strength map.
constexpr int rendererBlurstrMapRef = 3;

ParamBlockDesc2& vmlRendererParamsBlock();
ParamBlockDesc2& vmlRendererVersionBlock();
ParamBlockDesc2& vmlRendererSummaryBlock();

}  // namespace vml
