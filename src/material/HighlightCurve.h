#pragma once
// The shaped highlight of vmlMaterial: from the plain specular intensity i of the highlight
// material to the amount h by which the highlight colour is blended in. The level sets the
// intensity at which the highlight saturates, the sharpness narrows the soft transition band
// around half that level.

#include <optional>

namespace vml {

// Sharpness 100 leaves a band of this fraction: narrow but never empty.
constexpr float highlightSharpStep = 0.0099f;

// i: mean specular intensity (at most 1); hiLevel: percent, any non-negative value (above 100
// saturates at once); hiSharp: percent 0..100 (values outside are taken at the nearest end).
// Empty when the sample gets no highlight.
std::optional<float> highlightAmount(float i, int hiLevel, int hiSharp);

}  // namespace vml
