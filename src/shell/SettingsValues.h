#pragma once
// Values in the settings files, as the platform's private-profile functions exchange them: numbers
// read as scanning reads them (leading space and a '+' allowed), floats written as "%f" writes them,
// independent of the locale.

#include <cstdint>
#include <string>

namespace vml {

// One finite float from the start of text; the position after it, or nullptr when there is none
// (out is then unchanged).
const char* scanSettingsFloat(const char* text, float& out);
// A 32-bit int from the start of text; false (out unchanged) when there is none or it does not fit.
bool parseSettingsInt(const char* text, std::int32_t& out);

std::string formatSettingsFloat(float v);  // fixed notation, six decimals
std::string formatSettingsInt(std::int32_t v);

}  // namespace vml
