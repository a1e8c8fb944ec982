#pragma once
// A map that mixes two colours, each of which an enabled sub-map may replace. Its block starts
// with the parameters color1, color2, map1, map2, map1Enable, map2Enable (ids 0 to 5); the two
// maps are sub-maps 0 and 1.

#include "standalone/maps/MapBase.h"

class ParamBlockDesc2;

namespace standalone {

class TwoColourMap : public MapBase {
public:
    enum : ParamID { pColor1, pColor2, pMap1, pMap2, pMap1Enable, pMap2Enable, firstOwnParam };

protected:
    explicit TwoColourMap(ClassDesc2& desc) : MapBase(desc, {pMap1, pMap2}) {}

    // Declares parameters 0 to 5 (colour 1 black, colour 2 white).
    static void declareColourInputs(ParamBlockDesc2& d);
    void readColourInputs(IParamBlock2& block, TimeValue t, Interval& valid);
    // Colour `which` (0 or 1) at sc: the enabled sub-map's, else the colour parameter.
    AColor colorOf(int which, ShadeContext& sc) const;

private:
    AColor colors_[2];
    bool mapEnabled_[2] = {true, true};
};

}  // namespace standalone
