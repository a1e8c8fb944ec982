#include "host/IParamBlock2.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

int toInt(double v)
{
    if (std::isnan(v))
        return 0;
    return static_cast<int>(std::clamp(v, static_cast<double>(INT_MIN), static_cast<double>(INT_MAX)));
}

KeyInterp interpolationOf(ParamType2 type)
{
    switch (baseType(type)) {
    case TYPE_INT: return KeyInterp::Round;
    case TYPE_BOOL: return KeyInterp::Hold;
    default: return KeyInterp::Linear;
    }
}

}  // namespace

IParamBlock2::IParamBlock2(ParamBlockDesc2* desc, ReferenceMaker* owner) : desc_(desc), owner_(owner)
{
    slots_.resize(static_cast<std::size_t>(desc_->Count()));
    for (int i = 0; i < desc_->Count(); ++i) {
        const ParamDef& def = desc_->GetParamDefByIndex(i);
        const std::size_t n =
            isTableType(def.type) ? static_cast<std::size_t>(std::max(def.tableSize, 0)) : 1;
        slots_[static_cast<std::size_t>(i)].entries.assign(n, defaultEntry(def));
    }
}

ParamType2 IParamBlock2::GetParameterType(ParamID id) const
{
    const ParamDef* def = desc_->GetParamDef(id);
    return def ? def->type : TYPE_UNSPECIFIED;
}

bool IParamBlock2::accepts(ParamType2 type, Kind kind)
{
    const ParamType2 b = baseType(type);
    switch (kind) {
    case Kind::Float: return isFloatType(type);
    case Kind::Int: return b == TYPE_INT || b == TYPE_BOOL;
    case Kind::Color:
    case Kind::AColor: return b == TYPE_RGBA || b == TYPE_FRGBA;
    case Kind::Point3: return b == TYPE_POINT3;
    case Kind::String: return isStringType(type);
    case Kind::Ref: return isReferenceType(type);
    case Kind::Null: return isStringType(type) || isReferenceType(type);
    }
    return false;
}

ParamNumber IParamBlock2::normalized(ParamType2 type, ParamNumber n)
{
    switch (baseType(type)) {
    case TYPE_BOOL: n[0] = n[0] != 0.0 ? 1.0 : 0.0; break;
    case TYPE_RGBA: n[3] = 1.0; break;
    default: break;
    }
    return n;
}

IParamBlock2::Entry IParamBlock2::defaultEntry(const ParamDef& def) const
{
    Entry e;
    e.number = normalized(def.type, def.defNumber);
    e.text = def.defString;
    return e;
}

int IParamBlock2::slotIndex(ParamID id, int tabIndex) const
{
    const int i = desc_->IDtoIndex(id);
    if (i < 0 || tabIndex < 0)
        return -1;
    const auto& entries = slots_[static_cast<std::size_t>(i)].entries;
    return static_cast<std::size_t>(tabIndex) < entries.size() ? i : -1;
}

int IParamBlock2::refCount(int paramIndex) const
{
    const ParamDef& def = desc_->GetParamDefByIndex(paramIndex);
    if (!isReferenceType(def.type) || def.ownersRef())
        return 0;
    return static_cast<int>(slots_[static_cast<std::size_t>(paramIndex)].entries.size());
}

int IParamBlock2::refIndex(int paramIndex, int tabIndex) const
{
    int base = 0;
    for (int i = 0; i < paramIndex; ++i)
        base += refCount(i);
    return base + tabIndex;
}

bool IParamBlock2::locateRef(int i, int& paramIndex, int& tabIndex) const
{
    if (i < 0)
        return false;
    for (int p = 0; p < desc_->Count(); ++p) {
        const int n = refCount(p);
        if (i < n) {
            paramIndex = p;
            tabIndex = i;
            return true;
        }
        i -= n;
    }
    return false;
}

ParamNumber IParamBlock2::numberAt(int paramIndex, int tabIndex, TimeValue t, Interval& ivalid) const
{
    const ParamDef& def = desc_->GetParamDefByIndex(paramIndex);
    const Slot& slot = slots_[static_cast<std::size_t>(paramIndex)];
    if (def.animatable() && !slot.keys.empty())
        return slot.keys.evaluate(t, interpolationOf(def.type), ivalid);
    return slot.entries[static_cast<std::size_t>(tabIndex)].number;
}

BOOL IParamBlock2::getNumber(ParamID id, TimeValue t, Kind kind, ParamNumber& out, Interval& ivalid,
                             int tabIndex)
{
    const int p = slotIndex(id, tabIndex);
    if (p < 0 || !accepts(desc_->GetParamDefByIndex(p).type, kind))
        return FALSE;
    Interval valid = ivalid;
    out = numberAt(p, tabIndex, t, valid);
    ivalid = valid;
    return TRUE;
}

BOOL IParamBlock2::GetValue(ParamID id, TimeValue t, float& v, Interval& ivalid, int tabIndex)
{
    ParamNumber n;
    if (!getNumber(id, t, Kind::Float, n, ivalid, tabIndex))
        return FALSE;
    v = static_cast<float>(n[0]);
    return TRUE;
}

BOOL IParamBlock2::GetValue(ParamID id, TimeValue t, int& v, Interval& ivalid, int tabIndex)
{
    ParamNumber n;
    if (!getNumber(id, t, Kind::Int, n, ivalid, tabIndex))
        return FALSE;
    v = toInt(n[0]);
    return TRUE;
}

BOOL IParamBlock2::GetValue(ParamID id, TimeValue t, Color& v, Interval& ivalid, int tabIndex)
{
    ParamNumber n;
    if (!getNumber(id, t, Kind::Color, n, ivalid, tabIndex))
        return FALSE;
    v = Color(float(n[0]), float(n[1]), float(n[2]));
    return TRUE;
}

BOOL IParamBlock2::GetValue(ParamID id, TimeValue t, AColor& v, Interval& ivalid, int tabIndex)
{
    ParamNumber n;
    if (!getNumber(id, t, Kind::AColor, n, ivalid, tabIndex))
        return FALSE;
    v = AColor(float(n[0]), float(n[1]), float(n[2]), float(n[3]));
    return TRUE;
}

BOOL IParamBlock2::GetValue(ParamID id, TimeValue t, Point3& v, Interval& ivalid, int tabIndex)
{
    ParamNumber n;
    if (!getNumber(id, t, Kind::Point3, n, ivalid, tabIndex))
        return FALSE;
    v = Point3(float(n[0]), float(n[1]), float(n[2]));
    return TRUE;
}

BOOL IParamBlock2::GetValue(ParamID id, TimeValue, const char*& v, Interval&, int tabIndex)
{
    const int p = slotIndex(id, tabIndex);
    if (p < 0 || !accepts(desc_->GetParamDefByIndex(p).type, Kind::String))
        return FALSE;
    v = slots_[static_cast<std::size_t>(p)].entries[static_cast<std::size_t>(tabIndex)].text.c_str();
    return TRUE;
}

BOOL IParamBlock2::GetValue(ParamID id, TimeValue t, std::string& v, Interval& ivalid, int tabIndex)
{
    const char* s = nullptr;
    if (!GetValue(id, t, s, ivalid, tabIndex))
        return FALSE;
    v = s;
    return TRUE;
}

BOOL IParamBlock2::GetValue(ParamID id, TimeValue, ReferenceTarget*& v, Interval&, int tabIndex)
{
    const int p = slotIndex(id, tabIndex);
    if (p < 0)
        return FALSE;
    const ParamDef& def = desc_->GetParamDefByIndex(p);
    if (!accepts(def.type, Kind::Ref))
        return FALSE;
    if (def.ownersRef()) {
        if (!owner_ || def.ownerRefNo < 0 || def.ownerRefNo >= owner_->NumRefs())
            return FALSE;
        v = owner_->GetReference(def.ownerRefNo);
        return TRUE;
    }
    v = slots_[static_cast<std::size_t>(p)].entries[static_cast<std::size_t>(tabIndex)].ref;
    return TRUE;
}

float IParamBlock2::GetFloat(ParamID id, TimeValue t, int tabIndex)
{
    float v = 0.0f;
    Interval ivalid = FOREVER;
    return GetValue(id, t, v, ivalid, tabIndex) ? v : 0.0f;
}

int IParamBlock2::GetInt(ParamID id, TimeValue t, int tabIndex)
{
    int v = 0;
    Interval ivalid = FOREVER;
    return GetValue(id, t, v, ivalid, tabIndex) ? v : 0;
}

Color IParamBlock2::GetColor(ParamID id, TimeValue t, int tabIndex)
{
    Color v;
    Interval ivalid = FOREVER;
    return GetValue(id, t, v, ivalid, tabIndex) ? v : Color();
}

AColor IParamBlock2::GetAColor(ParamID id, TimeValue t, int tabIndex)
{
    AColor v;
    Interval ivalid = FOREVER;
    return GetValue(id, t, v, ivalid, tabIndex) ? v : AColor();
}

Point3 IParamBlock2::GetPoint3(ParamID id, TimeValue t, int tabIndex)
{
    Point3 v;
    Interval ivalid = FOREVER;
    return GetValue(id, t, v, ivalid, tabIndex) ? v : Point3();
}

const char* IParamBlock2::GetStr(ParamID id, TimeValue t, int tabIndex)
{
    const char* v = nullptr;
    Interval ivalid = FOREVER;
    return GetValue(id, t, v, ivalid, tabIndex) ? v : nullptr;
}

ReferenceTarget* IParamBlock2::GetReferenceTarget(ParamID id, TimeValue t, int tabIndex)
{
    ReferenceTarget* v = nullptr;
    Interval ivalid = FOREVER;
    return GetValue(id, t, v, ivalid, tabIndex) ? v : nullptr;
}

BOOL IParamBlock2::setValue(ParamID id, TimeValue t, const Value& v, int tabIndex)
{
    const int p = slotIndex(id, tabIndex);
    if (p < 0)
        return FALSE;
    const ParamDef& def = desc_->GetParamDefByIndex(p);
    if (!accepts(def.type, v.kind))
        return FALSE;
    Slot& slot = slots_[static_cast<std::size_t>(p)];
    Entry& entry = slot.entries[static_cast<std::size_t>(tabIndex)];
    if (isStringType(def.type)) {
        entry.text.assign(v.text);
    } else if (isReferenceType(def.type)) {
        if (def.ownersRef()) {
            if (!owner_ || owner_->ReplaceReference(def.ownerRefNo, v.ref) == REF_FAIL)
                return FALSE;
        } else {
            ReplaceReference(refIndex(p, tabIndex), v.ref);
        }
    } else if (def.animatable() && !slot.keys.empty()) {
        slot.keys.set(t, normalized(def.type, v.number));
    } else {
        entry.number = normalized(def.type, v.number);
    }
    changed(id);
    return TRUE;
}

BOOL IParamBlock2::SetValue(ParamID id, TimeValue t, float v, int tabIndex)
{
    return setValue(id, t, Value(Kind::Float, {v, 0, 0, 0}), tabIndex);
}

BOOL IParamBlock2::SetValue(ParamID id, TimeValue t, int v, int tabIndex)
{
    return setValue(id, t, Value(Kind::Int, {double(v), 0, 0, 0}), tabIndex);
}

BOOL IParamBlock2::SetValue(ParamID id, TimeValue t, const Color& v, int tabIndex)
{
    return setValue(id, t, Value(Kind::Color, {v.r, v.g, v.b, 1.0}), tabIndex);
}

BOOL IParamBlock2::SetValue(ParamID id, TimeValue t, const AColor& v, int tabIndex)
{
    return setValue(id, t, Value(Kind::AColor, {v.r, v.g, v.b, v.a}), tabIndex);
}

BOOL IParamBlock2::SetValue(ParamID id, TimeValue t, const Point3& v, int tabIndex)
{
    return setValue(id, t, Value(Kind::Point3, {v.x, v.y, v.z, 0}), tabIndex);
}

BOOL IParamBlock2::SetValue(ParamID id, TimeValue t, const char* v, int tabIndex)
{
    return setValue(id, t, v ? Value(std::string_view(v)) : Value(Kind::Null), tabIndex);
}

BOOL IParamBlock2::SetValue(ParamID id, TimeValue t, const std::string& v, int tabIndex)
{
    return setValue(id, t, Value(std::string_view(v)), tabIndex);
}

BOOL IParamBlock2::SetValue(ParamID id, TimeValue t, ReferenceTarget* v, int tabIndex)
{
    return setValue(id, t, Value(v), tabIndex);
}

BOOL IParamBlock2::SetValue(ParamID id, TimeValue t, std::nullptr_t, int tabIndex)
{
    return setValue(id, t, Value(Kind::Null), tabIndex);
}

BOOL IParamBlock2::setKey(ParamID id, TimeValue t, const Value& v)
{
    const int p = slotIndex(id, 0);
    if (p < 0)
        return FALSE;
    const ParamDef& def = desc_->GetParamDefByIndex(p);
    if (!def.animatable() || isTableType(def.type) || !isNumericType(def.type) || !accepts(def.type, v.kind))
        return FALSE;
    slots_[static_cast<std::size_t>(p)].keys.set(t, normalized(def.type, v.number));
    changed(id);
    return TRUE;
}

BOOL IParamBlock2::SetKey(ParamID id, TimeValue t, float v)
{
    return setKey(id, t, Value(Kind::Float, {v, 0, 0, 0}));
}

BOOL IParamBlock2::SetKey(ParamID id, TimeValue t, int v)
{
    return setKey(id, t, Value(Kind::Int, {double(v), 0, 0, 0}));
}

BOOL IParamBlock2::SetKey(ParamID id, TimeValue t, const Color& v)
{
    return setKey(id, t, Value(Kind::Color, {v.r, v.g, v.b, 1.0}));
}

BOOL IParamBlock2::SetKey(ParamID id, TimeValue t, const AColor& v)
{
    return setKey(id, t, Value(Kind::AColor, {v.r, v.g, v.b, v.a}));
}

BOOL IParamBlock2::SetKey(ParamID id, TimeValue t, const Point3& v)
{
    return setKey(id, t, Value(Kind::Point3, {v.x, v.y, v.z, 0}));
}

int IParamBlock2::GetKeyCount(ParamID id) const
{
    const int p = desc_->IDtoIndex(id);
    return p < 0 ? 0 : slots_[static_cast<std::size_t>(p)].keys.count();
}

TimeValue IParamBlock2::GetKeyTime(ParamID id, int i) const
{
    const int p = desc_->IDtoIndex(id);
    if (p < 0)
        return TIME_NegInfinity;
    const KeyTrack& keys = slots_[static_cast<std::size_t>(p)].keys;
    return i >= 0 && i < keys.count() ? keys.key(i).time : TIME_NegInfinity;
}

BOOL IParamBlock2::DeleteKey(ParamID id, TimeValue t)
{
    const int p = desc_->IDtoIndex(id);
    if (p < 0)
        return FALSE;
    Slot& slot = slots_[static_cast<std::size_t>(p)];
    if (slot.keys.count() == 1 && slot.keys.key(0).time == t)
        slot.entries[0].number = slot.keys.key(0).value;
    if (!slot.keys.remove(t))
        return FALSE;
    changed(id);
    return TRUE;
}

BOOL IParamBlock2::DeleteKeys(ParamID id)
{
    const int p = desc_->IDtoIndex(id);
    if (p < 0)
        return FALSE;
    Slot& slot = slots_[static_cast<std::size_t>(p)];
    if (slot.keys.empty())
        return TRUE;
    Interval ignored = FOREVER;
    slot.entries[0].number = numberAt(p, 0, 0, ignored);
    slot.keys.clear();
    changed(id);
    return TRUE;
}

void IParamBlock2::resetParam(int paramIndex)
{
    const ParamDef& def = desc_->GetParamDefByIndex(paramIndex);
    Slot& slot = slots_[static_cast<std::size_t>(paramIndex)];
    slot.keys.clear();
    if (def.ownersRef()) {
        if (owner_)
            owner_->ReplaceReference(def.ownerRefNo, nullptr);
        return;
    }
    const std::size_t n = isTableType(def.type) ? static_cast<std::size_t>(std::max(def.tableSize, 0)) : 1;
    resize(paramIndex, 0);
    resize(paramIndex, n);
}

void IParamBlock2::ResetAll()
{
    for (int i = 0; i < desc_->Count(); ++i)
        resetParam(i);
    changed(-1);
}

BOOL IParamBlock2::Reset(ParamID id)
{
    const int p = desc_->IDtoIndex(id);
    if (p < 0)
        return FALSE;
    resetParam(p);
    changed(id);
    return TRUE;
}

void IParamBlock2::CopyValuesFrom(IParamBlock2& src)
{
    if (&src == this)
        return;
    for (int p = 0; p < desc_->Count(); ++p) {
        const ParamDef& def = desc_->GetParamDefByIndex(p);
        const int q = src.desc_->IDtoIndex(def.id);
        if (q < 0 || def.ownersRef())
            continue;
        const ParamDef& srcDef = src.desc_->GetParamDefByIndex(q);
        if (srcDef.type != def.type || srcDef.ownersRef())
            continue;
        const Slot& from = src.slots_[static_cast<std::size_t>(q)];
        resize(p, 0);
        Slot& to = slots_[static_cast<std::size_t>(p)];
        to.keys = def.animatable() ? from.keys : KeyTrack();
        for (const Entry& e : from.entries) {
            Entry copy = e;
            copy.ref = nullptr;
            to.entries.push_back(copy);
        }
        if (refCount(p) > 0) {
            for (std::size_t i = 0; i < from.entries.size(); ++i)
                ReplaceReference(refIndex(p, static_cast<int>(i)), from.entries[i].ref);
        }
    }
    changed(-1);
}

ReferenceTarget* IParamBlock2::Clone()
{
    auto* copy = new IParamBlock2(desc_, nullptr);
    copy->CopyValuesFrom(*this);
    copy->loadedVersion_ = loadedVersion_;
    return copy;
}

void IParamBlock2::changed(ParamID id)
{
    lastNotifyParamID_ = id;
    NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
}

int IParamBlock2::NumRefs()
{
    int n = 0;
    for (int p = 0; p < desc_->Count(); ++p)
        n += refCount(p);
    return n;
}

ReferenceTarget* IParamBlock2::GetReference(int i)
{
    int p = 0, tab = 0;
    if (!locateRef(i, p, tab))
        return nullptr;
    return slots_[static_cast<std::size_t>(p)].entries[static_cast<std::size_t>(tab)].ref;
}

void IParamBlock2::SetReference(int i, ReferenceTarget* target)
{
    int p = 0, tab = 0;
    if (locateRef(i, p, tab))
        slots_[static_cast<std::size_t>(p)].entries[static_cast<std::size_t>(tab)].ref = target;
}

RefResult IParamBlock2::NotifyRefChanged(const Interval&, ReferenceTarget* hTarget, PartID&, RefMessage, BOOL)
{
    for (int p = 0; p < desc_->Count(); ++p) {
        if (refCount(p) == 0)
            continue;
        for (const Entry& e : slots_[static_cast<std::size_t>(p)].entries) {
            if (e.ref == hTarget) {
                lastNotifyParamID_ = desc_->GetParamDefByIndex(p).id;
                return REF_SUCCEED;
            }
        }
    }
    return REF_SUCCEED;
}
