#pragma once
// What a model file rendered on its own gets when it brings no camera or no lights: a camera that
// frames the whole model and a key light with a soft ambient light.

#include "standalone/Scene.h"

#include <string>

namespace standalone {

struct Bounds {
    Point3 min{1.0e30f, 1.0e30f, 1.0e30f}, max{-1.0e30f, -1.0e30f, -1.0e30f};

    bool empty() const { return min.x > max.x; }
    void add(const Point3& p);
    Point3 centre() const { return empty() ? Point3() : (min + max) * 0.5f; }
    // Half the diagonal; 1 for empty bounds, and never 0.
    float radius() const;
};

// World-space bounds of the meshes the renderer would draw at t (renderable, not hidden).
Bounds sceneBounds(Scene& scene, TimeValue t = 0);

// A perspective camera with a 45 degree horizontal field of view looking at the bounds' centre
// from the front right, 30 degrees above, at the distance where the bounding sphere just fits an
// image of the given aspect (width / height), with a little margin. Named `name`, or with a
// suffix when that is taken.
SceneNode* addFramingCamera(Scene& scene, const Bounds& bounds, float aspect,
                            const std::string& name = "Camera");

// A directional key light from 45 degrees above, to the left of the framing camera, casting
// shadows, and a soft ambient light.
void addDefaultLights(Scene& scene, const Bounds& bounds);

}  // namespace standalone
