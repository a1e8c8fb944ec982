#pragma once
// "Noise": gradient noise mixing two colours (each may be a sub-map), colour 1 where the noise
// is lowest. The noise is read at the object-space point (space 0) or at the map's UV coordinates
// (space 1, w = 0), divided by size; levels > 1 adds finer octaves.
// Script names: color1, color2, map1, map2, map1Enable, map2Enable, size, levels, space, plus
// the coordinates (used in UV space).

#include "standalone/maps/TwoColourMap.h"

class ParamBlockDesc2;

namespace standalone {

class NoiseMap final : public TwoColourMap {
public:
    enum Space { objectSpace = 0, uvSpace = 1 };

    NoiseMap();

    static ClassDesc2& classDesc();
    static ParamBlockDesc2& paramBlockDesc();

    AColor EvalColor(ShadeContext& sc) override;
    // The noise value mapped to [0, 1], before the colours are applied.
    float noiseValue(ShadeContext& sc) const;

protected:
    void readParams(IParamBlock2& block, TimeValue t, Interval& valid) override;
    bool usesUV() const override { return space_ == uvSpace && coordinates().usesUV(); }
    float spatialScale() const override { return size_; }

private:
    float size_ = 1.0f;
    int levels_ = 1;
    int space_ = objectSpace;
};

}  // namespace standalone
