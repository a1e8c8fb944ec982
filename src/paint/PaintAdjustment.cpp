#include "paint/PaintAdjustment.h"

#include "host/ColorSpace.h"

#include <cmath>

namespace vml {
namespace {

void jitterHsv(const PixelAdjustment& adjustment, AColor& colour)
{
    Color hsv = RGBtoHSV(Color(colour));
    hsv.r += adjustment.jitterR;
    hsv.g += adjustment.jitterG;
    hsv.b += adjustment.jitterB;
    // Hue is periodic: whole turns come off whatever the jitter (same as stepping by 1, bounded).
    if (hsv.r < 0.0f || hsv.r > 1.0f)
        hsv.r -= std::floor(hsv.r);
    hsv.ClampMinMax();
    const Color rgb = HSVtoRGB(hsv);
    colour.r = rgb.r, colour.g = rgb.g, colour.b = rgb.b;
}

}  // namespace

void jitterPixelColour(const PixelAdjustment& adjustment, AColor& colour)
{
    if (adjustment.colourType == 1) {
        jitterHsv(adjustment, colour);
    } else {
        colour.r += adjustment.jitterR;
        colour.g += adjustment.jitterG;
        colour.b += adjustment.jitterB;
        colour.ClampMinMax();
    }
}

void adjustPixelColour(const PixelAdjustment& adjustment, AColor& colour, float coverage)
{
    jitterPixelColour(adjustment, colour);
    finishPixelColour(adjustment, colour, coverage);
}

void adjustFinishedColour(const PixelAdjustment& adjustment, AColor& colour)
{
    auto luminance = [](const AColor& c) { return 0.3f * c.r + 0.59f * c.g + 0.11f * c.b; };
    if (adjustment.mono != 0.0f) {
        const float y = luminance(colour);
        const float m2 = adjustment.mono * adjustment.mono;
        colour.r += (y - colour.r) * m2;
        colour.g += (y - colour.g) * m2;
        colour.b += (y - colour.b) * m2;
    }
    if (adjustment.contrast != 0.0f) {
        const float k = adjustment.contrast;
        colour.r += (0.5f - colour.r) * k;
        colour.g += (0.5f - colour.g) * k;
        colour.b += (0.5f - colour.b) * k;
        colour.ClampMinMax();
    }
    if (adjustment.whiteTransparency != 0.0f) {
        const float keep = 1.0f - adjustment.whiteTransparency;
        colour.a *= 1.0f - luminance(colour) * (1.0f - keep * keep);
    }
}

float contrastFactor(bool enabled, float amountPercent)
{
    if (!enabled)
        return 0.0f;
    return amountPercent > 0.0f ? -2.0f * amountPercent * 0.01f : -0.8f * amountPercent * 0.01f;
}

float monoFactor(bool enabled, float amountPercent) { return enabled ? amountPercent * 0.01f : 0.0f; }

float whiteTransparencyFactor(bool enabled, float amountPercent)
{
    return enabled ? amountPercent * 0.01f : 0.0f;
}

}  // namespace vml
