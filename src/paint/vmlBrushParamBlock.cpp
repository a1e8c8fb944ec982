#include "paint/vmlBrushParamBlock.h"

namespace vml {

// Parameters are declared with the brush.
ParamBlockDesc2& vmlBrushParamBlock()
{
    static ParamBlockDesc2 desc = [] {
        ParamBlockDesc2 d(0, "parameters", 500, P_AUTO_CONSTRUCT | P_AUTO_UI, 0);
        d.SetRollout(113, 500);
        return d;
    }();
    return desc;
}

}  // namespace vml
