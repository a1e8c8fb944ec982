#include "standalone/maps/GradientMap.h"

#include "host/IParamBlock2.h"
#include "host/ParamBlockDesc2.h"
#include "standalone/HostClassDesc.h"

#include <algorithm>
#include <cmath>

namespace standalone {

namespace {

enum : ParamID { pColor1, pColor2, pColor3, pColorCount, pMidpoint };

}  // namespace

ParamBlockDesc2& GradientMap::paramBlockDesc()
{
    static ParamBlockDesc2 desc = [] {
        ParamBlockDesc2 d(0, "parameters", 0, P_AUTO_CONSTRUCT, 0);
        d.addColor(pColor1, "color1", Color(0, 0, 0), 0, P_ANIMATABLE)
            .addColor(pColor2, "color2", Color(0.5f, 0.5f, 0.5f), 0, P_ANIMATABLE)
            .addColor(pColor3, "color3", Color(1, 1, 1), 0, P_ANIMATABLE)
            .addInt(pColorCount, "colorCount", 3, 2, 3, 0)
            .addFloat(pMidpoint, "midpoint", 0.5f, 0.0f, 1.0f, 0, P_ANIMATABLE);
        UVCoordinates::declare(d);
        return d;
    }();
    return desc;
}

ClassDesc2& GradientMap::classDesc()
{
    static HostClassDesc desc(
        "Gradient", TEXMAP_CLASS_ID, kGradientMapClassId,
        []() -> ReferenceTarget* { return new GradientMap(); }, paramBlockDesc());
    return desc;
}

GradientMap::GradientMap() : MapBase(classDesc(), {}) { refresh(); }

void GradientMap::readParams(IParamBlock2& block, TimeValue t, Interval& valid)
{
    for (int i = 0; i < 3; ++i)
        block.GetValue(static_cast<ParamID>(pColor1 + i), t, colors_[i], valid);
    block.GetValue(pColorCount, t, colorCount_, valid);
    block.GetValue(pMidpoint, t, midpoint_, valid);
    colorCount_ = colorCount_ == 2 ? 2 : 3;
    // Keep both halves non-empty so the ramp never divides by zero.
    midpoint_ = std::isfinite(midpoint_) ? std::clamp(midpoint_, 1e-4f, 1.0f - 1e-4f) : 0.5f;
}

AColor GradientMap::EvalColor(ShadeContext& sc)
{
    float v = coordinates().eval(sc).y;
    v = std::isfinite(v) ? std::clamp(v, 0.0f, 1.0f) : 0.5f;
    const AColor& top = colors_[0];
    const AColor& bottom = colorCount_ == 2 ? colors_[1] : colors_[2];
    if (colorCount_ == 2) {
        // Weight of the top colour: 0.5 at the midpoint, piecewise linear.
        const float w =
            v <= midpoint_ ? 0.5f * v / midpoint_ : 0.5f + 0.5f * (v - midpoint_) / (1.0f - midpoint_);
        return mixColor(bottom, top, w);
    }
    if (v <= midpoint_)
        return mixColor(bottom, colors_[1], v / midpoint_);
    return mixColor(colors_[1], top, (v - midpoint_) / (1.0f - midpoint_));
}

}  // namespace standalone
