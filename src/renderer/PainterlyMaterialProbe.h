#pragma once
// What the node records need to know about materials: which materials are painterly and the
// two base-block switches that ask for motion detection. The material plugs its answers in;
// this default knows no painterly material, so no instance is marked.

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

}  // namespace vml
