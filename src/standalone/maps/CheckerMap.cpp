#include "standalone/maps/CheckerMap.h"

#include "host/IParamBlock2.h"
#include "host/ParamBlockDesc2.h"
#include "standalone/HostClassDesc.h"

#include <cmath>

namespace standalone {

namespace {

enum : ParamID { pColor1, pColor2, pMap1, pMap2, pMap1Enable, pMap2Enable };

}  // namespace

ParamBlockDesc2& CheckerMap::paramBlockDesc()
{
    static ParamBlockDesc2 desc = [] {
        ParamBlockDesc2 d(0, "parameters", 0, P_AUTO_CONSTRUCT, 0);
        d.addColor(pColor1, "color1", Color(0, 0, 0), 0, P_ANIMATABLE)
            .addColor(pColor2, "color2", Color(1, 1, 1), 0, P_ANIMATABLE)
            .addRef(pMap1, "map1", TYPE_TEXMAP, 0)
            .addRef(pMap2, "map2", TYPE_TEXMAP, 0)
            .addBool(pMap1Enable, "map1Enable", true, 0)
            .addBool(pMap2Enable, "map2Enable", true, 0);
        UVCoordinates::declare(d);
        return d;
    }();
    return desc;
}

ClassDesc2& CheckerMap::classDesc()
{
    static HostClassDesc desc(
        "Checker", TEXMAP_CLASS_ID, kCheckerMapClassId, []() -> ReferenceTarget* { return new CheckerMap(); },
        paramBlockDesc());
    return desc;
}

CheckerMap::CheckerMap() : MapBase(classDesc(), {pMap1, pMap2}) { refresh(); }

void CheckerMap::readParams(IParamBlock2& block, TimeValue t, Interval& valid)
{
    block.GetValue(pColor1, t, colors_[0], valid);
    block.GetValue(pColor2, t, colors_[1], valid);
    int on = 1;
    block.GetValue(pMap1Enable, t, on, valid);
    mapEnabled_[0] = on != 0;
    on = 1;
    block.GetValue(pMap2Enable, t, on, valid);
    mapEnabled_[1] = on != 0;
}

AColor CheckerMap::colorOf(int which, ShadeContext& sc)
{
    if (mapEnabled_[which])
        if (Texmap* m = subMap(which, sc))
            return m->EvalColor(sc);
    return colors_[which];
}

AColor CheckerMap::EvalColor(ShadeContext& sc)
{
    const Point2 uv = coordinates().eval(sc);
    const double cells = std::floor(2.0 * uv.x) + std::floor(2.0 * uv.y);
    const bool odd = std::fmod(std::fabs(cells), 2.0) >= 1.0;
    return colorOf(odd ? 1 : 0, sc);
}

}  // namespace standalone
