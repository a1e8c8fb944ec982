#pragma once
// The check of a PLY file made before Assimp reads it (docs/known-issues.md). Assimp 5.2 reads the
// header line by line until "end_header" without stopping at the end of the file, so a header
// without one never ends (or reads past its buffer), and it trusts the counts the file gives: the
// instances of an element and the length of a list are read, and allocated, as given.

#include <optional>
#include <string>
#include <string_view>

namespace standalone::import {

// Whether the bytes start as a PLY file does: "ply" in any case on the first line, which is all
// Assimp's PLY reader asks of a file before it reads the header.
bool startsAsPly(std::string_view bytes);

// Why the PLY file in bytes must not reach Assimp, or nothing. Refused:
// - a header without an "end_header" line;
// - header lines that are not PLY: an element without a count, a property of no PLY type, a list
//   counted by a non-integer type, a property before any element or apart from its element
//   (Assimp drops those);
// - a second element of a name (Assimp reads both into one mesh, sized by the first);
// - an element with instances but no properties, and a face that lists no vertices (Assimp
//   asserts on it and aborts);
// - a body that holds less than the header declares, a list longer than its line or than the
//   rest of the file included;
// - text lines that end in anything but \n or \r\n (Assimp ends them at \r, \0 and \f too, and
//   would read the file otherwise than it is checked).
// A header whose format is not one PLY has is left to Assimp, which refuses it.
std::optional<std::string> screenPly(std::string_view bytes);

}  // namespace standalone::import
