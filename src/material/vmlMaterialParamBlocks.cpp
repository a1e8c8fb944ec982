#include "material/vmlMaterialParamBlocks.h"

#include "host/Rollout.h"

namespace vml {

namespace {

// Every material block is built for each material as the reference of its id, with an automatic
// rollout titled by the block's name.
ParamBlockDesc2 materialBlock(BlockID id, const char* name, int titleId, int dialogId, DWORD rolloutFlags = 0)
{
    ParamBlockDesc2 d(id, name, titleId, P_AUTO_CONSTRUCT | P_AUTO_UI, id);
    d.SetRollout(dialogId, titleId, rolloutFlags);
    return d;
}

}  // namespace

// The parameters of each block are declared with the material.

ParamBlockDesc2& vmlMaterialBaseBlock()
{
    static ParamBlockDesc2 desc = materialBlock(vmlMaterialBaseBlockId, "parameters", 100, 109);
    return desc;
}

ParamBlockDesc2& vmlMaterialBrushBlock()
{
    static ParamBlockDesc2 desc = materialBlock(vmlMaterialBrushBlockId, "brush", 102, 103);
    return desc;
}

ParamBlockDesc2& vmlMaterialStrokeBlock()
{
    static ParamBlockDesc2 desc = materialBlock(vmlMaterialStrokeBlockId, "stroke", 103, 110);
    return desc;
}

ParamBlockDesc2& vmlMaterialPaintBlock()
{
    static ParamBlockDesc2 desc = materialBlock(vmlMaterialPaintBlockId, "paint", 104, 111);
    return desc;
}

ParamBlockDesc2& vmlMaterialVersionBlock()
{
    static ParamBlockDesc2 desc =
        materialBlock(vmlMaterialVersionBlockId, "version", 101, 104, APPENDROLL_CLOSED);
    return desc;
}

}  // namespace vml
