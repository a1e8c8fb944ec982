#pragma once
// The material's five parameter blocks. Block id = the material's reference index.

#include "host/ParamBlockDesc2.h"

namespace vml {

enum vmlMaterialBlockId : BlockID {
    vmlMaterialBaseBlockId = 0,
    vmlMaterialBrushBlockId = 1,
    vmlMaterialStrokeBlockId = 2,
    vmlMaterialPaintBlockId = 3,
    vmlMaterialVersionBlockId = 4,
};

ParamBlockDesc2& vmlMaterialBaseBlock();
ParamBlockDesc2& vmlMaterialBrushBlock();
ParamBlockDesc2& vmlMaterialStrokeBlock();
ParamBlockDesc2& vmlMaterialPaintBlock();
ParamBlockDesc2& vmlMaterialVersionBlock();

}  // namespace vml
