#pragma once
// The renderer's three parameter blocks.

#include "host/ParamBlockDesc2.h"

namespace vml {

enum vmlRendererBlockId : BlockID {
    vmlRendererParamsBlockId = 0,   // "parameters": the settings
    vmlRendererVersionBlockId = 1,  // "version": no parameters; owns the version rollout
    vmlRendererSummaryBlockId = 2,  // "param": no parameters; owns the progress summary rollout
};

ParamBlockDesc2& vmlRendererParamsBlock();
ParamBlockDesc2& vmlRendererVersionBlock();
ParamBlockDesc2& vmlRendererSummaryBlock();

}  // namespace vml
