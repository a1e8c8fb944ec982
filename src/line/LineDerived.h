#pragma once
// The derived words of a line element's settings, computed after its parameters are read.

#include "line/LineSettings.h"

namespace vml {

// The stamp-shaping values of the previous update, to tell whether the stamp changed.
struct LineShape {
    float radius = 0.0f;
    float stretch = 0.0f;
    float angle = 0.0f;
};

// Fills words 34-47 from the raw parameters and replaces word 9 (lineWidth) by the stamp radius
// and word 11 (lineStretch) by the stretch (lineStretch * 0.1). Call once per read of the raw
// parameters: a second call would derive from already-derived words. Returns whether radius,
// stretch or angle differ from `last`, which then holds the new ones.
bool updateLineDerived(LineSettings& settings, LineShape& last);

}  // namespace vml
