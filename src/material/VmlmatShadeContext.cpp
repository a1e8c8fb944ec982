#include "material/VmlmatShadeContext.h"

#include <new>

namespace vml {

bool VmlmatShadeContext::bind(ShadeContext& host, float lightFactor)
{
    host_ = &host;
    mode = host.mode;
    doMaps = host.doMaps;
    filterMaps = host.filterMaps;
    shadow = host.shadow;
    backFace = host.backFace;
    mtlNum = host.mtlNum;
    ambientLight = host.ambientLight;
    rayLevel = host.rayLevel;
    xshadeID = host.xshadeID;
    atmosSkipLight = host.atmosSkipLight;
    globContext = host.globContext;
    out = host.out;

    const int count = host.nLights > 0 ? host.nLights : 0;
    if (count != lightCount_) {
        lights_.reset();
        lightCount_ = 0;
        if (count > 0) {
            lights_.reset(new (std::nothrow) VmlmatLightDesc[static_cast<std::size_t>(count)]);
            if (!lights_) {
                nLights = 0;
                return false;
            }
        }
        lightCount_ = count;
    }
    nLights = count;
    for (int i = 0; i < count; ++i)
        lights_[static_cast<std::size_t>(i)].wrap(host.Light(i), lightFactor);
    return true;
}

void VmlmatShadeContext::ResetOutput(int n)
{
    (void)n;
    out.Reset();
}

void VmlmatShadeContext::SetGBufferID(int id) { out.gbufId = id; }

LightDesc* VmlmatShadeContext::Light(int n)
{
    if (n < 0 || n >= nLights || n >= lightCount_)
        return nullptr;
    return &lights_[static_cast<std::size_t>(n)];
}

}  // namespace vml
