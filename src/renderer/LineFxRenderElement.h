#pragma once
// The render element that receives the line layer, and the base of the pen-stroke element
// (CrayonStrokeRenderElement), which differs only in identity.
//
// Settings live in the element's parameter block (reference 0, built by the element itself from
// its class's block descriptor, so an element is whole with or without the class registry):
// enabled, filter and name are read and written there at time 0.
//
// The bitmap holder is not a block value (the host's holder is no reference target): the element
// keeps a non-owning pointer to the holder it was given, or to one it made and owns itself
// (createBitmapHolder). A holder given with SetPBBitmap must outlive its use by the element.

#include "host/ClassID.h"
#include "host/IParamBlock2.h"
#include "host/RenderElement.h"

#include <memory>

namespace vml {

inline constexpr Class_ID lineFxRenderElementClassId{0x54022254, 0x03200205};
inline constexpr Class_ID crayonStrokeRenderElementClassId{0x54022254, 0x03200704};

class LineFxRenderElement : public IRenderElement {
public:
    LineFxRenderElement();
    ~LineFxRenderElement() override;

    void SetEnabled(BOOL on) override;
    BOOL IsEnabled() const override;
    void SetFilterEnabled(BOOL on) override;
    BOOL IsFilterEnabled() const override;
    BOOL BlendOnMultipass() const override { return TRUE; }
    BOOL AtmosphereApplied() const { return FALSE; }
    BOOL ShadowsApplied() const { return FALSE; }
    // nullptr empties the name. The answer stays valid until the name next changes.
    void SetElementName(const char* name) override;
    const char* ElementName() const override;
    void SetPBBitmap(PBBitmap* holder) override { holder_ = holder; }
    PBBitmap* GetPBBitmap() override { return holder_; }

    // Makes the element's own empty holder (once) and makes it current; it lives as long as the
    // element. Answers the holder.
    PBBitmap* createBitmapHolder();

    Class_ID ClassID() override { return identity_.classId; }
    void GetClassName(std::string& s) override;
    int NumRefs() override { return 1; }
    ReferenceTarget* GetReference(int i) override;
    void SetReference(int i, ReferenceTarget* target) override;
    int NumParamBlocks() override { return 1; }
    IParamBlock2* GetParamBlock(int i) override { return i == 0 ? pblock_ : nullptr; }

    // A new element of the same class with a copy of the block's values, no bitmap holder.
    ReferenceTarget* Clone() override;
    // Copies the element name into the effect name first, so the saved effect is named as the
    // element; the block is saved by the host as reference 0.
    IOResult Save(ISave* isave) override;
    IOResult Load(ILoad* iload) override;

    IParamBlock2* pblock() const { return pblock_; }

protected:
    struct Identity {
        Class_ID classId;
        int effectNameId;  // string id of the effect name a new element carries
        ParamBlockDesc2& (*blockDesc)();
    };
    explicit LineFxRenderElement(const Identity& identity);

    // An empty element of the most derived class; Clone fills it.
    virtual LineFxRenderElement* makeEmpty() const { return new LineFxRenderElement(); }

private:
    Identity identity_;
    IParamBlock2* pblock_ = nullptr;
    PBBitmap* holder_ = nullptr;
    std::unique_ptr<PBBitmap> ownHolder_;
};

}  // namespace vml
