#include "host/ParamIntake.h"

#include "host/Interface.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <climits>
#include <cmath>
#include <utility>

namespace {

int componentCount(ParamType2 type)
{
    switch (baseType(type)) {
    case TYPE_RGBA:
    case TYPE_POINT3: return 3;
    case TYPE_FRGBA: return 4;
    default: return 1;
    }
}

struct Range {
    double lo, hi;
};

// The range the rule holds a component of def's values to.
Range rangeOf(const ParamDef& def)
{
    if (baseType(def.type) == TYPE_INT || baseType(def.type) == TYPE_BOOL) {
        const Range whole{double(INT_MIN), double(INT_MAX)};
        return def.hasRange ? Range{std::max(def.rangeMin, whole.lo), std::min(def.rangeMax, whole.hi)}
                            : whole;
    }
    if (isFloatType(def.type) && def.hasRange)
        return {def.rangeMin, def.rangeMax};
    return {-double(FLT_MAX), double(FLT_MAX)};
}

// Shortest text that reads back as the number; a float's own digits when it is one (0.1, not
// 0.10000000149011612).
std::string numberText(double v)
{
    if (std::isnan(v))
        return "nan";
    if (std::isinf(v))
        return v < 0 ? "-inf" : "inf";
    // Plain digits for the sizes people write (100000, not 1e+05), an exponent beyond them.
    const bool plain = v == 0.0 || (std::fabs(v) >= 1.0e-4 && std::fabs(v) < 1.0e15);
    const std::chars_format form = plain ? std::chars_format::fixed : std::chars_format::scientific;
    char text[400];
    const bool isFloat = std::fabs(v) <= double(FLT_MAX) && double(static_cast<float>(v)) == v;
    const auto end = isFloat ? std::to_chars(text, text + sizeof text, static_cast<float>(v), form).ptr
                             : std::to_chars(text, text + sizeof text, v, form).ptr;
    return std::string(text, end);
}

std::string valueText(ParamType2 type, const ParamNumber& n)
{
    const int count = componentCount(type);
    if (count == 1)
        return numberText(n[0]);
    std::string text = "[";
    for (int c = 0; c < count; ++c)
        text += (c ? ", " : "") + numberText(n[static_cast<std::size_t>(c)]);
    return text + "]";
}

int wholeNumber(double v) { return static_cast<int>(std::lround(v)); }

}  // namespace

IntakeVerdict holdToRange(const ParamDef& def, ParamNumber& n)
{
    if (!isNumericType(def.type))
        return IntakeVerdict::taken;
    const int count = componentCount(def.type);
    for (int c = 0; c < count; ++c)
        if (!std::isfinite(n[static_cast<std::size_t>(c)]))
            return IntakeVerdict::refused;
    const Range range = rangeOf(def);
    IntakeVerdict verdict = IntakeVerdict::taken;
    for (int c = 0; c < count; ++c) {
        double& v = n[static_cast<std::size_t>(c)];
        const double held = std::clamp(v, range.lo, range.hi);
        if (held != v) {
            v = held;
            verdict = IntakeVerdict::held;
        }
    }
    return verdict;
}

ParamNumber paramNumberAt(IParamBlock2& block, const ParamDef& def, TimeValue t, int tabIndex)
{
    const ParamID id = def.id;
    switch (baseType(def.type)) {
    case TYPE_FLOAT:
    case TYPE_ANGLE:
    case TYPE_PCNT_FRAC:
    case TYPE_WORLD: return {block.GetFloat(id, t, tabIndex), 0, 0, 0};
    case TYPE_INT:
    case TYPE_BOOL: return {double(block.GetInt(id, t, tabIndex)), 0, 0, 0};
    case TYPE_RGBA: {
        const Color c = block.GetColor(id, t, tabIndex);
        return {c.r, c.g, c.b, 1.0};
    }
    case TYPE_FRGBA: {
        const AColor c = block.GetAColor(id, t, tabIndex);
        return {c.r, c.g, c.b, c.a};
    }
    case TYPE_POINT3: {
        const Point3 p = block.GetPoint3(id, t, tabIndex);
        return {p.x, p.y, p.z, 0};
    }
    default: return {};
    }
}

ParamIntake::ParamIntake(std::string source, IntakeWarningHandler warn)
    : source_(std::move(source)), warn_(std::move(warn))
{}

std::string ParamIntake::describe(const ParamDef& def, IntakeVerdict verdict, const ParamNumber& given,
                                  const ParamNumber& kept) const
{
    const std::string head = source_ + ": parameter " + def.name + ": " + valueText(def.type, given);
    switch (verdict) {
    case IntakeVerdict::taken: return {};
    case IntakeVerdict::held: {
        const Range range = rangeOf(def);
        return head + " is outside its range " + numberText(range.lo) + " to " + numberText(range.hi) +
               "; held to " + valueText(def.type, kept);
    }
    case IntakeVerdict::refused: return head + " is not a finite number; kept " + valueText(def.type, kept);
    }
    return {};
}

IntakeVerdict ParamIntake::judge(const ParamDef& def, ParamNumber& n, const ParamNumber& previous)
{
    const ParamNumber given = n;
    const IntakeVerdict verdict = holdToRange(def, n);
    if (verdict == IntakeVerdict::refused)
        n = previous;
    if (verdict != IntakeVerdict::taken) {
        const std::string text = describe(def, verdict, given, n);
        if (warn_)
            warn_(text);
        else
            LogWarning(text.c_str());
    }
    return verdict;
}

IntakeVerdict ParamIntake::take(const ParamDef& def, ParamNumber& n, const ParamNumber& previous)
{
    return judge(def, n, previous);
}

BOOL ParamIntake::set(IParamBlock2& block, ParamID id, TimeValue t, const ParamNumber& n, int tabIndex)
{
    const ParamDef* def = block.GetParamDef(id);
    const int entries = def && isTableType(def->type) ? block.Count(id) : 1;
    if (!def || !isNumericType(def->type) || tabIndex < 0 || tabIndex >= entries)
        return FALSE;
    ParamNumber v = n;
    if (judge(*def, v, paramNumberAt(block, *def, t, tabIndex)) == IntakeVerdict::refused)
        return TRUE;
    switch (baseType(def->type)) {
    case TYPE_INT:
    case TYPE_BOOL: return block.SetValue(id, t, wholeNumber(v[0]), tabIndex);
    case TYPE_RGBA: return block.SetValue(id, t, Color(float(v[0]), float(v[1]), float(v[2])), tabIndex);
    case TYPE_FRGBA:
        return block.SetValue(id, t, AColor(float(v[0]), float(v[1]), float(v[2]), float(v[3])), tabIndex);
    case TYPE_POINT3: return block.SetValue(id, t, Point3(float(v[0]), float(v[1]), float(v[2])), tabIndex);
    default: return block.SetValue(id, t, float(v[0]), tabIndex);
    }
}

BOOL ParamIntake::set(IParamBlock2& block, ParamID id, TimeValue t, float v, int tabIndex)
{
    return set(block, id, t, ParamNumber{v, 0, 0, 0}, tabIndex);
}

BOOL ParamIntake::set(IParamBlock2& block, ParamID id, TimeValue t, int v, int tabIndex)
{
    return set(block, id, t, ParamNumber{double(v), 0, 0, 0}, tabIndex);
}

BOOL ParamIntake::set(IParamBlock2& block, ParamID id, TimeValue t, const Color& v, int tabIndex)
{
    return set(block, id, t, ParamNumber{v.r, v.g, v.b, 1.0}, tabIndex);
}

BOOL ParamIntake::set(IParamBlock2& block, ParamID id, TimeValue t, const AColor& v, int tabIndex)
{
    return set(block, id, t, ParamNumber{v.r, v.g, v.b, v.a}, tabIndex);
}

BOOL ParamIntake::set(IParamBlock2& block, ParamID id, TimeValue t, const Point3& v, int tabIndex)
{
    return set(block, id, t, ParamNumber{v.x, v.y, v.z, 0}, tabIndex);
}

BOOL ParamIntake::setKey(IParamBlock2& block, ParamID id, TimeValue t, const ParamNumber& n)
{
    const ParamDef* def = block.GetParamDef(id);
    if (!def || !isNumericType(def->type) || !def->animatable() || isTableType(def->type))
        return FALSE;
    ParamNumber v = n;
    if (judge(*def, v, paramNumberAt(block, *def, t)) == IntakeVerdict::refused)
        return TRUE;
    switch (baseType(def->type)) {
    case TYPE_INT:
    case TYPE_BOOL: return block.SetKey(id, t, wholeNumber(v[0]));
    case TYPE_RGBA: return block.SetKey(id, t, Color(float(v[0]), float(v[1]), float(v[2])));
    case TYPE_FRGBA: return block.SetKey(id, t, AColor(float(v[0]), float(v[1]), float(v[2]), float(v[3])));
    case TYPE_POINT3: return block.SetKey(id, t, Point3(float(v[0]), float(v[1]), float(v[2])));
    default: return block.SetKey(id, t, float(v[0]));
    }
}
