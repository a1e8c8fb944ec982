#pragma once
// Keys of a class object whose value is a list of the object's own parts (a line effect's
// elements): no parameter block can hold such a list, so the program that registers the class
// also registers how to read it. The loader stays generic and hands the key's value over instead
// of setting a parameter.

#include "standalone/document/ParameterSetter.h"

#include <functional>
#include <string>
#include <string_view>

class ReferenceTarget;

namespace standalone::document {

// Builds object's parts from v (found at `at`); fails through `at` like every reader.
using PartListReader = std::function<void(ReferenceTarget& object, const Json& v, const JsonLocation& at,
                                          const ParameterContext& context)>;

// From now on the key `key` of objects of class className (its script name) is read by reader.
// A later registration for the same class and key replaces the earlier one.
void registerPartList(std::string className, std::string key, PartListReader reader);

// The reader for that class and key, or nullptr when the key is an ordinary parameter.
const PartListReader* findPartList(std::string_view className, std::string_view key);

}  // namespace standalone::document
