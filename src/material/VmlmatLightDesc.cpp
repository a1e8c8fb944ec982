#include "material/VmlmatLightDesc.h"

namespace vml {

void VmlmatLightDesc::wrap(LightDesc* light, float factor)
{
    light_ = light;
    factor_ = factor;
    affectDiffuse = light ? light->affectDiffuse : TRUE;
    affectSpecular = light ? light->affectSpecular : TRUE;
    ambientOnly = light ? light->ambientOnly : FALSE;
}

BOOL VmlmatLightDesc::Illuminate(ShadeContext& sc, const Point3& normal, Color& color, Point3& dir,
                                 float& dot_nl, float& diffuseCoef)
{
    if (!light_)
        return FALSE;
    const BOOL lit = light_->Illuminate(sc, normal, color, dir, dot_nl, diffuseCoef);
    color *= factor_;
    return lit;
}

Point3 VmlmatLightDesc::LightPosition() { return light_ ? light_->LightPosition() : Point3(); }

int VmlmatLightDesc::Execute(int cmd, void* arg1) { return light_ ? light_->Execute(cmd, arg1) : 0; }

}  // namespace vml
