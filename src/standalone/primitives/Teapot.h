#pragma once
// The classic teapot, resting on z = 0 with its spout toward +X and handle toward -X, scaled so
// its body's widest radius is `radius`. Each of its 32 Bezier patches becomes a grid of segments
// x segments quads with its own 0..1 UVs and the surface's exact normals. Patches are separate
// pieces (the lid floats above the rim, as in the original), so the mesh is not closed.

#include "host/Mesh.h"
#include "standalone/primitives/PrimitiveParams.h"

#include <memory>
#include <span>

namespace standalone {

struct TeapotParams {
    float radius = 1.0f;
    int segments = 4;

    static std::span<const PrimitiveField<TeapotParams>> fields();
};

// Throws std::invalid_argument for parameters outside their ranges.
std::shared_ptr<Mesh> makeTeapot(const TeapotParams& p);

}  // namespace standalone
