#pragma once
// An object that refers to other objects (its references) and hears about their changes.
//
// References are non-owning links held in numbered slots that the derived class stores itself
// (NumRefs, GetReference, SetReference). Slots are changed through ReplaceReference, which keeps
// the target's list of dependents in step; a slot written with SetReference directly is not
// registered, and its target's deletion would leave it dangling.
//
// Lifetime: when a target is destroyed, every maker referring to it first receives
// REFMSG_TARGET_DELETED and then has each slot holding it cleared with SetReference(i, nullptr).
// A maker's destructor unregisters all its links without calling back into the (already
// destroyed) derived class, then destroys the objects it adopted.

#include "host/ChunkIO.h"
#include "host/Interval.h"
#include "host/RefMessages.h"

#include <memory>
#include <vector>

class ReferenceMaker {
public:
    ReferenceMaker() = default;
    ReferenceMaker(const ReferenceMaker&) = delete;
    ReferenceMaker& operator=(const ReferenceMaker&) = delete;
    virtual ~ReferenceMaker();

    // Slot storage of the derived class. SetReference only stores; it must accept nullptr for
    // every valid index.
    virtual int NumRefs() { return 0; }
    virtual ReferenceTarget* GetReference(int) { return nullptr; }
    virtual void SetReference(int, ReferenceTarget*) {}

    // A target this maker refers to changed (hTarget) or is being deleted. hTarget may only be
    // compared, not called, when the message is REFMSG_TARGET_DELETED. The answer decides whether
    // a propagating message travels on (REF_SUCCEED) when this maker is itself a target; partID
    // may be changed for that onward trip. The handler must not delete this maker.
    virtual RefResult NotifyRefChanged(const Interval& changeInt, ReferenceTarget* hTarget, PartID& partID,
                                       RefMessage message, BOOL propagate);

    // Points slot i at target (or empties it with nullptr): unregisters this maker from the old
    // target, calls SetReference, registers with what the slot then holds. REF_FAIL for an index
    // outside 0..NumRefs()-1.
    RefResult ReplaceReference(int i, ReferenceTarget* target);
    RefResult DeleteReference(int i) { return ReplaceReference(i, nullptr); }
    RefResult DeleteAllRefsFromMe();
    // First slot holding target, -1 when none does.
    int FindRef(ReferenceTarget* target);

    virtual BOOL IsRefTarget() { return FALSE; }

    // Persistence of the object's own data; references are saved and restored by the host.
    virtual IOResult Save(ISave*) { return IO_OK; }
    virtual IOResult Load(ILoad*) { return IO_OK; }

    // Takes ownership of an object this maker is responsible for (such as its parameter blocks).
    // Adopted objects live until this maker is destroyed, and are destroyed, last adopted first,
    // after its references have been dropped. Adopting does not make a reference.
    ReferenceTarget* adoptOwned(std::unique_ptr<ReferenceTarget> object);
    template <class T> T* adopt(std::unique_ptr<T> object)
    {
        T* raw = object.get();
        adoptOwned(std::move(object));
        return raw;
    }
    // Hands an adopted object back to the caller; nullptr when it was not adopted by this maker.
    std::unique_ptr<ReferenceTarget> releaseOwned(ReferenceTarget* object);
    bool owns(const ReferenceTarget* object) const;

private:
    friend class ReferenceTarget;
    void link(ReferenceTarget* target);
    void unlink(ReferenceTarget* target);
    // Called by a target being destroyed: notify, clear every slot holding it, forget it.
    void targetDeleted(ReferenceTarget* target);

    // One entry per registration: a target held in two slots appears twice.
    std::vector<ReferenceTarget*> links_;
    std::vector<std::unique_ptr<ReferenceTarget>> owned_;
};
