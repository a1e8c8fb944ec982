#pragma once
// The seven class descriptors the library offers the host. Identity, names and visibility come
// from one table row per class; all classes share the first class-id word.

#include "host/ClassDesc2.h"

#include <string>

namespace vml {

constexpr ULONG vmlClassIdA = 0x54022254;

struct ClassRow {
    Class_ID classId;
    SClass_ID superClass;
    bool isPublic;
    int nameStringId;
    const char* internalName;
};

// The renderer's background map has a class id but no descriptor; it is never offered.
inline constexpr Class_ID vmlBackgroundMapClassId{vmlClassIdA, 0x0320430F};

// What every descriptor answers alike; each class adds only how it creates its objects.
class vmlClassDescBase : public ClassDesc2 {
public:
    explicit vmlClassDescBase(const ClassRow& row) : row_(row) {}

    int IsPublic() override { return row_.isPublic ? 1 : 0; }
    // The display name from the string table; empty when the lookup fails. The descriptor keeps
    // its own copy, so the name outlives the next string lookup.
    const char* ClassName() override;
    SClass_ID SuperClassID() override { return row_.superClass; }
    Class_ID ClassID() override { return row_.classId; }
    const char* Category() override { return ""; }
    const char* InternalName() override { return row_.internalName; }
    HINSTANCE HInstance() override;

private:
    ClassRow row_;
    std::string name_;
};

// Instance creation answers null (as for a failed allocation) while the class itself is not yet
// part of the library.
class vmlMaterialClassDesc final : public vmlClassDescBase {
public:
    vmlMaterialClassDesc();
    ReferenceTarget* Create(BOOL loading) override;
};

class vmlRendererClassDesc final : public vmlClassDescBase {
public:
    vmlRendererClassDesc();
    ReferenceTarget* Create(BOOL loading) override;
};

class vmlBrushClassDesc final : public vmlClassDescBase {
public:
    vmlBrushClassDesc();
    ReferenceTarget* Create(BOOL loading) override;
};

class lineFxClassDesc final : public vmlClassDescBase {
public:
    lineFxClassDesc();
    ReferenceTarget* Create(BOOL loading) override;
};

class lineFxElementClassDesc final : public vmlClassDescBase {
public:
    lineFxElementClassDesc();
    ReferenceTarget* Create(BOOL loading) override;
};

class lineFxRenderElementClassDesc final : public vmlClassDescBase {
public:
    lineFxRenderElementClassDesc();
    ReferenceTarget* Create(BOOL loading) override;
};

class crayonStrokeRenderElementClassDesc final : public vmlClassDescBase {
public:
    crayonStrokeRenderElementClassDesc();
    ReferenceTarget* Create(BOOL loading) override;
};

}  // namespace vml
