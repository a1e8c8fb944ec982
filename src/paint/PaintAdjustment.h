#pragma once
// The colour adjustment the stroke painter applies to every covered pixel before it deposits it,
// and the per-stroke factors of the material's paint block that need no random draws.

#include "host/Color.h"

namespace vml {

// One stroke's adjustment. The jitters are the stroke's drawn values, already scaled; for the HSV
// colour type they apply to hue, saturation and value (the hue jitter already halved). Zero
// factors switch their step off.
struct PixelAdjustment {
    float jitterR = 0, jitterG = 0, jitterB = 0;
    int colourType = 0;  // 0: jitter RGB, 1: jitter HSV
    float mono = 0;
    float contrast = 0;
    float whiteTransparency = 0;
};

// colour: RGB and alpha of the pixel before adjustment; coverage: the pixel's stroke coverage.
// In order: jitter (then clamp), alpha x coverage, monochrome, contrast (then clamp RGBA), white
// transparency.
void adjustPixelColour(const PixelAdjustment& adjustment, AColor& colour, float coverage);
// The same in two halves: the jitter, and everything after it. A stroke whose pixels share one
// colour jitters it once.
void jitterPixelColour(const PixelAdjustment& adjustment, AColor& colour);
// Inline: it runs for every covered pixel, and a call leaves the colour in memory for the
// deposit to read back at once.
inline void finishPixelColour(const PixelAdjustment& adjustment, AColor& colour, float coverage)
{
    auto luminance = [](const AColor& c) { return 0.3f * c.r + 0.59f * c.g + 0.11f * c.b; };
    colour.a *= coverage;
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

// k: 0 when off; a positive amount pushes channels away from 0.5 (k = -2 x amount%), a negative
// one pulls them toward it (k = -0.8 x amount%).
float contrastFactor(bool enabled, float amountPercent);
// m: the share of grey, amount%; 0 when off. The adjustment uses m squared.
float monoFactor(bool enabled, float amountPercent);
// w: amount%, 0 when off. White paint loses alpha in proportion to 1 - (1 - w)^2.
float whiteTransparencyFactor(bool enabled, float amountPercent);

}  // namespace vml
