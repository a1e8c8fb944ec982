#pragma once
// An axis-aligned box standing on the XY plane: its base is centred on the origin at z = 0 and it
// rises to z = height. Width runs along X, length along Y. Each face is a grid of segments x
// segments quads with its own 0..1 UVs and a flat normal; faces share their edge vertices, so
// the box is closed.

#include "host/Mesh.h"
#include "standalone/primitives/PrimitiveParams.h"

#include <memory>
#include <span>

namespace standalone {

struct BoxParams {
    float width = 1.0f;
    float length = 1.0f;
    float height = 1.0f;
    int segments = 1;

    static std::span<const PrimitiveField<BoxParams>> fields();
};

// Throws std::invalid_argument for parameters outside their ranges.
std::shared_ptr<Mesh> makeBox(const BoxParams& p);

}  // namespace standalone
