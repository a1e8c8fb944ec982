#pragma once
// The brush texture map's parameter block.

#include "host/ParamBlockDesc2.h"

namespace vml {

ParamBlockDesc2& vmlBrushParamBlock();  // 0 "parameters", automatic rollout: the brush editor

}  // namespace vml
