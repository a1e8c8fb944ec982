#include "standalone/document/ParameterValues.h"

#include "host/INode.h"
#include "host/IParamBlock2.h"
#include "host/MtlBase.h"
#include "standalone/document/DocumentPlaces.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>
#include <string>

namespace standalone::document {

namespace {

// The shortest text that reads back as the same float, as a JSON number: 55 rather than 55.0.
Json number(float f)
{
    if (std::isfinite(f) && f == std::trunc(f) && std::fabs(f) < 1.0e15f)
        return static_cast<long long>(f);
    return std::stod(fmt::format("{}", f));
}

Json colorJson(const Color& c) { return Json::array({number(c.r), number(c.g), number(c.b)}); }

std::string pathText(const std::filesystem::path& baseDir, const std::string& path)
{
    if (path.empty() || baseDir.empty())
        return path;
    const std::filesystem::path relative = std::filesystem::path(path).lexically_relative(baseDir);
    if (relative.empty() || *relative.begin() == "..")
        return path;
    return relative.generic_string();
}

// A material or map named in the document's lists: a place /materials/N or /maps/N.
bool isNamedEntry(const std::string& place)
{
    for (const char* list : {"/materials/", "/maps/"}) {
        const std::string_view prefix(list);
        if (place.compare(0, prefix.size(), prefix) == 0 &&
            place.find('/', prefix.size()) == std::string::npos)
            return true;
    }
    return false;
}

Json referenceJson(ReferenceTarget* target, const ValueContext& context)
{
    if (!target)
        return nullptr;
    if (auto* node = dynamic_cast<INode*>(target))
        return node->GetName();
    const std::string* place = context.places ? context.places->find(target) : nullptr;
    if (place && isNamedEntry(*place))
        return static_cast<MtlBase*>(target)->GetName();
    return Json{{kUnnamedKey, fmt::format("{}", static_cast<const void*>(target))}};
}

Json valueAt(IParamBlock2& block, const ParamDef& def, TimeValue t, int tab, const ValueContext& context)
{
    const ParamID id = def.id;
    switch (baseType(def.type)) {
    case TYPE_FLOAT:
    case TYPE_ANGLE:
    case TYPE_PCNT_FRAC:
    case TYPE_WORLD: return number(block.GetFloat(id, t, tab));
    case TYPE_INT: return block.GetInt(id, t, tab);
    case TYPE_BOOL: return block.GetInt(id, t, tab) != 0;
    case TYPE_RGBA: return colorJson(block.GetColor(id, t, tab));
    case TYPE_FRGBA: {
        const AColor c = block.GetAColor(id, t, tab);
        return Json::array({number(c.r), number(c.g), number(c.b), number(c.a)});
    }
    case TYPE_POINT3: {
        const Point3 p = block.GetPoint3(id, t, tab);
        return Json::array({number(p.x), number(p.y), number(p.z)});
    }
    case TYPE_STRING: {
        const char* s = block.GetStr(id, t, tab);
        return s ? s : "";
    }
    case TYPE_FILENAME: {
        const char* s = block.GetStr(id, t, tab);
        return pathText(context.baseDir, s ? s : "");
    }
    case TYPE_MTL:
    case TYPE_TEXMAP:
    case TYPE_INODE: return referenceJson(block.GetReferenceTarget(id, t, tab), context);
    default: return nullptr;  // kinds a document cannot set are left out by the caller
    }
}

bool writable(ParamType2 type)
{
    switch (baseType(type)) {
    case TYPE_FLOAT:
    case TYPE_ANGLE:
    case TYPE_PCNT_FRAC:
    case TYPE_WORLD:
    case TYPE_INT:
    case TYPE_BOOL:
    case TYPE_RGBA:
    case TYPE_FRGBA:
    case TYPE_POINT3:
    case TYPE_STRING:
    case TYPE_FILENAME:
    case TYPE_MTL:
    case TYPE_TEXMAP:
    case TYPE_INODE: return true;
    default: return false;
    }
}

Json parameterJson(IParamBlock2& block, const ParamDef& def, const ValueContext& context)
{
    if (isTableType(def.type)) {
        Json table = Json::array();
        for (int i = 0; i < block.Count(def.id); ++i)
            table.push_back(valueAt(block, def, 0, i, context));
        return table;
    }
    const int keys = block.GetKeyCount(def.id);
    if (keys <= 0)
        return valueAt(block, def, 0, 0, context);
    Json list = Json::array();
    const double ticksPerFrame = double(TIME_TICKSPERSEC) / std::max(1, context.frameRate);
    for (int k = 0; k < keys; ++k) {
        const TimeValue t = block.GetKeyTime(def.id, k);
        const double frame = t / ticksPerFrame;
        const auto whole = static_cast<long long>(frame);
        const Json frameJson = frame == double(whole) ? Json(whole) : number(float(frame));
        list.push_back(Json::array({frameJson, valueAt(block, def, t, 0, context)}));
    }
    return Json{{"keys", std::move(list)}};
}

}  // namespace

Json parameterValues(ReferenceTarget& object, const ValueContext& context)
{
    Json values = Json::object();
    for (int b = 0; b < object.NumParamBlocks(); ++b) {
        IParamBlock2* block = object.GetParamBlock(b);
        if (!block || !block->GetDesc())
            continue;
        for (int k = 0; k < block->GetDesc()->Count(); ++k) {
            const ParamDef& def = block->GetDesc()->GetParamDefByIndex(k);
            if (writable(def.type))
                values[def.name] = parameterJson(*block, def, context);
        }
    }
    return values;
}

bool holdsUnnamed(const Json& v)
{
    if (v.is_object() && v.contains(kUnnamedKey))
        return true;
    if (v.is_structured())
        for (const Json& item : v)
            if (holdsUnnamed(item))
                return true;
    return false;
}

}  // namespace standalone::document
