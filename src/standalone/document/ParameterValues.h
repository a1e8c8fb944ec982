#pragma once
// The other way round from ParameterSetter: what a class object's parameters hold, in the form a
// scene document gives them, so that setting them from these values gives the same object again.

#include "standalone/document/JsonLocation.h"

#include <filesystem>

class ReferenceTarget;

namespace standalone::document {

class DocumentPlaces;

struct ValueContext {
    std::filesystem::path baseDir;  // file names under it are written relative to it
    int frameRate = 30;             // key times are written in frames
    const DocumentPlaces* places = nullptr;
};

// {script name: value} for every parameter of object, block by block. Animated parameters are
// {"keys": [[frame, value], ...]}; a material or map from the document's lists is its name, a
// node its name. A reference the document can only hold inline is {kUnnamedKey: its address}:
// good for telling whether it changed, not for writing.
Json parameterValues(ReferenceTarget& object, const ValueContext& context);

inline constexpr const char* kUnnamedKey = "(an object without a name)";

// Whether v, or anything in it, is such an unwritable reference.
bool holdsUnnamed(const Json& v);

}  // namespace standalone::document
