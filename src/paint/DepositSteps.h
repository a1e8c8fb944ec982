#pragma once
// The steps of DepositPaint that both canvas kinds share. A deposit works on a copy of the
// canvas's paint state and never writes the state back, so every pixel deposited after one
// SetPaintColour receives the same paint. Wet is RasterPixel or WetCell.

#include "paint/Blend.h"
#include "paint/vmlRasterBase.h"

#include <algorithm>
#include <cmath>

namespace vml {

// Water as the deposit uses it: past 1, (1 - W)^8 would grow again and overshoot the colour.
inline float depositWater(float water) { return std::clamp(water, 0.0f, 1.0f); }

// With the blend switch on, the paint's RGB becomes the canvas colour blended with the paint by
// the blend amount; amount 0 leaves plain canvas colour. Alpha is kept.
inline void blendPaintWithCanvas(AColor& paint, const AColor& canvas, const CanvasPaintState& state)
{
    if (!state.blendSwitch)
        return;
    const float amount = state.blendAmount * 0.01f;
    Color copy(canvas.r, canvas.g, canvas.b);
    if (amount != 0.0f)
        Blend(copy, Color(paint), amount, blendMethodId(state.blendMethod));
    paint.r = copy.r, paint.g = copy.g, paint.b = copy.b;
}

// The wet colour the paint would pick up: standing wet paint and the sums still arriving,
// weighted by water and in-weight.
inline AColor combinedWetColour(const AColor& standing, float water, const AColor& incoming, float inWeight)
{
    const float weight = inWeight + water;
    return {(standing.r * water + incoming.r) / weight, (standing.g * water + incoming.g) / weight,
            (standing.b * water + incoming.b) / weight, (standing.a * water + incoming.a) / weight};
}

// The paint picks up `wet` by q = min(0.5, (1 - |alpha difference|) x pick); differing colours
// darken each other by mix x q.
inline void pickUpWetColour(AColor& paint, const AColor& wet, float pick, float mix)
{
    const float q = std::min(0.5f, (1.0f - std::fabs(paint.a - wet.a)) * pick);
    const float darken = mix * q;
    paint.r = (1.0f - std::fabs(wet.r - paint.r) * darken) * (paint.r + (wet.r - paint.r) * q);
    paint.g = (1.0f - std::fabs(wet.g - paint.g) * darken) * (paint.g + (wet.g - paint.g) * q);
    paint.b = (1.0f - std::fabs(wet.b - paint.b) * darken) * (paint.b + (wet.b - paint.b) * q);
}

// New paint displaces the wet paint under it in proportion to coverage. Coverage above 1 (a
// brush map brighter than white) displaces all of it rather than turning the water negative.
template <class Wet> inline void displaceWetPaint(Wet& wet, float coverage)
{
    const float keep = 1.0f - std::min(coverage, 1.0f);
    wet.water *= keep;
    wet.inWeight *= keep;
    wet.inEdge *= keep;
    wet.inDry *= keep;
    wet.inWind *= keep;
    wet.inColour *= keep;
}

// Feeds weight d of the paint into the wet layer's incoming sums.
template <class Wet>
inline void feedWetPaint(Wet& wet, float d, const AColor& paint, const CanvasPaintState& state)
{
    wet.inEdge += d * state.edge;
    wet.inColour += paint * d;
    wet.inWind += state.wind * d;
    wet.inDry += d * state.dry;
    wet.inWeight += d;
}

// Lays the paint directly in proportion to how dry it is: t = (1 - W)^8 x alpha.
inline void depositDirect(AColor& canvas, const AColor& paint, float water)
{
    const float dry = 1.0f - water;
    const float dry2 = dry * dry;
    const float dry4 = dry2 * dry2;
    const float t = dry4 * dry4 * paint.a;
    canvas.r += (paint.r - canvas.r) * t;
    canvas.g += (paint.g - canvas.g) * t;
    canvas.b += (paint.b - canvas.b) * t;
    canvas.a = (1.0f - t) * canvas.a + t;
}

}  // namespace vml
