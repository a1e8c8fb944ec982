#pragma once
// The renderer's view of the material (see renderer/PainterlyMaterialProbe.h): vmlMaterial is
// the painterly material, and its base block holds the two motion switches.

#include "renderer/PainterlyMaterialProbe.h"

namespace vml {

class vmlMaterialProbe final : public PainterlyMaterialProbe {
public:
    bool isPainterlyMaterial(Mtl* mtl) const override;
    // baseRndAuto and baseRndMoveDetect read from the block at t; off for another material.
    BaseSwitches baseSwitches(Mtl* mtl, TimeValue t) const override;
};

// Installs the probe process-wide for the renderer's node records. Idempotent; thread-safe.
void installVmlMaterialProbe();

}  // namespace vml
