#pragma once
// A texture map: colour, mono and normal-perturbation answers at a shading context.

#include "host/Color.h"
#include "host/MtlBase.h"
#include "host/Point3.h"

class ShadeContext;

class Texmap : public MtlBase {
public:
    SClass_ID SuperClassID() override { return TEXMAP_CLASS_ID; }

    virtual AColor EvalColor(ShadeContext& sc) = 0;
    // Default: the mean of the colour's channels.
    virtual float EvalMono(ShadeContext& sc)
    {
        AColor c = EvalColor(sc);
        return (c.r + c.g + c.b) / 3.0f;
    }
    // Camera-space offset to add to the shading normal for bump mapping; zero by default.
    virtual Point3 EvalNormalPerturb(ShadeContext& sc)
    {
        (void)sc;
        return Point3();
    }
};
