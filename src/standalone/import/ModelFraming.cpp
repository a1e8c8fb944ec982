#include "standalone/import/ModelFraming.h"

#include "host/Angles.h"
#include "standalone/LookAt.h"
#include "standalone/import/UniqueNames.h"

#include <algorithm>
#include <cmath>

namespace standalone {

namespace {

constexpr float kFov = 45.0f;
constexpr float kMargin = 1.05f;

// From the target toward the eye: front right (the front faces -Y), 30 degrees up.
const Point3 kViewDirection = Normalize(Point3(0.6124f, -0.6124f, 0.5f));
// From the target toward the key light: 45 degrees up, 30 degrees to the camera's left, so the
// faces the camera sees are lit unevenly.
const Point3 kKeyDirection = Normalize(Point3(0.183f, -0.683f, 0.707f));

std::string freeName(Scene& scene, const std::string& wanted)
{
    import::UniqueNames names;
    for (const auto& node : scene.nodes())
        names.reserve(node->name());
    return names.claim(wanted, "node");
}

}  // namespace

void Bounds::add(const Point3& p)
{
    min = {std::min(min.x, p.x), std::min(min.y, p.y), std::min(min.z, p.z)};
    max = {std::max(max.x, p.x), std::max(max.y, p.y), std::max(max.z, p.z)};
}

float Bounds::radius() const
{
    const float r = empty() ? 1.0f : (max - min).Length() * 0.5f;
    return std::isfinite(r) && r > 0.0f ? r : 1.0f;
}

Bounds sceneBounds(Scene& scene, TimeValue t)
{
    Bounds bounds;
    for (const auto& node : scene.nodes()) {
        const Mesh* mesh = node->mesh();
        if (!mesh || !node->Renderable() || node->IsHidden())
            continue;
        const Matrix3 tm = node->GetObjectTM(t);
        for (const Face& face : mesh->faces)
            for (DWORD v : face.v)
                if (v < mesh->verts.size())
                    bounds.add(tm.PointTransform(mesh->verts[v]));
    }
    return bounds;
}

SceneNode* addFramingCamera(Scene& scene, const Bounds& bounds, float aspect, const std::string& name)
{
    if (!std::isfinite(aspect) || aspect <= 0.0f)
        aspect = 1.0f;
    const float halfH = radians(0.5f * kFov);
    const float halfV = std::atan(std::tan(halfH) / aspect);
    const float r = bounds.radius();
    const float distance = kMargin * r / std::sin(std::min(halfH, halfV));
    const Point3 target = bounds.centre();

    SceneNode* node = scene.addNode(freeName(scene, name));
    node->setLocalTM(lookAt(target + kViewDirection * distance, target));
    CameraSettings camera;
    camera.fov = kFov;
    camera.nearClip = std::max((distance - r) * 0.5f, distance * 1.0e-4f);
    camera.farClip = (distance + r) * 2.0f;
    node->camera = camera;
    return node;
}

void addDefaultLights(Scene& scene, const Bounds& bounds)
{
    const float r = bounds.radius();
    const Point3 target = bounds.centre();
    SceneNode* key = scene.addNode(freeName(scene, "Key light"));
    key->setLocalTM(lookAt(target + kKeyDirection * (4.0f * r), target));
    LightSettings light;
    light.type = LightType::directional;
    light.color = Color(1.0f, 0.97f, 0.92f);
    key->light = light;

    SceneNode* ambient = scene.addNode(freeName(scene, "Ambient light"));
    LightSettings fill;
    fill.type = LightType::ambient;
    fill.color = Color(0.2f, 0.21f, 0.23f);
    fill.castShadows = false;
    ambient->light = fill;
}

}  // namespace standalone
