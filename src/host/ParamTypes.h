#pragma once
// Parameter-block vocabulary: value types, identifiers and flags.

#include "host/MaxTypes.h"

// Parameter id within a block, and block id within a class.
using ParamID = short;
using BlockID = short;

// Value type of a parameter. The numbers are stored in saved scenes: never renumber.
enum ParamType2 : int {
    TYPE_UNSPECIFIED = -1,
    TYPE_FLOAT = 0,
    TYPE_INT = 1,
    TYPE_RGBA = 2,   // colour (Color)
    TYPE_FRGBA = 3,  // colour with alpha (AColor)
    TYPE_POINT3 = 4,
    TYPE_BOOL = 5,       // stored as int, 0 or 1
    TYPE_ANGLE = 6,      // float; kept in the unit the plug-in uses (degrees here), never converted
    TYPE_PCNT_FRAC = 7,  // float; kept as given (0 to 100 here), never converted
    TYPE_WORLD = 8,      // float in world units
    TYPE_STRING = 9,
    TYPE_FILENAME = 10,
    TYPE_MTL = 11,  // the reference types: a non-owning ReferenceTarget*
    TYPE_TEXMAP = 12,
    TYPE_BITMAP = 13,
    TYPE_INODE = 14,

    TYPE_TAB = 0x800,  // table bit: a resizable list of values of the base type
    TYPE_FLOAT_TAB = TYPE_FLOAT | TYPE_TAB,
    TYPE_INT_TAB = TYPE_INT | TYPE_TAB,
    TYPE_MTL_TAB = TYPE_MTL | TYPE_TAB,
    TYPE_TEXMAP_TAB = TYPE_TEXMAP | TYPE_TAB,
    TYPE_INODE_TAB = TYPE_INODE | TYPE_TAB,
};

constexpr ParamType2 baseType(ParamType2 t) { return static_cast<ParamType2>(t & ~TYPE_TAB); }
constexpr bool isTableType(ParamType2 t) { return t != TYPE_UNSPECIFIED && (t & TYPE_TAB) != 0; }
constexpr bool isReferenceType(ParamType2 t)
{
    const ParamType2 b = baseType(t);
    return t != TYPE_UNSPECIFIED &&
           (b == TYPE_MTL || b == TYPE_TEXMAP || b == TYPE_BITMAP || b == TYPE_INODE);
}
constexpr bool isStringType(ParamType2 t)
{
    const ParamType2 b = baseType(t);
    return t != TYPE_UNSPECIFIED && (b == TYPE_STRING || b == TYPE_FILENAME);
}
constexpr bool isFloatType(ParamType2 t)
{
    const ParamType2 b = baseType(t);
    return t != TYPE_UNSPECIFIED &&
           (b == TYPE_FLOAT || b == TYPE_ANGLE || b == TYPE_PCNT_FRAC || b == TYPE_WORLD);
}
// Types whose values are numbers (and so can carry keyframes).
constexpr bool isNumericType(ParamType2 t)
{
    const ParamType2 b = baseType(t);
    return t != TYPE_UNSPECIFIED && b >= TYPE_FLOAT && b <= TYPE_WORLD;
}
constexpr bool isKnownType(ParamType2 t)
{
    const ParamType2 b = baseType(t);
    return t != TYPE_UNSPECIFIED && (t & ~TYPE_TAB & ~0xFF) == 0 && b >= TYPE_FLOAT && b <= TYPE_INODE;
}

// Parameter flags.
constexpr int P_ANIMATABLE = 0x0001;  // the value may carry keyframes
constexpr int P_TRANSIENT = 0x0002;   // not saved with the block
// Reset restores the descriptor's default. Defaults here are fixed in the descriptor, so every
// parameter behaves this way; the flag is accepted for source compatibility.
constexpr int P_RESET_DEFAULT = 0x0004;
// A reference-type parameter whose target is the owner's reference ParamDef::ownerRefNo, not the
// block's own: reading and writing it go through the owner.
constexpr int P_OWNERS_REF = 0x0008;

// Block-descriptor flags.
constexpr int P_AUTO_CONSTRUCT = 0x0100;  // the class descriptor builds the block for every object
constexpr int P_AUTO_UI = 0x0200;         // the block has an automatic rollout
constexpr int P_VERSION = 0x0400;         // the descriptor carries a version number
