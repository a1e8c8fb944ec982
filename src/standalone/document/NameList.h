#pragma once
// Lists of valid names in error messages, and the nearest one to a misspelling.

#include <string>
#include <string_view>
#include <vector>

namespace standalone::document {

// "a, b, c" (or "(none)").
std::string joinNames(const std::vector<std::string>& names);

// The name closest to `name` by edit distance, ignoring case, when it is close enough to be a
// likely misspelling; empty otherwise.
std::string closestName(std::string_view name, const std::vector<std::string>& names);

// "unknown key \"colr\" (did you mean \"color\"?); expected one of: ..." built from the parts.
std::string unknownNameMessage(std::string_view what, std::string_view name,
                               const std::vector<std::string>& valid, std::string_view validIntro);

}  // namespace standalone::document
