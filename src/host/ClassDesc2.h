#pragma once
// A class descriptor: what the host asks about a plug-in class before and while creating its
// objects, and the parameter-block descriptors attached to the class.

#include "host/ClassID.h"
#include "host/ParamTypes.h"

#include <vector>

class Interface;
class ParamBlockDesc2;
class ReferenceMaker;
class ReferenceTarget;

class ClassDesc2 {
public:
    ClassDesc2() = default;
    ClassDesc2(const ClassDesc2&) = delete;
    ClassDesc2& operator=(const ClassDesc2&) = delete;
    virtual ~ClassDesc2() = default;

    virtual int IsPublic() = 0;
    // A new object owned by the caller, or nullptr on failure. loading: the object is about to be
    // filled from a saved scene.
    virtual ReferenceTarget* Create(BOOL loading = FALSE) = 0;
    // UTF-8 display name.
    virtual const char* ClassName() = 0;
    virtual SClass_ID SuperClassID() = 0;
    virtual Class_ID ClassID() = 0;
    virtual const char* Category() { return ""; }
    virtual const char* InternalName() { return nullptr; }
    virtual HINSTANCE HInstance() { return nullptr; }
    virtual int BeginCreate(Interface*) { return 0; }
    virtual int EndCreate(Interface*) { return 0; }
    virtual BOOL OkToCreate(Interface*) { return TRUE; }
    // Bit i set: rollout page i starts open.
    virtual DWORD InitialRollupPageState() { return 0x7FFFFFFF; }

    // Parameter-block descriptors, in the order they were attached. Adding a descriptor that is
    // already attached does nothing. The class does not own them.
    void AddParamBlockDesc(ParamBlockDesc2* pbd);
    int NumParamBlockDescs() const { return static_cast<int>(paramBlockDescs_.size()); }
    ParamBlockDesc2* GetParamBlockDesc(int i) const;  // nullptr out of range
    ParamBlockDesc2* GetParamBlockDescByID(BlockID id) const;

    // For every attached descriptor flagged P_AUTO_CONSTRUCT: builds a block for owner, has owner
    // adopt it and puts it into owner's reference RefNo().
    void MakeAutoParamBlocks(ReferenceMaker* owner);

private:
    std::vector<ParamBlockDesc2*> paramBlockDescs_;
};
