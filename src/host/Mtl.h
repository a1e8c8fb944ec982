#pragma once
// A material: shades a sample by writing the shading context's output record.

#include "host/Color.h"
#include "host/MtlBase.h"

class ShadeContext;

class Mtl : public MtlBase {
public:
    SClass_ID SuperClassID() override { return MATERIAL_CLASS_ID; }

    // Writes sc.out: colour c (premultiplied) and transparency t. In shadow mode (sc.mode == 1)
    // only the transmitted colour matters.
    virtual void Shade(ShadeContext& sc) = 0;

    virtual int NumSubMtls() { return 0; }
    virtual Mtl* GetSubMtl(int i)
    {
        (void)i;
        return nullptr;
    }
    virtual void SetSubMtl(int i, Mtl* m) { (void)i, (void)m; }
    // Whether sub-material i is chosen per face by the face's material id.
    virtual BOOL IsMultiMtl() { return FALSE; }

    // Colours the viewport and simple callers use.
    virtual Color GetAmbient() { return Color(); }
    virtual Color GetDiffuse() { return Color(); }
    virtual Color GetSpecular() { return Color(); }
};
