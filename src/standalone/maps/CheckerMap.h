#pragma once
// "Checker": two colours in a 2 x 2 checkerboard per unit of the map's coordinates, colour 1 in
// the cell that holds (0.25, 0.25). Each colour may be replaced by a sub-map.
// Script names: color1, color2, map1, map2, map1Enable, map2Enable, plus the coordinates.

#include "standalone/maps/TwoColourMap.h"

class ParamBlockDesc2;

namespace standalone {

class CheckerMap final : public TwoColourMap {
public:
    CheckerMap();

    static ClassDesc2& classDesc();
    static ParamBlockDesc2& paramBlockDesc();

    AColor EvalColor(ShadeContext& sc) override;

protected:
    void readParams(IParamBlock2& block, TimeValue t, Interval& valid) override;
};

}  // namespace standalone
