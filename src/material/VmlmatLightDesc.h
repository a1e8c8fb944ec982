#pragma once
// A host light as the base material sees it under vmlMaterial: the same light with its colour
// scaled by a factor, which flattens lighting by the material's `shading` amount. The host's
// LightDesc offers no interface query and no delete, so there is nothing of those to forward.

#include "host/LightDesc.h"

namespace vml {

class VmlmatLightDesc final : public LightDesc {
public:
    VmlmatLightDesc() = default;

    // Wraps `light` (non-owning, may be null) and takes over its flags, so a light that does not
    // touch diffuse or specular keeps doing so through the wrapper. Without a light the flags
    // are the defaults (affects diffuse and specular).
    void wrap(LightDesc* light, float factor);

    LightDesc* wrapped() const { return light_; }
    float factor() const { return factor_; }

    // The wrapped light's answer with its colour times the factor; FALSE without a light.
    BOOL Illuminate(ShadeContext& sc, const Point3& normal, Color& color, Point3& dir, float& dot_nl,
                    float& diffuseCoef) override;
    // Forwarded; (0, 0, 0) without a light.
    Point3 LightPosition() override;
    // Forwarded; 0 without a light.
    int Execute(int cmd, void* arg1 = nullptr) override;

private:
    LightDesc* light_ = nullptr;
    float factor_ = 1.0f;
};

}  // namespace vml
