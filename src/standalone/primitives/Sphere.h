#pragma once
// A sphere centred on the origin: segments around the Z axis and segments / 2 rings from pole to
// pole, one vertex at each pole. U runs once around (from +X, counter-clockwise seen from +Z), V
// from the south pole (0) to the north pole (1).

#include "host/Mesh.h"
#include "standalone/primitives/PrimitiveParams.h"

#include <memory>
#include <span>

namespace standalone {

struct SphereParams {
    float radius = 1.0f;
    int segments = 32;

    static std::span<const PrimitiveField<SphereParams>> fields();
};

// Throws std::invalid_argument for parameters outside their ranges.
std::shared_ptr<Mesh> makeSphere(const SphereParams& p);

}  // namespace standalone
