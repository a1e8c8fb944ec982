#include "host/ParamBlockDesc2.h"

#include "host/ClassDesc2.h"

#include <cassert>
#include <set>
#include <utility>

ParamBlockDesc2::ParamBlockDesc2(BlockID id, const char* internalName, int localNameId, int flags, int refNo,
                                 int version)
    : id_(id), internalName_(internalName ? internalName : ""), localNameId_(localNameId), flags_(flags),
      refNo_(refNo), version_(version)
{}

void ParamBlockDesc2::SetClassDesc(ClassDesc2* cd)
{
    classDesc_ = cd;
    if (cd)
        cd->AddParamBlockDesc(this);
}

ParamBlockDesc2& ParamBlockDesc2::SetRollout(int dialogId, int titleId, DWORD rolloutFlags)
{
    rolloutDialogId_ = dialogId;
    rolloutTitleId_ = titleId;
    rolloutFlags_ = rolloutFlags;
    return *this;
}

ParamBlockDesc2& ParamBlockDesc2::add(ParamDef def)
{
    assert(!GetParamDef(def.id) && "duplicate parameter id");
    assert(!FindParam(def.name) && "duplicate parameter script name");
    if (def.id >= 0) {
        const auto slot = static_cast<std::size_t>(def.id);
        if (indexOfId_.size() <= slot)
            indexOfId_.resize(slot + 1, -1);
        indexOfId_[slot] = static_cast<int>(params_.size());
    }
    params_.push_back(std::move(def));
    return *this;
}

ParamBlockDesc2& ParamBlockDesc2::addScalar(ParamID id, const char* name, ParamType2 type, double def,
                                            double min, double max, int labelId, int flags)
{
    ParamDef d;
    d.id = id;
    d.name = name;
    d.type = type;
    d.flags = flags;
    d.labelId = labelId;
    d.defNumber = {def, 0.0, 0.0, 0.0};
    d.hasRange = true;
    d.rangeMin = min;
    d.rangeMax = max;
    return add(std::move(d));
}

ParamBlockDesc2& ParamBlockDesc2::addFloat(ParamID id, const char* name, float def, float min, float max,
                                           int labelId, int flags)
{
    return addScalar(id, name, TYPE_FLOAT, def, min, max, labelId, flags);
}

ParamBlockDesc2& ParamBlockDesc2::addAngle(ParamID id, const char* name, float def, float min, float max,
                                           int labelId, int flags)
{
    return addScalar(id, name, TYPE_ANGLE, def, min, max, labelId, flags);
}

ParamBlockDesc2& ParamBlockDesc2::addPercent(ParamID id, const char* name, float def, float min, float max,
                                             int labelId, int flags)
{
    return addScalar(id, name, TYPE_PCNT_FRAC, def, min, max, labelId, flags);
}

ParamBlockDesc2& ParamBlockDesc2::addWorld(ParamID id, const char* name, float def, float min, float max,
                                           int labelId, int flags)
{
    return addScalar(id, name, TYPE_WORLD, def, min, max, labelId, flags);
}

ParamBlockDesc2& ParamBlockDesc2::addInt(ParamID id, const char* name, int def, int min, int max, int labelId,
                                         int flags)
{
    return addScalar(id, name, TYPE_INT, def, min, max, labelId, flags);
}

namespace {

ParamDef plainDef(ParamID id, const char* name, ParamType2 type, int labelId, int flags)
{
    ParamDef d;
    d.id = id;
    d.name = name ? name : "";
    d.type = type;
    d.flags = flags;
    d.labelId = labelId;
    return d;
}

}  // namespace

ParamBlockDesc2& ParamBlockDesc2::addBool(ParamID id, const char* name, bool def, int labelId, int flags)
{
    ParamDef d = plainDef(id, name, TYPE_BOOL, labelId, flags);
    d.defNumber[0] = def ? 1.0 : 0.0;
    return add(std::move(d));
}

ParamBlockDesc2& ParamBlockDesc2::control(ParamID id, ParamControl kind, std::vector<int> ids, float step)
{
    if (const int i = IDtoIndex(id); i >= 0)
        params_[static_cast<std::size_t>(i)].ui = {kind, std::move(ids), step};
    return *this;
}

ParamBlockDesc2& ParamBlockDesc2::addColor(ParamID id, const char* name, const Color& def, int labelId,
                                           int flags)
{
    ParamDef d = plainDef(id, name, TYPE_RGBA, labelId, flags);
    d.defNumber = {def.r, def.g, def.b, 1.0};
    return add(std::move(d));
}

ParamBlockDesc2& ParamBlockDesc2::addAColor(ParamID id, const char* name, const AColor& def, int labelId,
                                            int flags)
{
    ParamDef d = plainDef(id, name, TYPE_FRGBA, labelId, flags);
    d.defNumber = {def.r, def.g, def.b, def.a};
    return add(std::move(d));
}

ParamBlockDesc2& ParamBlockDesc2::addPoint3(ParamID id, const char* name, const Point3& def, int labelId,
                                            int flags)
{
    ParamDef d = plainDef(id, name, TYPE_POINT3, labelId, flags);
    d.defNumber = {def.x, def.y, def.z, 0.0};
    return add(std::move(d));
}

ParamBlockDesc2& ParamBlockDesc2::addString(ParamID id, const char* name, const char* def, int labelId,
                                            int flags)
{
    ParamDef d = plainDef(id, name, TYPE_STRING, labelId, flags);
    d.defString = def ? def : "";
    return add(std::move(d));
}

ParamBlockDesc2& ParamBlockDesc2::addFilename(ParamID id, const char* name, const char* def, int labelId,
                                              int flags)
{
    ParamDef d = plainDef(id, name, TYPE_FILENAME, labelId, flags);
    d.defString = def ? def : "";
    return add(std::move(d));
}

ParamBlockDesc2& ParamBlockDesc2::addRef(ParamID id, const char* name, ParamType2 type, int labelId,
                                         int flags)
{
    return add(plainDef(id, name, type, labelId, flags));
}

ParamBlockDesc2& ParamBlockDesc2::addOwnerRef(ParamID id, const char* name, ParamType2 type, int ownerRefNo,
                                              int labelId, int flags)
{
    ParamDef d = plainDef(id, name, type, labelId, flags | P_OWNERS_REF);
    d.ownerRefNo = ownerRefNo;
    return add(std::move(d));
}

ParamBlockDesc2& ParamBlockDesc2::addTable(ParamID id, const char* name, ParamType2 tableType,
                                           int initialCount, int labelId, int flags)
{
    ParamDef d = plainDef(id, name, tableType, labelId, flags);
    d.tableSize = initialCount;
    return add(std::move(d));
}

const ParamDef* ParamBlockDesc2::GetParamDef(ParamID id) const
{
    const int i = IDtoIndex(id);
    return i < 0 ? nullptr : &params_[static_cast<std::size_t>(i)];
}

const ParamDef* ParamBlockDesc2::FindParam(std::string_view name) const
{
    for (const ParamDef& d : params_) {
        if (d.name == name)
            return &d;
    }
    return nullptr;
}

int ParamBlockDesc2::IDtoIndex(ParamID id) const
{
    if (id >= 0) {
        const auto slot = static_cast<std::size_t>(id);
        return slot < indexOfId_.size() ? indexOfId_[slot] : -1;
    }
    for (std::size_t i = 0; i < params_.size(); ++i) {
        if (params_[i].id == id)
            return static_cast<int>(i);
    }
    return -1;
}

ParamID ParamBlockDesc2::IndextoID(int i) const
{
    return i >= 0 && i < Count() ? params_[static_cast<std::size_t>(i)].id : ParamID(-1);
}

std::vector<std::string> ParamBlockDesc2::Validate() const
{
    std::vector<std::string> problems;
    auto report = [&](const ParamDef& d, const std::string& what) {
        problems.push_back("block " + std::to_string(id_) + " \"" + internalName_ + "\", parameter " +
                           std::to_string(d.id) + " \"" + d.name + "\": " + what);
    };
    if (HasFlag(P_AUTO_CONSTRUCT) && refNo_ < 0)
        problems.push_back("block " + std::to_string(id_) + " \"" + internalName_ +
                           "\": auto-constructed without a reference index");
    std::set<ParamID> ids;
    std::set<std::string> names;
    for (const ParamDef& d : params_) {
        if (!ids.insert(d.id).second)
            report(d, "duplicate id");
        if (d.name.empty())
            report(d, "empty script name");
        else if (!names.insert(d.name).second)
            report(d, "duplicate script name");
        if (!isKnownType(d.type)) {
            report(d, "unknown type " + std::to_string(static_cast<int>(d.type)));
            continue;
        }
        const bool table = isTableType(d.type);
        if (d.animatable() && (table || !isNumericType(d.type)))
            report(d, "only single numeric values can be animatable");
        if (d.ownersRef() && (table || !isReferenceType(d.type) || d.ownerRefNo < 0))
            report(d, "an owner's reference needs a single reference type and a reference index");
        if (table && d.tableSize < 0)
            report(d, "negative table size");
        if (!table && d.tableSize != 0)
            report(d, "table size on a single value");
        if (d.hasRange) {
            const ParamType2 b = baseType(d.type);
            if (!isFloatType(d.type) && b != TYPE_INT)
                report(d, "range on a type without one");
            else if (d.rangeMin > d.rangeMax)
                report(d, "range minimum above maximum");
            else if (d.defNumber[0] < d.rangeMin || d.defNumber[0] > d.rangeMax)
                report(d, "default outside the range");
        }
    }
    return problems;
}
