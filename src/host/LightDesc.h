#pragma once
// A light as materials see it during shading.

#include "host/Color.h"
#include "host/MaxTypes.h"
#include "host/Point3.h"

class ShadeContext;

class LightDesc {
public:
    virtual ~LightDesc() = default;

    BOOL affectDiffuse = TRUE;
    BOOL affectSpecular = TRUE;
    BOOL ambientOnly = FALSE;  // an ambient light: adds to the ambient term only

    // Light arriving at sc's point: colour (shadowed, attenuated, times multiplier), unit
    // direction from the point toward the light (camera space), dot_nl = dot(normal, dir) and
    // the diffuse coefficient. False when the point receives no light from it.
    virtual BOOL Illuminate(ShadeContext& sc, const Point3& normal, Color& color, Point3& dir, float& dot_nl,
                            float& diffuseCoef) = 0;
    // Camera-space position (directional lights: a far point along the reverse direction).
    virtual Point3 LightPosition() { return Point3(); }
    // Host's generic command call; unused commands answer 0.
    virtual int Execute(int cmd, void* arg1 = nullptr)
    {
        (void)cmd, (void)arg1;
        return 0;
    }
};
