#pragma once
// The kinds of line element. The type picks the element's rollout, the detection switch a new
// element starts with, and which detection switches an element file may set.

#include "line/LineFxParamBlocks.h"
#include "resources/StringIds.h"

namespace vml {

enum LineElementType : int {
    BasicSet = 0,
    Outline = 1,
    EdgeBoundary = 2,
    NormalAngle = 3,
};

inline constexpr int lineElementTypeNone = -1;  // an element before addElement gives it a type
inline constexpr int lineElementTypeCount = 4;

constexpr bool isLineElementType(int type) { return type >= BasicSet && type <= NormalAngle; }

// String id of the type's display name (also a new element's name); 0 for no type.
constexpr int lineElementTypeNameId(int type)
{
    return isLineElementType(type) ? strings::lineTypeBasicSet + type : 0;
}

// The detection switch a type turns on when it is first assigned; -1 for no type.
constexpr ParamID defaultDetectionSwitch(int type)
{
    switch (type) {
    case BasicSet:
    case Outline: return lineParam::outlineObject;
    case EdgeBoundary: return lineParam::edgeDepth;
    case NormalAngle: return lineParam::normal;
    default: return -1;
    }
}

// Whether an element of this type takes detection switch sw from a file. An element without a
// type takes none.
constexpr bool acceptsDetectionSwitch(int type, ParamID sw)
{
    using namespace lineParam;
    switch (type) {
    case BasicSet:
        return sw == outlineObject || sw == outlineMaterial || sw == edgeMaterial || sw == edgeDepth ||
               sw == normal;
    case Outline: return sw == outlineObject || sw == outlineMaterial;
    case EdgeBoundary: return sw == edgeMaterial || sw == edgeDepth;
    case NormalAngle: return sw == normal;
    default: return false;
    }
}

}  // namespace vml
