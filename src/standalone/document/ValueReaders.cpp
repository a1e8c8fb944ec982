#include "standalone/document/ValueReaders.h"

#include "standalone/document/NameList.h"

#include <fmt/format.h>

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace standalone::document {

namespace {

std::string numberText(double v) { return fmt::format("{:.7g}", v); }

// The numbers of an array of exactly `count` (or `altCount`) numbers; fails with `expected`.
std::vector<double> readNumbers(const Json& v, const JsonLocation& at, std::size_t count,
                                std::size_t altCount, const std::string& expected)
{
    if (!v.is_array() || (v.size() != count && v.size() != altCount))
        at.fail("expected " + expected + ", got " + describe(v));
    std::vector<double> out;
    for (std::size_t i = 0; i < v.size(); ++i)
        out.push_back(readNumber(v[i], at / i));
    return out;
}

}  // namespace

std::string describe(const Json& v)
{
    switch (v.type()) {
    case Json::value_t::null: return "null";
    case Json::value_t::boolean: return v.get<bool>() ? "true" : "false";
    case Json::value_t::number_integer:
    case Json::value_t::number_unsigned:
    case Json::value_t::number_float: return "the number " + numberText(v.get<double>());
    case Json::value_t::string: {
        const std::string& s = v.get_ref<const std::string&>();
        std::string shown = s.size() > 40 ? s.substr(0, 40) + "..." : s;
        return "a string \"" + shown + "\"";
    }
    case Json::value_t::array:
        return v.empty() ? "an empty array"
                         : fmt::format("an array of {} value{}", v.size(), v.size() == 1 ? "" : "s");
    case Json::value_t::object: return "an object";
    default: return "a value of unknown type";
    }
}

double readNumber(const Json& v, const JsonLocation& at)
{
    if (!v.is_number())
        at.fail("expected a number, got " + describe(v));
    const double d = v.get<double>();
    if (!std::isfinite(d) || std::abs(d) > FLT_MAX)
        at.fail("the number " + numberText(d) + " is too large");
    return d;
}

double readNumber(const Json& v, const JsonLocation& at, const ValueRange& range)
{
    if (!v.is_number())
        at.fail("expected a number " + range.describe() + ", got " + describe(v));
    const double d = v.get<double>();
    if (!range.contains(d))
        at.fail("expected a number " + range.describe() + ", got " + numberText(d));
    return d;
}

int readInt(const Json& v, const JsonLocation& at, const ValueRange& range)
{
    const std::string expected = "a whole number " + range.describe();
    if (!v.is_number())
        at.fail("expected " + expected + ", got " + describe(v));
    const double d = v.get<double>();
    if (d != std::floor(d) || !range.contains(d))
        at.fail("expected " + expected + ", got " + numberText(d));
    return static_cast<int>(d);
}

bool readBool(const Json& v, const JsonLocation& at)
{
    if (v.is_boolean())
        return v.get<bool>();
    if (v.is_number() && (v.get<double>() == 0.0 || v.get<double>() == 1.0))
        return v.get<double>() != 0.0;
    at.fail("expected true or false, got " + describe(v));
}

std::string readString(const Json& v, const JsonLocation& at)
{
    if (!v.is_string())
        at.fail("expected a string, got " + describe(v));
    return v.get<std::string>();
}

Color readColor(const Json& v, const JsonLocation& at)
{
    const std::string expected = "a colour [r, g, b] (or one number for a grey)";
    if (v.is_number()) {
        const float grey = float(readNumber(v, at));
        if (grey < 0.0f)
            at.fail("expected " + expected + " of 0 or more, got " + describe(v));
        return {grey, grey, grey};
    }
    const std::vector<double> c = readNumbers(v, at, 3, 3, expected);
    for (std::size_t i = 0; i < 3; ++i)
        if (c[i] < 0.0)
            (at / i).fail("expected a colour component of 0 or more, got " + numberText(c[i]));
    return {float(c[0]), float(c[1]), float(c[2])};
}

AColor readAColor(const Json& v, const JsonLocation& at)
{
    const std::vector<double> c = readNumbers(v, at, 4, 3, "a colour [r, g, b, a] or [r, g, b]");
    for (std::size_t i = 0; i < c.size(); ++i)
        if (c[i] < 0.0)
            (at / i).fail("expected a colour component of 0 or more, got " + numberText(c[i]));
    return {float(c[0]), float(c[1]), float(c[2]), c.size() == 4 ? float(c[3]) : 1.0f};
}

Point3 readPoint3(const Json& v, const JsonLocation& at)
{
    const std::vector<double> p = readNumbers(v, at, 3, 3, "a point [x, y, z]");
    return {float(p[0]), float(p[1]), float(p[2])};
}

ObjectReader::ObjectReader(const Json& v, JsonLocation at, std::string_view what) : v_(v), at_(std::move(at))
{
    if (!v_.is_object())
        at_.fail("expected " + std::string(what) + " ({...}), got " + describe(v_));
}

const Json* ObjectReader::get(std::string_view key)
{
    if (std::find(known_.begin(), known_.end(), key) == known_.end())
        known_.emplace_back(key);
    auto it = v_.find(key);
    return it == v_.end() ? nullptr : &*it;
}

double ObjectReader::number(std::string_view key, double fallback, const ValueRange& range)
{
    const Json* v = get(key);
    return v ? readNumber(*v, at(key), range) : fallback;
}

int ObjectReader::integer(std::string_view key, int fallback, const ValueRange& range)
{
    const Json* v = get(key);
    return v ? readInt(*v, at(key), range) : fallback;
}

bool ObjectReader::boolean(std::string_view key, bool fallback)
{
    const Json* v = get(key);
    return v ? readBool(*v, at(key)) : fallback;
}

std::string ObjectReader::string(std::string_view key, const std::string& fallback)
{
    const Json* v = get(key);
    return v ? readString(*v, at(key)) : fallback;
}

std::string ObjectReader::requiredString(std::string_view key)
{
    const Json* v = get(key);
    if (!v)
        at_.fail("missing \"" + std::string(key) + "\"");
    std::string s = readString(*v, at(key));
    if (s.empty())
        at(key).fail("expected a non-empty string");
    return s;
}

Color ObjectReader::color(std::string_view key, const Color& fallback)
{
    const Json* v = get(key);
    return v ? readColor(*v, at(key)) : fallback;
}

std::optional<Point3> ObjectReader::point(std::string_view key)
{
    const Json* v = get(key);
    return v ? std::optional<Point3>(readPoint3(*v, at(key))) : std::nullopt;
}

void ObjectReader::finish() const
{
    for (auto it = v_.begin(); it != v_.end(); ++it)
        if (std::find(known_.begin(), known_.end(), it.key()) == known_.end())
            (at_ / it.key()).fail(unknownNameMessage("unknown key", it.key(), known_, "expected one of"));
}

}  // namespace standalone::document
