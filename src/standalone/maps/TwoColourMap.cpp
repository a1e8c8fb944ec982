#include "standalone/maps/TwoColourMap.h"

#include "host/IParamBlock2.h"
#include "host/ParamBlockDesc2.h"

namespace standalone {

void TwoColourMap::declareColourInputs(ParamBlockDesc2& d)
{
    d.addColor(pColor1, "color1", Color(0, 0, 0), 0, P_ANIMATABLE)
        .addColor(pColor2, "color2", Color(1, 1, 1), 0, P_ANIMATABLE)
        .addRef(pMap1, "map1", TYPE_TEXMAP, 0)
        .addRef(pMap2, "map2", TYPE_TEXMAP, 0)
        .addBool(pMap1Enable, "map1Enable", true, 0)
        .addBool(pMap2Enable, "map2Enable", true, 0);
}

void TwoColourMap::readColourInputs(IParamBlock2& block, TimeValue t, Interval& valid)
{
    block.GetValue(pColor1, t, colors_[0], valid);
    block.GetValue(pColor2, t, colors_[1], valid);
    for (int i = 0; i < 2; ++i) {
        int on = 1;
        block.GetValue(i == 0 ? pMap1Enable : pMap2Enable, t, on, valid);
        mapEnabled_[i] = on != 0;
    }
}

AColor TwoColourMap::colorOf(int which, ShadeContext& sc) const
{
    if (mapEnabled_[which])
        if (Texmap* m = subMap(which, sc))
            return m->EvalColor(sc);
    return colors_[which];
}

}  // namespace standalone
