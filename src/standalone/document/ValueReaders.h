#pragma once
// Typed reading of document values. Each reader checks the JSON type and range and fails at the
// value's location with what it expected and what it got.

#include "host/Color.h"
#include "host/Point3.h"
#include "standalone/document/JsonLocation.h"
#include "standalone/primitives/PrimitiveParams.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace standalone::document {

// "a string \"abc\"", "the number 2.5", "an array of 2 values", "an object", ...
std::string describe(const Json& v);

// A finite number a float can hold.
double readNumber(const Json& v, const JsonLocation& at);
double readNumber(const Json& v, const JsonLocation& at, const ValueRange& range);
// A whole number (2 or 2.0) within range.
int readInt(const Json& v, const JsonLocation& at, const ValueRange& range);
// true or false, or 0 or 1.
bool readBool(const Json& v, const JsonLocation& at);
std::string readString(const Json& v, const JsonLocation& at);
// [r, g, b] with components of 0 or more (1 is full intensity), or one number for a grey.
Color readColor(const Json& v, const JsonLocation& at);
// [r, g, b, a] or [r, g, b] (alpha 1).
AColor readAColor(const Json& v, const JsonLocation& at);
Point3 readPoint3(const Json& v, const JsonLocation& at);

// The keys of one JSON object. Readers mark the keys they know; finish() rejects the rest, so a
// misspelt key is an error rather than silently ignored.
class ObjectReader {
public:
    // Fails unless v is an object; `what` names it in that message ("a light").
    ObjectReader(const Json& v, JsonLocation at, std::string_view what = "an object");

    // The value of key, nullptr when absent. Marks key as known.
    const Json* get(std::string_view key);
    JsonLocation at(std::string_view key) const { return at_ / key; }
    const JsonLocation& location() const { return at_; }
    const Json& json() const { return v_; }

    double number(std::string_view key, double fallback, const ValueRange& range);
    int integer(std::string_view key, int fallback, const ValueRange& range);
    bool boolean(std::string_view key, bool fallback);
    std::string string(std::string_view key, const std::string& fallback);
    std::string requiredString(std::string_view key);
    Color color(std::string_view key, const Color& fallback);
    std::optional<Point3> point(std::string_view key);

    // Fails on the first key no reader asked for, listing the known ones.
    void finish() const;

private:
    const Json& v_;
    JsonLocation at_;
    std::vector<std::string> known_;
};

}  // namespace standalone::document
