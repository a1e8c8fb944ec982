#include "standalone/HostClasses.h"

#include "standalone/StandaloneCore.h"
#include "standalone/StandardMaterial.h"
#include "standalone/maps/BitmapMap.h"
#include "standalone/maps/CheckerMap.h"
#include "standalone/maps/GradientMap.h"
#include "standalone/maps/NoiseMap.h"

namespace standalone {

void registerHostClasses(StandaloneCore& core)
{
    core.registerClass(&StandardMaterial::classDesc(), "Standard");
    core.registerClass(&BitmapMap::classDesc(), "Bitmap");
    core.registerClass(&CheckerMap::classDesc(), "Checker");
    core.registerClass(&NoiseMap::classDesc(), "Noise");
    core.registerClass(&GradientMap::classDesc(), "Gradient");
}

}  // namespace standalone
