#pragma once
// Static description of a parameter block: its identity, the owner's reference slot it occupies,
// its automatic rollout and its parameters. Blocks (IParamBlock2) are built from it and keep a
// pointer to it, so a descriptor must outlive its blocks and gain no parameters once blocks exist.
//
// Parameters are declared as a table:
//     ParamBlockDesc2 desc(1, "brush", 102, P_AUTO_CONSTRUCT | P_AUTO_UI, 1);
//     desc.addFloat(1, "brushOpacity", 100.0f, 0.0f, 100.0f, 209, P_ANIMATABLE)
//         .addFloat(2, "brushSize", 10.0f, 0.1f, 100.0f, 200, P_ANIMATABLE);
// A duplicate id or script name is a programming error: it asserts, and Validate reports it.

#include "host/Color.h"
#include "host/ParamDef.h"
#include "host/Point3.h"

#include <string>
#include <string_view>
#include <vector>

class ClassDesc2;

class ParamBlockDesc2 {
public:
    // refNo: the owner's reference index of the block; version matters with P_VERSION. The
    // descriptor is not attached to a class here (static descriptors in different files may be
    // constructed in any order); SetClassDesc attaches it.
    ParamBlockDesc2(BlockID id, const char* internalName, int localNameId, int flags, int refNo = 0,
                    int version = 0);

    BlockID ID() const { return id_; }
    const std::string& InternalName() const { return internalName_; }
    int LocalNameId() const { return localNameId_; }
    int Flags() const { return flags_; }
    bool HasFlag(int flag) const { return (flags_ & flag) != 0; }
    int RefNo() const { return refNo_; }
    int Version() const { return version_; }

    // Records the owning class and adds this descriptor to it (once).
    void SetClassDesc(ClassDesc2* cd);
    ClassDesc2* GetClassDesc() const { return classDesc_; }

    // Automatic rollout (P_AUTO_UI): dialog template, title string id, rollout flags.
    ParamBlockDesc2& SetRollout(int dialogId, int titleId, DWORD rolloutFlags = 0);
    int RolloutDialogId() const { return rolloutDialogId_; }
    int RolloutTitleId() const { return rolloutTitleId_; }
    DWORD RolloutFlags() const { return rolloutFlags_; }

    // Declaration, in block order. Each returns *this so a block reads as a table.
    ParamBlockDesc2& add(ParamDef def);
    ParamBlockDesc2& addFloat(ParamID id, const char* name, float def, float min, float max, int labelId,
                              int flags = 0);
    ParamBlockDesc2& addAngle(ParamID id, const char* name, float def, float min, float max, int labelId,
                              int flags = 0);
    ParamBlockDesc2& addPercent(ParamID id, const char* name, float def, float min, float max, int labelId,
                                int flags = 0);
    ParamBlockDesc2& addWorld(ParamID id, const char* name, float def, float min, float max, int labelId,
                              int flags = 0);
    ParamBlockDesc2& addInt(ParamID id, const char* name, int def, int min, int max, int labelId,
                            int flags = 0);
    ParamBlockDesc2& addBool(ParamID id, const char* name, bool def, int labelId, int flags = 0);
    // The control of parameter id (declared before) in the block's rollout.
    ParamBlockDesc2& control(ParamID id, ParamControl kind, std::vector<int> ids, float step = 0.1f);
    ParamBlockDesc2& addColor(ParamID id, const char* name, const Color& def, int labelId, int flags = 0);
    ParamBlockDesc2& addAColor(ParamID id, const char* name, const AColor& def, int labelId, int flags = 0);
    ParamBlockDesc2& addPoint3(ParamID id, const char* name, const Point3& def, int labelId, int flags = 0);
    ParamBlockDesc2& addString(ParamID id, const char* name, const char* def, int labelId, int flags = 0);
    ParamBlockDesc2& addFilename(ParamID id, const char* name, const char* def, int labelId, int flags = 0);
    // A reference-type parameter held by the block itself.
    ParamBlockDesc2& addRef(ParamID id, const char* name, ParamType2 type, int labelId, int flags = 0);
    // A reference-type parameter whose value is the owner's reference ownerRefNo.
    ParamBlockDesc2& addOwnerRef(ParamID id, const char* name, ParamType2 type, int ownerRefNo, int labelId,
                                 int flags = 0);
    // A table (tableType carries TYPE_TAB) starting with initialCount default entries.
    ParamBlockDesc2& addTable(ParamID id, const char* name, ParamType2 tableType, int initialCount,
                              int labelId, int flags = 0);

    int Count() const { return static_cast<int>(params_.size()); }
    // i in 0..Count()-1.
    const ParamDef& GetParamDefByIndex(int i) const { return params_[static_cast<std::size_t>(i)]; }
    const ParamDef* GetParamDef(ParamID id) const;
    const ParamDef* FindParam(std::string_view name) const;
    int IDtoIndex(ParamID id) const;  // -1 when unknown
    ParamID IndextoID(int i) const;   // -1 when out of range

    // One line per inconsistency; empty when the descriptor is sound. Checks duplicate ids and
    // names, unknown types, flags that do not fit the type, ranges and defaults outside them, and an
    // auto-constructed block without a reference index.
    std::vector<std::string> Validate() const;

private:
    ParamBlockDesc2& addScalar(ParamID id, const char* name, ParamType2 type, double def, double min,
                               double max, int labelId, int flags);

    BlockID id_;
    std::string internalName_;
    int localNameId_;
    int flags_;
    int refNo_;
    int version_;
    ClassDesc2* classDesc_ = nullptr;
    int rolloutDialogId_ = 0;
    int rolloutTitleId_ = 0;
    DWORD rolloutFlags_ = 0;
    std::vector<ParamDef> params_;
    // Index of each non-negative id, -1 for ids not in the block: maps and shaders look their
    // parameters up by id for every shaded sample.
    std::vector<int> indexOfId_;
};
