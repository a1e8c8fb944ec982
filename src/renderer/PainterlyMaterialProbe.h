#pragma once
// What the node records need to know about materials: which materials are painterly and the
// two base-block switches that ask for motion detection. The material plugs its answers in;
// this default knows no painterly material, so no instance is marked.
//
// The renderer cannot depend on the material, so the material library installs its probe
// process-wide (when its first material is made); node records given no probe of their own use
// the installed one.

#include "host/MaxTypes.h"

class Mtl;

namespace vml {

class PainterlyMaterialProbe {
public:
    struct BaseSwitches {
        bool rndAuto = false;        // baseRndAuto
        bool rndMoveDetect = false;  // baseRndMoveDetect
    };

    virtual ~PainterlyMaterialProbe() = default;
    virtual bool isPainterlyMaterial(Mtl* mtl) const
    {
        (void)mtl;
        return false;
    }
    // The switches of a painterly material at time t.
    virtual BaseSwitches baseSwitches(Mtl* mtl, TimeValue t) const
    {
        (void)mtl, (void)t;
        return {};
    }
};

// The installed probe, or the default one when none is installed.
const PainterlyMaterialProbe& installedPainterlyMaterialProbe();
// Not owned; it must live until it is replaced (null restores the default).
void installPainterlyMaterialProbe(const PainterlyMaterialProbe* probe);

}  // namespace vml
