#pragma once
// An object that others refer to. It keeps the list of makers that depend on it, tells them about
// its changes, and tells them before it goes away.

#include "host/ClassID.h"
#include "host/ParamTypes.h"
#include "host/ReferenceMaker.h"

#include <string>
#include <vector>

class IParamBlock2;

class ReferenceTarget : public ReferenceMaker {
public:
    ReferenceTarget() = default;
    // Tells every dependent REFMSG_TARGET_DELETED and clears their slots. By the time this base
    // destructor runs the derived part is gone; DeleteThis notifies while the object is whole.
    ~ReferenceTarget() override;

    BOOL IsRefTarget() override { return TRUE; }

    virtual Class_ID ClassID() { return Class_ID(0, 0); }
    virtual SClass_ID SuperClassID() { return 0; }
    virtual void GetClassName(std::string& s) { s.clear(); }

    // Parameter blocks the object exposes, for generic access by id or script name (scene
    // documents). The object keeps owning them.
    virtual int NumParamBlocks() { return 0; }
    virtual IParamBlock2* GetParamBlock(int i)
    {
        (void)i;
        return nullptr;
    }
    // Walks GetParamBlock until a block's id matches; nullptr when none does.
    virtual IParamBlock2* GetParamBlockByID(BlockID id);

    // A new object of the same class and settings, owned by the caller; nullptr when the class
    // cannot be copied.
    virtual ReferenceTarget* Clone() { return nullptr; }

    // Notifies the dependents, then destroys the object with delete: only for objects allocated
    // with new and owned by nobody else (not adopted, not on the stack).
    virtual void DeleteThis();

    // Calls NotifyRefChanged(changeInt, this, partID, message, propagate) on every dependent.
    // With propagate set, a dependent that is itself a target and answers REF_SUCCEED passes the
    // message on to its own dependents, naming itself as the changed target. Each target
    // propagates at most once per call, so reference cycles end. The notifying target must not
    // be deleted by a handler.
    RefResult NotifyDependents(const Interval& changeInt, PartID partID, RefMessage message,
                               BOOL propagate = TRUE);

    int NumDependents() const { return static_cast<int>(dependents_.size()); }
    bool HasDependent(const ReferenceMaker* maker) const;

private:
    friend class ReferenceMaker;
    struct Dependent {
        ReferenceMaker* maker;
        int count;  // registrations: one per slot of the maker holding this target
    };
    void addDependent(ReferenceMaker* maker);
    void removeDependent(ReferenceMaker* maker, bool allRegistrations);
    void notifyDeletion();
    void notify(const Interval& changeInt, PartID partID, RefMessage message, BOOL propagate,
                std::vector<const ReferenceTarget*>& visited);

    std::vector<Dependent> dependents_;
};
