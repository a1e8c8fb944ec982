#pragma once
// The sixteen colour blend methods. A method is named by an id 50..65 (also the string-table id
// of its display name); stored parameters and the drop-down lists hold a list position 0..15,
// which blendMethodTable / blendMethodId translate to the id.

#include "host/Color.h"
#include "resources/StringIds.h"

#include <array>

namespace vml {

enum BlendMethod : int {
    blendNormal = strings::blendNormal,
    blendAdd = strings::blendAdd,
    blendSubtract = strings::blendSubtract,
    blendMultiply = strings::blendMultiply,
    blendScreen = strings::blendScreen,
    blendOverlay = strings::blendOverlay,
    blendSoftLight = strings::blendSoftLight,
    blendHardLight = strings::blendHardLight,
    blendDarken = strings::blendDarken,
    blendLighten = strings::blendLighten,
    blendDifference = strings::blendDifference,
    blendExclusion = strings::blendExclusion,
    blendHue = strings::blendHue,
    blendSaturation = strings::blendSaturation,
    blendColour = strings::blendColour,
    blendLuminosity = strings::blendLuminosity,
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
