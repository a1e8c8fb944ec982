#include "standalone/maps/CheckerMap.h"

#include "host/IParamBlock2.h"
#include "host/ParamBlockDesc2.h"
#include "standalone/HostClassDesc.h"

#include <cmath>

namespace standalone {

ParamBlockDesc2& CheckerMap::paramBlockDesc()
{
    static ParamBlockDesc2 desc = [] {
        ParamBlockDesc2 d(0, "parameters", 0, P_AUTO_CONSTRUCT, 0);
        declareColourInputs(d);
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

CheckerMap::CheckerMap() : TwoColourMap(classDesc()) { refresh(); }

void CheckerMap::readParams(IParamBlock2& block, TimeValue t, Interval& valid)
{
    readColourInputs(block, t, valid);
}

AColor CheckerMap::EvalColor(ShadeContext& sc)
{
    const Point2 uv = coordinates().eval(sc);
    const double cells = std::floor(2.0 * uv.x) + std::floor(2.0 * uv.y);
    const bool odd = std::fmod(std::fabs(cells), 2.0) >= 1.0;
    return colorOf(odd ? 1 : 0, sc);
}

}  // namespace standalone
