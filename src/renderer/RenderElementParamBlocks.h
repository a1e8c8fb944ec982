#pragma once
// The parameter blocks of the two render elements.

#include "host/ParamBlockDesc2.h"

namespace vml {

ParamBlockDesc2& lineFxRenderElementBlock();
ParamBlockDesc2& crayonStrokeRenderElementBlock();

}  // namespace vml
