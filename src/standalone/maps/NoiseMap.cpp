#include "standalone/maps/NoiseMap.h"

#include "host/IParamBlock2.h"
#include "host/ParamBlockDesc2.h"
#include "host/ShadeContext.h"
#include "standalone/HostClassDesc.h"
#include "standalone/maps/GradientNoise3.h"

#include <algorithm>
#include <cmath>

namespace standalone {

namespace {

enum : ParamID { pSize = TwoColourMap::firstOwnParam, pLevels, pSpace };

}  // namespace

ParamBlockDesc2& NoiseMap::paramBlockDesc()
{
    static ParamBlockDesc2 desc = [] {
        ParamBlockDesc2 d(0, "parameters", 0, P_AUTO_CONSTRUCT, 0);
        declareColourInputs(d);
        d.addWorld(pSize, "size", 1.0f, 1e-4f, 1e6f, 0, P_ANIMATABLE)
            .addInt(pLevels, "levels", 1, 1, 10, 0)
            .addInt(pSpace, "space", objectSpace, objectSpace, uvSpace, 0);
        UVCoordinates::declare(d);
        return d;
    }();
    return desc;
}

ClassDesc2& NoiseMap::classDesc()
{
    static HostClassDesc desc(
        "Noise", TEXMAP_CLASS_ID, kNoiseMapClassId, []() -> ReferenceTarget* { return new NoiseMap(); },
        paramBlockDesc());
    return desc;
}

NoiseMap::NoiseMap() : TwoColourMap(classDesc()) { refresh(); }

void NoiseMap::readParams(IParamBlock2& block, TimeValue t, Interval& valid)
{
    readColourInputs(block, t, valid);
    block.GetValue(pSize, t, size_, valid);
    block.GetValue(pLevels, t, levels_, valid);
    block.GetValue(pSpace, t, space_, valid);
    // A zero, negative or non-finite size would put every sample at the same noise cell or
    // divide by zero.
    if (!std::isfinite(size_) || size_ < 1e-4f)
        size_ = 1e-4f;
    levels_ = std::clamp(levels_, 1, 10);
    space_ = space_ == uvSpace ? uvSpace : objectSpace;
}

float NoiseMap::noiseValue(ShadeContext& sc) const
{
    Point3 p;
    if (space_ == uvSpace) {
        const Point2 uv = coordinates().eval(sc);
        p = Point3(uv.x, uv.y, 0.0f);
    } else {
        p = sc.PObj();
    }
    const float n = fractalNoise3(p / size_, levels_);
    return std::clamp(0.5f + 0.5f * n, 0.0f, 1.0f);
}

AColor NoiseMap::EvalColor(ShadeContext& sc)
{
    const float t = noiseValue(sc);
    return mixColor(colorOf(0, sc), colorOf(1, sc), t);
}

}  // namespace standalone
