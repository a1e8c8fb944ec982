#pragma once
// Values in the settings files, as the platform's private-profile functions exchange them: numbers
// read as scanning reads them (leading space and a '+' allowed), floats written as "%f" writes them,
// independent of the locale.

#include "host/ParamDef.h"

#include <cstdint>
#include <string>

namespace vml {

// The number at the start of text, read as scanning "%f" reads a float or, with `whole`, as "%d"
// reads an int (white space first, text after the number ignored), but of any size: "nan",
// "inf", a float beyond a float's range and an int beyond 32 bits are read too, for the intake to
// judge (a number beyond a double's range reads as an infinity, one below it as 0). The position
// after the number, or nullptr, out unchanged, when text holds none.
const char* scanSettingsNumber(const char* text, bool whole, double& out);

// The value of `key` in `section` of the settings file at `path`, as the numbers of a value of
// def's type: n holds the value in use and keeps it where the text is missing, empty or holds no
// number. An int or bool reads as "%d" reads it; a colour or point reads its components in order,
// taking those before the first that cannot be read. What was read passes the intake
// (host/ParamIntake.h): held to def's range, or refused when not finite, with a warning naming
// the file, section, key and parameter.
void readSettingsValue(const char* path, const char* section, const char* key, const ParamDef& def,
                       ParamNumber& n);

std::string formatSettingsFloat(float v);  // fixed notation, six decimals
std::string formatSettingsInt(std::int32_t v);

}  // namespace vml
