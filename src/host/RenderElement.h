#pragma once
// Render elements: extra images a render produces beside the main one, each in a bitmap of the
// output size, gathered by the render-element manager of the render parameters.

#include "host/Effect.h"

#include <memory>
#include <string>

class Bitmap;

// Description of a bitmap to create.
struct BitmapInfo {
    int width = 0, height = 0;
    std::string name;
};

// A bitmap slot: a description and, once created, the bitmap it owns.
class PBBitmap {
public:
    BitmapInfo bi;
    Bitmap* bm() const { return bitmap_.get(); }
    // (Re)creates the bitmap from bi; false when it has no size.
    bool CreateBitmap();
    void DeleteBitmap();

private:
    std::unique_ptr<Bitmap> bitmap_;
};

class IRenderElement : public SpecialFX {
public:
    SClass_ID SuperClassID() override { return RENDER_ELEMENT_CLASS_ID; }
    virtual void SetEnabled(BOOL on) = 0;
    virtual BOOL IsEnabled() const = 0;
    virtual void SetFilterEnabled(BOOL on) = 0;
    virtual BOOL IsFilterEnabled() const = 0;
    virtual BOOL BlendOnMultipass() const = 0;
    virtual void SetElementName(const char* name) = 0;
    virtual const char* ElementName() const = 0;
    // The bitmap slot the renderer fills; nullptr until the element has one.
    virtual void SetPBBitmap(PBBitmap* holder) = 0;
    virtual PBBitmap* GetPBBitmap() = 0;
};

class IRenderElementMgr {
public:
    virtual ~IRenderElementMgr() = default;
    virtual BOOL AddRenderElement(IRenderElement* element) = 0;
    virtual BOOL RemoveRenderElement(IRenderElement* element) = 0;
    virtual void RemoveAllRenderElements() = 0;
    virtual int NumRenderElements() = 0;
    virtual IRenderElement* GetRenderElement(int index) = 0;
    virtual void SetElementsActive(BOOL on) = 0;
    virtual BOOL GetElementsActive() const = 0;
    virtual void SetDisplayElements(BOOL on) = 0;
    virtual BOOL GetDisplayElements() const = 0;
};
