#pragma once
// Parameter tables of the built-in primitives: each parameter's name, where it lives in the
// primitive's parameter struct and its valid range. The builders check their input against the
// table, and scene documents read and validate primitive parameters through it.

#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>

namespace standalone {

// A range of accepted values; min may be exclusive (sizes must be greater than zero).
struct ValueRange {
    double min = 0.0;
    double max = 0.0;
    bool minExclusive = false;

    bool contains(double v) const { return (minExclusive ? v > min : v >= min) && v <= max; }
    // "from 1 to 64", "greater than 0 and at most 1000000".
    std::string describe() const;
};

// "segments must be from 3 to 1024 (got 2)".
std::string rangeError(std::string_view name, const ValueRange& range, double value);

template <class Params> struct PrimitiveField {
    std::string_view name;
    std::variant<float Params::*, int Params::*, bool Params::*> member;
    ValueRange range;  // ignored for bools
};

// The first parameter outside its range, as "segments must be from 3 to 1024 (got 2)"; empty
// when every parameter is valid.
template <class Params> std::string firstRangeError(const Params& p)
{
    for (const PrimitiveField<Params>& f : Params::fields()) {
        double v = 0.0;
        if (auto m = std::get_if<float Params::*>(&f.member))
            v = p.**m;
        else if (auto i = std::get_if<int Params::*>(&f.member))
            v = p.**i;
        else
            continue;
        if (!f.range.contains(v))
            return rangeError(f.name, f.range, v);
    }
    return {};
}

// Contract of the builders: parameters are valid; otherwise std::invalid_argument.
template <class Params> void requireValid(const Params& p, std::string_view primitive)
{
    if (std::string error = firstRangeError(p); !error.empty())
        throw std::invalid_argument(std::string(primitive) + ": " + error);
}

}  // namespace standalone
