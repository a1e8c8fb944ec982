#pragma once
// A parameter block: the values of the parameters a ParamBlockDesc2 describes, for one object.
//
// Values are read at a host time. A parameter flagged P_ANIMATABLE may carry keyframes; without
// keys it holds one constant value. With keys, SetValue sets (adds or replaces) the key at t
// rather than the constant. SetValue never clamps to the descriptor's range.
//
// Reference-type parameters are non-owning: the block holds them as its own references (so a
// deleted target empties the value) unless they are P_OWNERS_REF, in which case the value is the
// owner's reference ParamDef::ownerRefNo and is read and written through the owner.
//
// Every accessor answers FALSE (or an empty value) for an unknown id, a value of the wrong type
// or a tabIndex outside the parameter; nothing here asserts on caller input. Accepted types: float
// for float, angle, percent and world parameters; int for int and bool (bools read back 0 or 1);
// Color and AColor for both colour types (a colour without alpha reads alpha 1, and writing a
// Color into one with alpha sets alpha 1); Point3 for points; text for strings and file names;
// ReferenceTarget* for materials, maps, bitmaps and nodes.
//
// Every successful change records the parameter (LastNotifyParamID) and then notifies dependents
// with REFMSG_CHANGE; Load and construction do not notify.

#include "host/Color.h"
#include "host/KeyTrack.h"
#include "host/ParamBlockDesc2.h"
#include "host/Point3.h"
#include "host/ReferenceTarget.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class IParamBlock2 : public ReferenceTarget {
public:
    // desc must outlive the block. owner is the maker whose settings these are; P_OWNERS_REF
    // parameters need it, and it must outlive the block (an owner that adopts its blocks does).
    // Values start at the descriptor's defaults.
    explicit IParamBlock2(ParamBlockDesc2* desc, ReferenceMaker* owner = nullptr);

    ParamBlockDesc2* GetDesc() const { return desc_; }
    BlockID ID() const { return desc_->ID(); }
    int GetVersion() const { return desc_->Version(); }
    // Version recorded in the data Load read; -1 until a block header has been loaded.
    int LoadedVersion() const { return loadedVersion_; }
    ReferenceMaker* GetOwner() const { return owner_; }
    void SetOwner(ReferenceMaker* owner) { owner_ = owner; }

    int NumParams() const { return desc_->Count(); }
    ParamID IndextoID(int i) const { return desc_->IndextoID(i); }
    int IDtoIndex(ParamID id) const { return desc_->IDtoIndex(id); }
    const ParamDef* GetParamDef(ParamID id) const { return desc_->GetParamDef(id); }
    ParamType2 GetParameterType(ParamID id) const;

    // Value at t. ivalid is narrowed to the time over which the value holds (an unanimated value
    // leaves it alone); on failure neither v nor ivalid changes. A string read as const char*
    // stays valid until the parameter next changes.
    BOOL GetValue(ParamID id, TimeValue t, float& v, Interval& ivalid, int tabIndex = 0);
    BOOL GetValue(ParamID id, TimeValue t, int& v, Interval& ivalid, int tabIndex = 0);
    BOOL GetValue(ParamID id, TimeValue t, Color& v, Interval& ivalid, int tabIndex = 0);
    BOOL GetValue(ParamID id, TimeValue t, AColor& v, Interval& ivalid, int tabIndex = 0);
    BOOL GetValue(ParamID id, TimeValue t, Point3& v, Interval& ivalid, int tabIndex = 0);
    BOOL GetValue(ParamID id, TimeValue t, const char*& v, Interval& ivalid, int tabIndex = 0);
    BOOL GetValue(ParamID id, TimeValue t, std::string& v, Interval& ivalid, int tabIndex = 0);
    BOOL GetValue(ParamID id, TimeValue t, ReferenceTarget*& v, Interval& ivalid, int tabIndex = 0);

    // Shorthands answering 0, black, the origin or nullptr on failure.
    float GetFloat(ParamID id, TimeValue t = 0, int tabIndex = 0);
    int GetInt(ParamID id, TimeValue t = 0, int tabIndex = 0);
    Color GetColor(ParamID id, TimeValue t = 0, int tabIndex = 0);
    AColor GetAColor(ParamID id, TimeValue t = 0, int tabIndex = 0);
    Point3 GetPoint3(ParamID id, TimeValue t = 0, int tabIndex = 0);
    const char* GetStr(ParamID id, TimeValue t = 0, int tabIndex = 0);
    ReferenceTarget* GetReferenceTarget(ParamID id, TimeValue t = 0, int tabIndex = 0);

    BOOL SetValue(ParamID id, TimeValue t, float v, int tabIndex = 0);
    BOOL SetValue(ParamID id, TimeValue t, double v, int tabIndex = 0)
    {
        return SetValue(id, t, float(v), tabIndex);
    }
    BOOL SetValue(ParamID id, TimeValue t, int v, int tabIndex = 0);
    BOOL SetValue(ParamID id, TimeValue t, const Color& v, int tabIndex = 0);
    BOOL SetValue(ParamID id, TimeValue t, const AColor& v, int tabIndex = 0);
    BOOL SetValue(ParamID id, TimeValue t, const Point3& v, int tabIndex = 0);
    BOOL SetValue(ParamID id, TimeValue t, const char* v, int tabIndex = 0);
    BOOL SetValue(ParamID id, TimeValue t, const std::string& v, int tabIndex = 0);
    BOOL SetValue(ParamID id, TimeValue t, ReferenceTarget* v, int tabIndex = 0);
    // Empties a reference or string parameter.
    BOOL SetValue(ParamID id, TimeValue t, std::nullptr_t, int tabIndex = 0);

    // Keyframes, for single P_ANIMATABLE parameters only (FALSE otherwise). The first key makes the
    // parameter animated; removing the last key leaves its value as the constant.
    BOOL SetKey(ParamID id, TimeValue t, float v);
    BOOL SetKey(ParamID id, TimeValue t, int v);
    BOOL SetKey(ParamID id, TimeValue t, const Color& v);
    BOOL SetKey(ParamID id, TimeValue t, const AColor& v);
    BOOL SetKey(ParamID id, TimeValue t, const Point3& v);
    int GetKeyCount(ParamID id) const;
    // Time of key i, TIME_NegInfinity when there is no such key.
    TimeValue GetKeyTime(ParamID id, int i) const;
    BOOL DeleteKey(ParamID id, TimeValue t);
    // Drops all keys; the value at time 0 becomes the constant.
    BOOL DeleteKeys(ParamID id);

    // Tables. Count answers 0 for an unknown id or a single value. New entries take the
    // parameter's default (no target for references). Append answers the new count, 0 on
    // failure; Delete answers how many entries it removed, clipping num to the table.
    int Count(ParamID id) const;
    BOOL SetCount(ParamID id, int n);
    int Append(ParamID id, float v);
    int Append(ParamID id, int v);
    int Append(ParamID id, const Color& v);
    int Append(ParamID id, const AColor& v);
    int Append(ParamID id, const Point3& v);
    int Append(ParamID id, const char* v);
    int Append(ParamID id, const std::string& v);
    int Append(ParamID id, ReferenceTarget* v);
    int Append(ParamID id, std::nullptr_t);
    int Delete(ParamID id, int start, int num);

    // Back to the descriptor's defaults: keys dropped, tables at their initial size, references
    // (the owner's too) emptied. LastNotifyParamID becomes -1 for ResetAll.
    void ResetAll();
    BOOL Reset(ParamID id);

    // For every parameter this block shares with src by id and type: value, keys and table
    // entries (reference targets are linked, not copied; P_OWNERS_REF values are left alone).
    void CopyValuesFrom(IParamBlock2& src);

    // Parameter of the last change, or of the last change of a target a parameter holds.
    ParamID LastNotifyParamID() const { return lastNotifyParamID_; }

    // References: the targets of the reference parameters the block holds itself, in parameter
    // order, each table contributing its entries.
    int NumRefs() override;
    ReferenceTarget* GetReference(int i) override;
    void SetReference(int i, ReferenceTarget* target) override;
    RefResult NotifyRefChanged(const Interval& changeInt, ReferenceTarget* hTarget, PartID& partID,
                               RefMessage message, BOOL propagate) override;

    Class_ID ClassID() override { return Class_ID(0x0083, 0); }
    SClass_ID SuperClassID() override { return PARAMETER_BLOCK2_CLASS_ID; }
    void GetClassName(std::string& s) override { s = "ParamBlock2"; }
    // Same descriptor, values, keys and targets; no owner, so P_OWNERS_REF values stay behind.
    ReferenceTarget* Clone() override;

    // Saves every parameter except references, P_OWNERS_REF and P_TRANSIENT ones (a reference
    // table saves its entry count, so the host can restore its references into it). Load keeps
    // the current value of anything the data lacks and skips parameters it does not know or
    // whose type changed; truncated or malformed data answers IO_ERROR. Loaded numbers pass the
    // intake (ParamIntake.h): held to their ranges, and one that is not finite keeps what the
    // parameter held (a key takes the parameter's value), each with a warning naming the
    // source (ILoad::SourceName), the block and the parameter.
    IOResult Save(ISave* isave) override;
    IOResult Load(ILoad* iload) override;

private:
    enum class Kind { Float, Int, Color, AColor, Point3, String, Ref, Null };
    struct Value {
        Value(Kind k, const ParamNumber& n = {}) : kind(k), number(n) {}
        explicit Value(std::string_view s) : kind(Kind::String), text(s) {}
        explicit Value(ReferenceTarget* r) : kind(r ? Kind::Ref : Kind::Null), ref(r) {}
        Kind kind;
        ParamNumber number{};
        std::string_view text;
        ReferenceTarget* ref = nullptr;
    };
    struct Entry {
        ParamNumber number{};
        std::string text;
        ReferenceTarget* ref = nullptr;
    };
    struct Slot {
        std::vector<Entry> entries;  // one for a single value
        KeyTrack keys;
    };

    static bool accepts(ParamType2 type, Kind kind);
    static ParamNumber normalized(ParamType2 type, ParamNumber n);
    Entry defaultEntry(const ParamDef& def) const;
    int slotIndex(ParamID id, int tabIndex) const;  // -1 when id or tabIndex is invalid
    int refIndex(int paramIndex, int tabIndex) const;
    int refCount(int paramIndex) const;
    bool locateRef(int i, int& paramIndex, int& tabIndex) const;
    ParamNumber numberAt(int paramIndex, int tabIndex, TimeValue t, Interval& ivalid) const;
    BOOL getNumber(ParamID id, TimeValue t, Kind kind, ParamNumber& out, Interval& ivalid, int tabIndex);
    BOOL setValue(ParamID id, TimeValue t, const Value& v, int tabIndex);
    BOOL setKey(ParamID id, TimeValue t, const Value& v);
    int append(ParamID id, const Value& v);
    void resize(int paramIndex, std::size_t n);
    void resetParam(int paramIndex);
    void changed(ParamID id);

    IOResult loadHeader(ILoad* iload);
    IOResult loadParam(ILoad* iload);
    // Where loaded values come from, for the intake's warnings.
    std::string loadSource(ILoad* iload) const;

    ParamBlockDesc2* desc_;
    ReferenceMaker* owner_;
    std::vector<Slot> slots_;  // parallel to the descriptor's parameters
    ParamID lastNotifyParamID_ = -1;
    int loadedVersion_ = -1;
};
