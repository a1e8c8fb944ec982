#pragma once
// A flat rectangle in the XY plane, centred on the origin and facing +Z: width along X, length
// along Y, a grid of segments x segments quads. UVs run 0..1 from the -X-Y corner.

#include "host/Mesh.h"
#include "standalone/primitives/PrimitiveParams.h"

#include <memory>
#include <span>

namespace standalone {

struct PlaneParams {
    float width = 10.0f;
    float length = 10.0f;
    int segments = 1;

    static std::span<const PrimitiveField<PlaneParams>> fields();
};

// Throws std::invalid_argument for parameters outside their ranges.
std::shared_ptr<Mesh> makePlane(const PlaneParams& p);

}  // namespace standalone
