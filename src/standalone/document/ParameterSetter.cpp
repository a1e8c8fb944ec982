#include "standalone/document/ParameterSetter.h"

#include "host/INode.h"
#include "host/IParamBlock2.h"
#include "host/Mtl.h"
#include "host/ParamIntake.h"
#include "host/Texmap.h"
#include "standalone/document/NameList.h"
#include "standalone/document/ValueReaders.h"

#include <fmt/format.h>

#include <cmath>
#include <set>
#include <variant>

namespace standalone::document {

namespace {

// Numbers of every numeric type, text, or a reference.
using Value = std::variant<ParamNumber, std::string, ReferenceTarget*>;

struct Param {
    IParamBlock2* block = nullptr;
    const ParamDef* def = nullptr;
};

Param findParam(ReferenceTarget& object, std::string_view name)
{
    for (int i = 0; i < object.NumParamBlocks(); ++i) {
        IParamBlock2* block = object.GetParamBlock(i);
        if (!block || !block->GetDesc())
            continue;
        if (const ParamDef* def = block->GetDesc()->FindParam(name))
            return {block, def};
    }
    return {};
}

// The form a value of this type takes, for messages.
std::string formOf(ParamType2 type)
{
    switch (baseType(type)) {
    case TYPE_FLOAT:
    case TYPE_ANGLE:
    case TYPE_PCNT_FRAC:
    case TYPE_WORLD: return "a number";
    case TYPE_INT: return "a whole number";
    case TYPE_BOOL: return "true or false";
    case TYPE_RGBA: return "a colour [r, g, b]";
    case TYPE_FRGBA: return "a colour [r, g, b, a]";
    case TYPE_POINT3: return "a point [x, y, z]";
    case TYPE_STRING: return "a string";
    case TYPE_FILENAME: return "a file name";
    case TYPE_MTL: return "a material";
    case TYPE_TEXMAP: return "a map";
    case TYPE_INODE: return "an object name";
    default: return "a value";
    }
}

// The range a number of this parameter is described with in messages about its form.
std::string expectedNumber(const ParamDef& def, const char* what)
{
    return def.hasRange ? fmt::format("{} {}", what, ValueRange{def.rangeMin, def.rangeMax}.describe())
                        : what;
}

// A number of a float or int parameter, of any size: its range is the intake's to hold. An int
// takes whole numbers only.
ParamNumber readParamNumber(const ParamDef& def, const Json& v, const JsonLocation& at)
{
    const bool whole = baseType(def.type) == TYPE_INT;
    const std::string expected = expectedNumber(def, whole ? "a whole number" : "a number");
    if (!v.is_number())
        at.fail("expected " + expected + ", got " + describe(v));
    const double d = v.get<double>();
    if (whole && d != std::floor(d))
        at.fail(fmt::format("expected {}, got {:.7g}", expected, d));
    return {d, 0, 0, 0};
}

Value convert(const ParamDef& def, const Json& v, const JsonLocation& at, const ParameterContext& context)
{
    switch (baseType(def.type)) {
    case TYPE_FLOAT:
    case TYPE_ANGLE:
    case TYPE_PCNT_FRAC:
    case TYPE_WORLD:
    case TYPE_INT: return readParamNumber(def, v, at);
    case TYPE_BOOL: return ParamNumber{readBool(v, at) ? 1.0 : 0.0, 0, 0, 0};
    case TYPE_RGBA: {
        const Color c = readColor(v, at);
        return ParamNumber{c.r, c.g, c.b, 1.0};
    }
    case TYPE_FRGBA: {
        const AColor c = readAColor(v, at);
        return ParamNumber{c.r, c.g, c.b, c.a};
    }
    case TYPE_POINT3: {
        const Point3 p = readPoint3(v, at);
        return ParamNumber{p.x, p.y, p.z, 0};
    }
    case TYPE_STRING: return readString(v, at);
    case TYPE_FILENAME: return resolvePath(context.baseDir, readString(v, at));
    case TYPE_MTL: return v.is_null() ? nullptr : static_cast<ReferenceTarget*>(context.refs.material(v, at));
    case TYPE_TEXMAP: return v.is_null() ? nullptr : static_cast<ReferenceTarget*>(context.refs.map(v, at));
    case TYPE_INODE: return v.is_null() ? nullptr : static_cast<ReferenceTarget*>(context.refs.node(v, at));
    case TYPE_BITMAP: at.fail("bitmap parameters cannot be set from a scene document; use a Bitmap map");
    default:
        at.fail(fmt::format("parameter \"{}\" has a type ({}) scene documents cannot set", def.name,
                            int(def.type)));
    }
}

// Numbers enter the block through the intake, which names the value's place in its warnings.
ParamIntake intakeAt(const JsonLocation& at, const ParameterContext& context)
{
    return ParamIntake(at.pointer().empty() ? at.file() : at.file() + ": " + at.pointer(), context.warn);
}

void setKeys(const Param& p, std::string_view className, const Json& v, const JsonLocation& at,
             const ParameterContext& context)
{
    const ParamDef& def = *p.def;
    if (!def.animatable() || isTableType(def.type))
        at.fail(fmt::format("parameter \"{}\" of class {} cannot be animated; expected {}", def.name,
                            className, formOf(def.type)));
    ObjectReader keyed(v, at);
    const Json* keys = keyed.get("keys");
    keyed.finish();
    const JsonLocation keysAt = at / "keys";
    if (!keys || !keys->is_array() || keys->empty())
        (keys ? keysAt : at)
            .fail("expected {\"keys\": [[frame, value], ...]} with at least one key, got " +
                  describe(keys ? *keys : v));
    std::set<TimeValue> times;
    for (std::size_t i = 0; i < keys->size(); ++i) {
        const Json& key = (*keys)[i];
        const JsonLocation keyAt = keysAt / i;
        if (!key.is_array() || key.size() != 2)
            keyAt.fail("expected a key [frame, value], got " + describe(key));
        const double frame = readNumber(key[0], keyAt / 0, {-1.0e5, 1.0e5});
        const auto t = static_cast<TimeValue>(std::lround(frame * TIME_TICKSPERSEC / context.frameRate));
        if (!times.insert(t).second)
            (keyAt / 0).fail(fmt::format("a second key at frame {:g}", frame));
        const Value value = convert(def, key[1], keyAt / 1, context);
        const auto* number = std::get_if<ParamNumber>(&value);
        if (!number || !intakeAt(keyAt / 1, context).setKey(*p.block, def.id, t, *number))
            keyAt.fail(fmt::format("class {} refused a key for \"{}\"", className, def.name));
    }
}

void setOne(const Param& p, std::string_view className, const Json& v, const JsonLocation& at, int tabIndex,
            const ParameterContext& context)
{
    const Value value = convert(*p.def, v, at, context);
    const BOOL ok = std::visit(
        [&](const auto& x) -> BOOL {
            using T = std::decay_t<decltype(x)>;
            if constexpr (std::is_same_v<T, ParamNumber>)
                return intakeAt(at, context).set(*p.block, p.def->id, 0, x, tabIndex);
            else
                return p.block->SetValue(p.def->id, 0, x, tabIndex);
        },
        value);
    if (!ok)
        at.fail(fmt::format("class {} refused the value of \"{}\"", className, p.def->name));
}

}  // namespace

std::vector<std::string> parameterNames(ReferenceTarget& object)
{
    std::vector<std::string> names;
    for (int i = 0; i < object.NumParamBlocks(); ++i) {
        IParamBlock2* block = object.GetParamBlock(i);
        if (!block || !block->GetDesc())
            continue;
        for (int k = 0; k < block->GetDesc()->Count(); ++k)
            names.push_back(block->GetDesc()->GetParamDefByIndex(k).name);
    }
    return names;
}

std::string resolvePath(const std::filesystem::path& baseDir, const std::string& path)
{
    if (path.empty())
        return path;
    const std::filesystem::path p(path);
    return p.is_absolute() ? path : (baseDir / p).lexically_normal().string();
}

void setParameter(ReferenceTarget& object, std::string_view className, const std::string& name, const Json& v,
                  const JsonLocation& at, const ParameterContext& context)
{
    const Param p = findParam(object, name);
    if (!p.def)
        at.fail(unknownNameMessage("unknown parameter", name, parameterNames(object),
                                   fmt::format("the parameters of class {} are", className)));
    const ParamDef& def = *p.def;
    // An object for a number is keys; for a parameter that cannot have them, say so unless the
    // object is plainly something else.
    if (isNumericType(def.type) && v.is_object() && (def.animatable() || v.contains("keys"))) {
        setKeys(p, className, v, at, context);
    } else if (isTableType(def.type)) {
        if (!v.is_array())
            at.fail(fmt::format("expected an array of {} values (a table), got {}", formOf(def.type),
                                describe(v)));
        if (!p.block->SetCount(def.id, static_cast<int>(v.size())))
            at.fail(fmt::format("class {} refused {} entries for \"{}\"", className, v.size(), name));
        for (std::size_t i = 0; i < v.size(); ++i)
            setOne(p, className, v[i], at / i, static_cast<int>(i), context);
    } else {
        setOne(p, className, v, at, 0, context);
    }
}

}  // namespace standalone::document
