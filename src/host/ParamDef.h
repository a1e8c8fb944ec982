#pragma once
// The static description of one parameter of a parameter block.

#include "host/ParamTypes.h"

#include <array>
#include <string>

// The numbers of a numeric value: x for float, int and bool; r, g, b (and a) for colours; x, y, z
// for points. Doubles hold every int and every float exactly.
using ParamNumber = std::array<double, 4>;

struct ParamDef {
    ParamID id = -1;
    std::string name;  // script name, unique within its block
    ParamType2 type = TYPE_UNSPECIFIED;
    int flags = 0;
    int labelId = 0;  // string-table id of the UI label; 0 for none

    ParamNumber defNumber{};  // default of a numeric type (of each entry, for a table)
    std::string defString;    // default of a string type

    // Limits of a float or int parameter, kept for the UI and for validating scene documents.
    // SetValue does not clamp to them.
    bool hasRange = false;
    double rangeMin = 0.0;
    double rangeMax = 0.0;

    int tableSize = 0;    // initial entry count of a table type
    int ownerRefNo = -1;  // with P_OWNERS_REF: the owner's reference index that holds the value

    bool animatable() const { return (flags & P_ANIMATABLE) != 0; }
    bool ownersRef() const { return (flags & P_OWNERS_REF) != 0; }
};
