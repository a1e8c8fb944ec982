#include "shell/SettingsValues.h"

#include <charconv>
#include <cmath>
#include <cstring>

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

}  // namespace

const char* scanSettingsFloat(const char* text, float& out)
{
    const char* s = skipPlus(skipSpace(text));
    float v = 0.0f;
    auto [end, ec] = std::from_chars(s, s + std::strlen(s), v, std::chars_format::general);
    if (ec != std::errc() || end == s || !std::isfinite(v))
        return nullptr;
    out = v;
    return end;
}

bool parseSettingsInt(const char* text, std::int32_t& out)
{
    const char* s = skipPlus(skipSpace(text));
    std::int32_t v = 0;
    auto [end, ec] = std::from_chars(s, s + std::strlen(s), v);
    if (ec != std::errc() || end == s)
        return false;
    out = v;
    return true;
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
