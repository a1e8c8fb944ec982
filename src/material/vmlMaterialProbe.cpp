#include "material/vmlMaterialProbe.h"

#include "host/IParamBlock2.h"
#include "material/vmlMaterial.h"
#include "material/vmlMaterialParamBlocks.h"

namespace vml {

bool vmlMaterialProbe::isPainterlyMaterial(Mtl* mtl) const
{
    return dynamic_cast<vmlMaterial*>(mtl) != nullptr;
}

PainterlyMaterialProbe::BaseSwitches vmlMaterialProbe::baseSwitches(Mtl* mtl, TimeValue t) const
{
    BaseSwitches sw;
    auto* material = dynamic_cast<vmlMaterial*>(mtl);
    IParamBlock2* base = material ? material->baseBlock() : nullptr;
    if (!base)
        return sw;
    sw.rndAuto = base->GetInt(baseParam::baseRndAuto, t) != 0;
    sw.rndMoveDetect = base->GetInt(baseParam::baseRndMoveDetect, t) != 0;
    return sw;
}

void installVmlMaterialProbe()
{
    static const vmlMaterialProbe probe;
    installPainterlyMaterialProbe(&probe);
}

}  // namespace vml
