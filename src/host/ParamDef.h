#pragma once
// The static description of one parameter of a parameter block.

#include "host/ParamTypes.h"

#include <array>
#include <string>
#include <vector>

// The numbers of a numeric value: x for float, int and bool; r, g, b (and a) for colours; x, y, z
// for points. Doubles hold every int and every float exactly.
using ParamNumber = std::array<double, 4>;

// The control that edits a parameter in its block's rollout, as the block's table gives it. A
// parameter map keeps the two in step (ParamMap2.h).
enum class ParamControl {
    none,         // no control, or one the rollout's own procedure drives
    spinner,      // ids: the edit field and the spinner; `step` is the spinner's step
    checkBox,     // ids: the box
    radio,        // ids: the buttons, in the order of the values 0, 1, ...
    colorSwatch,  // ids: the swatch
    mapButton,    // ids: the button; shows the map's name
    nodeButton,   // ids: the button; shows the node's name
    editText,     // ids: the field; a string parameter
};

struct ParamUI {
    ParamControl control = ParamControl::none;
    std::vector<int> ids;
    float step = 0.1f;
};

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

    ParamUI ui;  // the control in the block's rollout

    int tableSize = 0;    // initial entry count of a table type
    int ownerRefNo = -1;  // with P_OWNERS_REF: the owner's reference index that holds the value

    bool animatable() const { return (flags & P_ANIMATABLE) != 0; }
    bool ownersRef() const { return (flags & P_OWNERS_REF) != 0; }
};
