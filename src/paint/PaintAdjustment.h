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
// Monochrome, contrast and white transparency, as finishPixelColour applies them.
void adjustFinishedColour(const PixelAdjustment& adjustment, AColor& colour);
// Inline for the common stroke without those steps: it runs for every covered pixel, and a call
// would leave the colour in memory for the deposit to read back at once.
inline void finishPixelColour(const PixelAdjustment& adjustment, AColor& colour, float coverage)
{
    colour.a *= coverage;
    if (adjustment.mono != 0.0f || adjustment.contrast != 0.0f || adjustment.whiteTransparency != 0.0f)
        adjustFinishedColour(adjustment, colour);
}

// k: 0 when off; a positive amount pushes channels away from 0.5 (k = -2 x amount%), a negative
// one pulls them toward it (k = -0.8 x amount%).
float contrastFactor(bool enabled, float amountPercent);
// m: the share of grey, amount%; 0 when off. The adjustment uses m squared.
float monoFactor(bool enabled, float amountPercent);
// w: amount%, 0 when off. White paint loses alpha in proportion to 1 - (1 - w)^2.
float whiteTransparencyFactor(bool enabled, float amountPercent);

}  // namespace vml
