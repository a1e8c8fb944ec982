#pragma once
// The "elements" key of a line effect in scene documents: its line elements, in drawing order,
// each {"type": ..., <element parameters>...}.

namespace app {

// The document's names of the line element types, by type number ("basicSet", "outline", ...);
// "?" for a number that is no type.
const char* lineElementTypeName(int type);

// Makes scene documents read a LineFxManager's "elements" key.
void registerLineElementList();

}  // namespace app
