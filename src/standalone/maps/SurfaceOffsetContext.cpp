#include "standalone/maps/SurfaceOffsetContext.h"

namespace standalone {

SurfaceOffsetContext::SurfaceOffsetContext(ShadeContext& base, const Point3& dP, const Point3& dUVW,
                                           int channel)
    : base_(base), dP_(dP), dUVW_(dUVW), channel_(channel)
{
    mode = base.mode;
    doMaps = base.doMaps;
    filterMaps = base.filterMaps;
    shadow = base.shadow;
    backFace = base.backFace;
    mtlNum = base.mtlNum;
    ambientLight = base.ambientLight;
    nLights = base.nLights;
    rayLevel = base.rayLevel;
    xshadeID = base.xshadeID;
    atmosSkipLight = base.atmosSkipLight;
    globContext = base.globContext;
}

Point3 SurfaceOffsetContext::UVW(int channel)
{
    const Point3 uvw = base_.UVW(channel);
    return channel == channel_ ? uvw + dUVW_ : uvw;
}

}  // namespace standalone
