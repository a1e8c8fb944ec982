#pragma once
// "Gradient": colours along the map's V coordinate, clamped to [0, 1] (no repeat).
// Three colours (colorCount 3): color1 at v = 1, color2 at v = midpoint, color3 at v = 0, linear
// in between. Two colours (colorCount 2): color1 at v = 1, color2 at v = 0, the even mix at
// v = midpoint. Script names: color1, color2, color3, colorCount, midpoint, plus the coordinates.

#include "standalone/maps/MapBase.h"

class ParamBlockDesc2;

namespace standalone {

class GradientMap final : public MapBase {
public:
    GradientMap();

    static ClassDesc2& classDesc();
    static ParamBlockDesc2& paramBlockDesc();

    AColor EvalColor(ShadeContext& sc) override;

protected:
    void readParams(IParamBlock2& block, TimeValue t, Interval& valid) override;

private:
    AColor colors_[3];
    int colorCount_ = 3;
    float midpoint_ = 0.5f;
};

}  // namespace standalone
