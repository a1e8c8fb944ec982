#include "material/StrokePaintState.h"

#include "host/Angles.h"
#include "paint/vmlRasterBase.h"

#include <cmath>

namespace vml {

StrokePaintState strokePaintState(const mtlcache::PaintCache& p, StrokeRandom& random)
{
    StrokePaintState s;
    s.blendSwitch = p.paintBlendMethod == 0 && p.paintBlendAmount == 100.0f ? 0 : 1;
    s.blendMethod = p.paintBlendMethod;
    s.blendAmount = p.paintBlendAmount;

    PixelAdjustment& a = s.adjustment;
    a.colourType = p.paintColorType;
    a.jitterR = random.centred() * p.paintColorR * 0.02f;
    a.jitterG = random.centred() * p.paintColorG * 0.02f;
    a.jitterB = random.centred() * p.paintColorB * 0.02f;
    if (p.paintColorType == 1)
        a.jitterR *= 0.5f;  // hue turns less than the channels move
    a.mono = monoFactor(p.paintMonoEnable != 0, p.paintMonoAmount);
    a.contrast = contrastFactor(p.paintConEnable != 0, p.paintConAmount);
    a.whiteTransparency = whiteTransparencyFactor(p.paintWhiteTransEnable != 0, p.paintWhiteTransAmount);

    const float blur = (1.0f - random.next() * p.paintBlurRnd * 0.01f) * p.paintBlur * 0.01f;
    s.water = (blur * blur + blur) / 2.0f;
    s.edge = (1.0f - random.next() * p.paintBlurBoundRnd * 0.01f) * p.paintBlurBound * 0.01f;
    s.dry = (1.0f - random.next() * p.paintDryRnd * 0.01f) * p.paintDry * 0.01f;
    const float windAngle = radians(random.centred() * p.paintWindRnd * 0.45f + p.paintWindAngle);
    const float wind = p.paintWind * 0.01f;
    s.wind = {std::cos(windAngle) * wind, std::sin(windAngle) * wind};
    s.mix = (1.0f - random.next() * p.paintMixRnd * 0.01f) * p.paintMix * 0.01f;
    return s;
}

void applyPaintState(const StrokePaintState& s, vmlRasterBase& canvas)
{
    canvas.SetBlendSwitch(s.blendSwitch);
    canvas.SetBlendMethod(s.blendMethod);
    canvas.SetBlendAmount(s.blendAmount);
    canvas.SetWater(s.water);
    canvas.SetEdge(s.edge);
    canvas.SetWind(s.wind);
    canvas.SetMix(s.mix);
    canvas.SetDry(s.dry);
}

}  // namespace vml
