// Table parameters of a block: sizing, appending and deleting entries.

#include "host/IParamBlock2.h"

#include <algorithm>

int IParamBlock2::Count(ParamID id) const
{
    const ParamDef* def = desc_->GetParamDef(id);
    if (!def || !isTableType(def->type))
        return 0;
    return static_cast<int>(slots_[static_cast<std::size_t>(desc_->IDtoIndex(id))].entries.size());
}

void IParamBlock2::resize(int paramIndex, std::size_t n)
{
    const ParamDef& def = desc_->GetParamDefByIndex(paramIndex);
    auto& entries = slots_[static_cast<std::size_t>(paramIndex)].entries;
    if (refCount(paramIndex) > 0) {
        // Drop the links of the entries about to go, from the end so indices stay put.
        for (std::size_t i = entries.size(); i > n; --i) {
            if (entries[i - 1].ref)
                ReplaceReference(refIndex(paramIndex, static_cast<int>(i - 1)), nullptr);
        }
    }
    entries.resize(n, defaultEntry(def));
}

BOOL IParamBlock2::SetCount(ParamID id, int n)
{
    const int p = desc_->IDtoIndex(id);
    if (p < 0 || n < 0 || !isTableType(desc_->GetParamDefByIndex(p).type))
        return FALSE;
    resize(p, static_cast<std::size_t>(n));
    changed(id);
    return TRUE;
}

int IParamBlock2::append(ParamID id, const Value& v)
{
    const int p = desc_->IDtoIndex(id);
    if (p < 0)
        return 0;
    const ParamDef& def = desc_->GetParamDefByIndex(p);
    if (!isTableType(def.type) || !accepts(def.type, v.kind))
        return 0;
    auto& entries = slots_[static_cast<std::size_t>(p)].entries;
    entries.push_back(defaultEntry(def));
    const int index = static_cast<int>(entries.size()) - 1;
    setValue(id, 0, v, index);
    return index + 1;
}

int IParamBlock2::Append(ParamID id, float v) { return append(id, Value(Kind::Float, {v, 0, 0, 0})); }

int IParamBlock2::Append(ParamID id, int v) { return append(id, Value(Kind::Int, {double(v), 0, 0, 0})); }

int IParamBlock2::Append(ParamID id, const Color& v)
{
    return append(id, Value(Kind::Color, {v.r, v.g, v.b, 1.0}));
}

int IParamBlock2::Append(ParamID id, const AColor& v)
{
    return append(id, Value(Kind::AColor, {v.r, v.g, v.b, v.a}));
}

int IParamBlock2::Append(ParamID id, const Point3& v)
{
    return append(id, Value(Kind::Point3, {v.x, v.y, v.z, 0}));
}

int IParamBlock2::Append(ParamID id, const char* v)
{
    return append(id, v ? Value(std::string_view(v)) : Value(Kind::Null));
}

int IParamBlock2::Append(ParamID id, const std::string& v) { return append(id, Value(std::string_view(v))); }

int IParamBlock2::Append(ParamID id, ReferenceTarget* v) { return append(id, Value(v)); }

int IParamBlock2::Append(ParamID id, std::nullptr_t) { return append(id, Value(Kind::Null)); }

int IParamBlock2::Delete(ParamID id, int start, int num)
{
    const int p = desc_->IDtoIndex(id);
    if (p < 0 || !isTableType(desc_->GetParamDefByIndex(p).type))
        return 0;
    auto& entries = slots_[static_cast<std::size_t>(p)].entries;
    const int count = static_cast<int>(entries.size());
    if (start < 0 || start >= count || num <= 0)
        return 0;
    num = std::min(num, count - start);
    if (refCount(p) > 0) {
        for (int i = start + num - 1; i >= start; --i) {
            if (entries[static_cast<std::size_t>(i)].ref)
                ReplaceReference(refIndex(p, i), nullptr);
        }
    }
    entries.erase(entries.begin() + start, entries.begin() + start + num);
    changed(id);
    return num;
}
