#pragma once
// The class descriptor of the standalone host's own classes (the standard material and the
// texture maps): identity, names and a factory, plus the one parameter block each class declares.

#include "host/ClassDesc2.h"

class ParamBlockDesc2;

namespace standalone {

class HostClassDesc final : public ClassDesc2 {
public:
    using Factory = ReferenceTarget* (*)();

    // Attaches block to this descriptor. name doubles as the internal name and must outlive it.
    HostClassDesc(const char* name, SClass_ID superClass, Class_ID classId, Factory factory,
                  ParamBlockDesc2& block);

    int IsPublic() override { return 1; }
    ReferenceTarget* Create(BOOL loading = FALSE) override;
    const char* ClassName() override { return name_; }
    const char* InternalName() override { return name_; }
    const char* Category() override { return "Standalone"; }
    SClass_ID SuperClassID() override { return superClass_; }
    Class_ID ClassID() override { return classId_; }

private:
    const char* name_;
    SClass_ID superClass_;
    Class_ID classId_;
    Factory factory_;
};

// Class ids of the host's texture maps (the standard material uses DMTL_CLASS_ID).
constexpr ULONG kHostClassIdA = 0x5AD10000;
inline constexpr Class_ID kBitmapMapClassId{kHostClassIdA, 0x01};
inline constexpr Class_ID kCheckerMapClassId{kHostClassIdA, 0x02};
inline constexpr Class_ID kNoiseMapClassId{kHostClassIdA, 0x03};
inline constexpr Class_ID kGradientMapClassId{kHostClassIdA, 0x04};

}  // namespace standalone
