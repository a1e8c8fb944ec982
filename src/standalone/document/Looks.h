#pragma once
// Looks: named sets of painterly material parameters, one small JSON file each in looks/ at the
// top of the source tree. The files are embedded into the program when it is built, so every
// build finds the same looks wherever it runs. A document's "wrap" and `vermil render --paint`
// dress materials in them. docs/scene-format.md describes the file.

#include "host/Color.h"
#include "standalone/document/JsonLocation.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace standalone::document {

// The class a look's parameters belong to.
inline constexpr const char* kLookClass = "vmlMaterial";

struct LookFile {
    std::string_view name;  // the file's name without ".json"
    std::string_view text;
};

// The embedded files, by name (generated from looks/*.json by cmake/EmbedLooks.cmake).
std::span<const LookFile> lookFiles();

struct Look {
    std::string name;
    std::string description;  // one line
    Color canvas;             // the ground a model painted on its own is laid on
    Json material;            // parameters of a kLookClass material, an object
    JsonLocation at;          // where `material` sits, for messages
};

// Every look, by name. A malformed file throws SceneError naming it (tests read every look).
const std::vector<Look>& looks();

// The look of that name, or nullptr.
const Look* findLook(std::string_view name);

// "unknown look \"wett\" (did you mean \"wet\"?); the looks are: ...".
std::string unknownLookMessage(std::string_view name);

}  // namespace standalone::document
