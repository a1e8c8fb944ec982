#include "shell/SettingsValues.h"

#include "host/ParamIntake.h"
#include "host/PrivateProfile.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace vml {

namespace {

const char* skipSpace(const char* s)
{
    while (*s == ' ' || (*s >= '\t' && *s <= '\r'))
        ++s;
    return s;
}

// from_chars takes a '-' but, unlike scanning, no '+'.
const char* skipPlus(const char* s) { return (*s == '+' && s[1] != '-') ? s + 1 : s; }

// A number from_chars found beyond a double: an infinity of its sign, or 0 when its exponent is
// negative (below a double).
double beyondDouble(const char* s, const char* end)
{
    const bool negative = *s == '-';
    const char* e = s;
    while (e != end && *e != 'e' && *e != 'E')
        ++e;
    if (e != end && e[1] == '-')
        return negative ? -0.0 : 0.0;
    return negative ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
}

int componentCount(ParamType2 type)
{
    switch (baseType(type)) {
    case TYPE_RGBA:
    case TYPE_POINT3: return 3;
    case TYPE_FRGBA: return 4;
    default: return 1;
    }
}

// The platform reads at most 255 characters of a value.
constexpr DWORD valueBufferSize = 256;

}  // namespace

const char* scanSettingsNumber(const char* text, bool whole, double& out)
{
    const char* s = skipPlus(skipSpace(text));
    const char* end = s + std::strlen(s);
    if (whole) {
        long long i = 0;
        auto [past, ec] = std::from_chars(s, end, i);
        if (past == s)
            return nullptr;
        if (ec == std::errc::result_out_of_range) {
            // Digits beyond 64 bits: their size as a double is enough for the intake.
            double d = 0.0;
            std::from_chars(s, past, d);
            out = d;
            return past;
        }
        out = static_cast<double>(i);
        return past;
    }
    // Read as a float first, so that text a float holds gives that float exactly as scanning
    // "%f" gives it; only a number beyond a float is read again as a double.
    float f = 0.0f;
    auto [past, ec] = std::from_chars(s, end, f, std::chars_format::general);
    if (past == s)
        return nullptr;
    if (ec != std::errc::result_out_of_range) {
        out = f;
        return past;
    }
    double d = 0.0;
    auto [dpast, dec] = std::from_chars(s, end, d, std::chars_format::general);
    out = dec == std::errc::result_out_of_range ? beyondDouble(s, dpast) : d;
    return dpast;
}

void readSettingsValue(const char* path, const char* section, const char* key, const ParamDef& def,
                       ParamNumber& n)
{
    char text[valueBufferSize];
    if (!path || !*path || getPrivateProfileString(section, key, "", text, valueBufferSize, path) == 0)
        return;
    const bool whole = baseType(def.type) == TYPE_INT || baseType(def.type) == TYPE_BOOL;
    ParamNumber read = n;
    const char* p = text;
    int count = 0;
    while (count < componentCount(def.type) &&
           (p = scanSettingsNumber(p, whole, read[static_cast<std::size_t>(count)])) != nullptr)
        ++count;
    if (count == 0)
        return;
    ParamIntake(std::string(path) + " [" + section + "] " + key).take(def, read, n);
    n = read;
}

std::string formatSettingsFloat(float v)
{
    // "%f" formats the float promoted to double: fixed notation, six decimals.
    char buffer[64];
    auto [end, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(v), std::chars_format::fixed, 6);
    return ec == std::errc() ? std::string(buffer, end) : std::string("0.000000");
}

std::string formatSettingsInt(std::int32_t v) { return std::to_string(v); }

}  // namespace vml
