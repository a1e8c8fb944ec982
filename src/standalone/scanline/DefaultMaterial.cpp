#include "standalone/scanline/DefaultMaterial.h"

#include "host/LightDesc.h"
#include "host/ShadeContext.h"

namespace standalone::scanline {

void DefaultMaterial::Shade(ShadeContext& sc)
{
    if (sc.mode == SCMODE_SHADOW) {
        sc.out.c = Color();
        sc.out.t = Color();
        return;
    }
    Color light = sc.ambientLight;
    const Point3 n = sc.Normal();
    for (int i = 0; i < sc.nLights; ++i) {
        LightDesc* l = sc.Light(i);
        if (!l || !l->affectDiffuse)
            continue;
        Color c;
        Point3 dir;
        float dotNL = 0.0f, diffuse = 0.0f;
        if (!l->Illuminate(sc, n, c, dir, dotNL, diffuse))
            continue;
        light += l->ambientOnly ? c : c * diffuse;
    }
    sc.out.c = light * grey;
    sc.out.t = Color();
}

}  // namespace standalone::scanline
