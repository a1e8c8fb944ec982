#pragma once
// The material of nodes that have none: matte grey, lit by the frame's lights and the ambient
// light.

#include "host/Mtl.h"

namespace standalone::scanline {

class DefaultMaterial : public Mtl {
public:
    static constexpr float grey = 0.6f;

    void Shade(ShadeContext& sc) override;
    void Update(TimeValue, Interval&) override {}
    Color GetDiffuse() override { return Color(grey, grey, grey); }
    Color GetAmbient() override { return Color(grey, grey, grey); }
};

}  // namespace standalone::scanline
