#pragma once
// The sixteen colour blend methods. A method is named by an id 50..65 (also the string-table id
// of its display name); stored parameters and the drop-down lists hold a list position 0..15,
// which blendMethodTable / blendMethodId translate to the id.

#include "host/Color.h"

#include <array>

namespace vml {

enum BlendMethod : int {
    blendNormal = 50,
    blendAdd = 51,
    blendSubtract = 52,
    blendMultiply = 53,
    blendScreen = 54,
    blendOverlay = 55,
    blendSoftLight = 56,
    blendHardLight = 57,
    blendDarken = 58,
    blendLighten = 59,
    blendDifference = 60,
    blendExclusion = 61,
    blendHue = 62,
    blendSaturation = 63,
    blendColour = 64,
    blendLuminosity = 65,
};

constexpr int blendMethodCount = 16;

// List position -> method id. Not the identity: hard light sits before soft light in the lists,
// so positions 6 and 7 hold 57 and 56.
inline constexpr std::array<int, blendMethodCount> blendMethodTable = {
    blendNormal,    blendAdd,        blendSubtract, blendMultiply,   blendScreen,     blendOverlay,
    blendHardLight, blendSoftLight,  blendDarken,   blendLighten,    blendDifference, blendExclusion,
    blendHue,       blendSaturation, blendColour,   blendLuminosity,
};

// The method id of a list position. Stored files can hold any value, so a position outside
// 0..15 gives normal rather than an out-of-bounds read.
constexpr int blendMethodId(int position)
{
    return position >= 0 && position < blendMethodCount ? blendMethodTable[position] : blendNormal;
}

// Combines base with top by the method `methodId` (an id, not a list position) and mixes the
// result r back per channel: base <- b + (r - b) * amount. Nothing is clamped, so add, subtract
// and amounts outside 0..1 may leave 0..1. An id outside 50..65 leaves base as it is.
void Blend(Color& base, const Color& top, float amount, int methodId);

}  // namespace vml
