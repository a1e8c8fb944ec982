#include "material/vmlMaterialParamBlocks.h"

#include "host/Rollout.h"

namespace vml {

namespace {
constexpr int autoBlock = P_AUTO_CONSTRUCT | P_AUTO_UI;
}

// The parameters of each block are declared with the material.

ParamBlockDesc2& vmlMaterialBaseBlock()
{
    static ParamBlockDesc2 desc = [] {
        ParamBlockDesc2 d(vmlMaterialBaseBlockId, "parameters", 100, autoBlock, vmlMaterialBaseBlockId);
        d.SetRollout(109, 100);
        return d;
    }();
    return desc;
}

ParamBlockDesc2& vmlMaterialBrushBlock()
{
    static ParamBlockDesc2 desc = [] {
        ParamBlockDesc2 d(vmlMaterialBrushBlockId, "brush", 102, autoBlock, vmlMaterialBrushBlockId);
        d.SetRollout(103, 102);
        return d;
    }();
    return desc;
}

ParamBlockDesc2& vmlMaterialStrokeBlock()
{
    static ParamBlockDesc2 desc = [] {
        ParamBlockDesc2 d(vmlMaterialStrokeBlockId, "stroke", 103, autoBlock, vmlMaterialStrokeBlockId);
        d.SetRollout(110, 103);
        return d;
    }();
    return desc;
}

ParamBlockDesc2& vmlMaterialPaintBlock()
{
    static ParamBlockDesc2 desc = [] {
        ParamBlockDesc2 d(vmlMaterialPaintBlockId, "paint", 104, autoBlock, vmlMaterialPaintBlockId);
        d.SetRollout(111, 104);
        return d;
    }();
    return desc;
}

ParamBlockDesc2& vmlMaterialVersionBlock()
{
    static ParamBlockDesc2 desc = [] {
        ParamBlockDesc2 d(vmlMaterialVersionBlockId, "version", 101, autoBlock, vmlMaterialVersionBlockId);
        d.SetRollout(104, 101, APPENDROLL_CLOSED);
        return d;
    }();
    return desc;
}

}  // namespace vml
