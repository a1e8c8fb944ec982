#pragma once
// A cylinder standing on the XY plane: its axis is +Z, its base centred on the origin at z = 0,
// its top at z = height. The side has smooth normals, U once around (from +X, counter-clockwise
// seen from +Z) and V up; the caps have flat normals and a planar 0..1 mapping of their disc, and
// share their rim vertices with the side, so a capped cylinder is closed.

#include "host/Mesh.h"
#include "standalone/primitives/PrimitiveParams.h"

#include <memory>
#include <span>

namespace standalone {

struct CylinderParams {
    float radius = 1.0f;
    float height = 2.0f;
    int sides = 24;
    int heightSegments = 1;
    bool caps = true;

    static std::span<const PrimitiveField<CylinderParams>> fields();
};

// Throws std::invalid_argument for parameters outside their ranges.
std::shared_ptr<Mesh> makeCylinder(const CylinderParams& p);

}  // namespace standalone
