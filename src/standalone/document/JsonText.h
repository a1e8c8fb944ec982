#pragma once
// Turning a document's text into JSON. Comments (// and /* */) are allowed. Text that is not
// JSON, nests deeper than kMaxDepth or holds a number beyond double range fails with a
// SceneError giving the line and column.

#include "standalone/document/JsonLocation.h"

#include <string>
#include <string_view>

namespace standalone::document {

inline constexpr int kMaxDepth = 100;

Json parseJsonText(std::string_view text, const std::string& file);

// Text safe to print: control characters and bytes that are not UTF-8 become \xNN.
std::string printable(std::string_view text);

}  // namespace standalone::document
