#pragma once
// A torus centred on the origin around the Z axis: radius1 from the centre to the middle of the
// tube, radius2 the tube's radius. segments go around Z, sides around the tube. U runs once
// around Z (from +X, counter-clockwise seen from +Z), V once around the tube (from the outer
// equator, upward first).

#include "host/Mesh.h"
#include "standalone/primitives/PrimitiveParams.h"

#include <memory>
#include <span>

namespace standalone {

struct TorusParams {
    float radius1 = 1.0f;
    float radius2 = 0.25f;
    int segments = 32;
    int sides = 16;

    static std::span<const PrimitiveField<TorusParams>> fields();
};

// Throws std::invalid_argument for parameters outside their ranges.
std::shared_ptr<Mesh> makeTorus(const TorusParams& p);

}  // namespace standalone
