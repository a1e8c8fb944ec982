#include "standalone/MaterialSample.h"

#include "host/Angles.h"
#include "host/ClassDesc2.h"
#include "host/Mtl.h"
#include "host/Renderer.h"
#include "standalone/LookAt.h"
#include "standalone/ScanlineRenderer.h"
#include "standalone/import/ModelFraming.h"
#include "standalone/primitives/Box.h"
#include "standalone/primitives/Sphere.h"
#include "standalone/primitives/Teapot.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <stdexcept>

namespace standalone {

namespace {

constexpr const char* kPainterlyMaterial = "vmlMaterial";
constexpr const char* kPainterlyRenderer = "vmlRenderer";

constexpr SampleShape kShapes[] = {SampleShape::sphere, SampleShape::box, SampleShape::teapot};

// A narrow lens keeps the sample's outline close to what an orthographic view would show.
constexpr float kFov = 30.0f;
// The object fills five sixths of the image across its wider extent, leaving room for strokes
// that run past its outline.
constexpr float kMargin = 1.2f;

// Unit directions from the sample toward the eye and the lights (Z up, the front faces -Y).
Point3 direction(float azimuthDegrees, float elevationDegrees)
{
    const float a = radians(azimuthDegrees), e = radians(elevationDegrees);
    return Point3(std::sin(a) * std::cos(e), -std::cos(a) * std::cos(e), std::sin(e));
}
// 25 degrees to the right and 20 up: the box shows three faces, the teapot its spout and handle.
const Point3 kEyeDirection = direction(25.0f, 20.0f);
// The key from the upper left, so the lit side and the terminator both face the camera and the
// box's top, front and side faces get three distinct tones.
const Point3 kKeyDirection = direction(-45.0f, 45.0f);
// The fill from low on the right lifts the key's shadow side without flattening it; it lights
// diffusely only, so the sample keeps the key's single highlight.
const Point3 kFillDirection = direction(70.0f, 10.0f);

std::shared_ptr<Mesh> sampleMesh(SampleShape shape)
{
    switch (shape) {
    case SampleShape::box: return makeBox({1.4f, 1.4f, 1.4f, 2});
    case SampleShape::teapot: return makeTeapot({1.0f, 8});
    case SampleShape::sphere: break;
    }
    return makeSphere({1.0f, 64});
}

// Where the camera aims and how far back it stands, fitted to the mesh's outline rather than to
// its bounding sphere, so that a wide, low teapot fills the square as a sphere does.
struct Framing {
    Point3 target;
    float distance = 0.0f;
    float radius = 1.0f;  // of the sphere around target holding every vertex
};

Framing frame(const Mesh& mesh)
{
    const Matrix3 view = lookAt(kEyeDirection, Point3(0, 0, 0));
    const Point3 right = view.GetRow(0), up = view.GetRow(1);
    const float slope = std::tan(radians(0.5f * kFov)) / kMargin;
    Framing f;
    // Each vertex in view where its offset across, over its depth, stays within the margin.
    auto fit = [&] {
        f.distance = 0.0f;
        for (const Point3& v : mesh.verts) {
            const Point3 d = v - f.target;
            const float wider = std::max(std::abs(DotProd(d, right)), std::abs(DotProd(d, up)));
            f.distance = std::max(f.distance, DotProd(d, kEyeDirection) + wider / slope);
        }
    };
    // Perspective shifts the outline toward the nearer parts: aim at the middle of its projection.
    auto centre = [&] {
        Bounds outline;
        for (const Point3& v : mesh.verts) {
            const Point3 d = v - f.target;
            const float depth = f.distance - DotProd(d, kEyeDirection);
            outline.add(Point3(DotProd(d, right) / depth, DotProd(d, up) / depth, 0.0f));
        }
        const Point3 c = outline.centre();
        f.target += (right * c.x + up * c.y) * f.distance;
    };
    Bounds bounds;
    for (const Point3& v : mesh.verts)
        bounds.add(v);
    f.target = bounds.centre();
    for (int pass = 0; pass < 3; ++pass) {
        fit();
        centre();
    }
    fit();
    float r2 = 0.0f;
    for (const Point3& v : mesh.verts)
        r2 = std::max(r2, (v - f.target).LengthSquared());
    f.radius = r2 > 0.0f ? std::sqrt(r2) : 1.0f;
    return f;
}

void addDirectionalLight(Scene& scene, const char* name, const Point3& towardLight, float distance,
                         const Color& colour, float multiplier, bool keyLight)
{
    SceneNode* node = scene.addNode(name);
    node->setLocalTM(lookAt(towardLight * distance, Point3(0, 0, 0)));
    LightSettings light;
    light.type = LightType::directional;
    light.color = colour;
    light.multiplier = multiplier;
    light.castShadows = keyLight;
    light.affectSpecular = keyLight;
    node->light = light;
}

bool isClass(ReferenceTarget& object, StandaloneCore& core, const char* className)
{
    ClassDesc2* desc = core.findClass(className);
    return desc && object.ClassID() == desc->ClassID() && object.SuperClassID() == desc->SuperClassID();
}

bool holdsPainterly(Mtl* m, StandaloneCore& core, std::set<Mtl*>& seen)
{
    if (!m || !seen.insert(m).second)
        return false;
    if (isClass(*m, core, kPainterlyMaterial))
        return true;
    for (int i = 0; i < m->NumSubMtls(); ++i)
        if (holdsPainterly(m->GetSubMtl(i), core, seen))
            return true;
    return false;
}

void addWithSubMaterials(Mtl* m, std::vector<Mtl*>& out)
{
    if (!m || std::find(out.begin(), out.end(), m) != out.end())
        return;
    out.push_back(m);
    for (int i = 0; i < m->NumSubMtls(); ++i)
        addWithSubMaterials(m->GetSubMtl(i), out);
}

}  // namespace

std::optional<SampleShape> sampleShapeNamed(std::string_view name)
{
    for (SampleShape shape : kShapes)
        if (name == sampleShapeName(shape))
            return shape;
    return std::nullopt;
}

const char* sampleShapeName(SampleShape shape)
{
    switch (shape) {
    case SampleShape::box: return "box";
    case SampleShape::teapot: return "teapot";
    case SampleShape::sphere: break;
    }
    return "sphere";
}

std::string sampleShapeNames()
{
    std::string names;
    for (SampleShape shape : kShapes)
        names += (names.empty() ? "" : ", ") + std::string(sampleShapeName(shape));
    return names;
}

std::unique_ptr<Scene> makeMaterialSample(Mtl& material, SampleShape shape, int size)
{
    if (size < kMinSampleSize || size > kMaxSampleSize)
        throw std::invalid_argument(fmt::format("sample size {} is not valid; expected {} to {} pixels", size,
                                                kMinSampleSize, kMaxSampleSize));
    auto scene = std::make_unique<Scene>();
    scene->render.width = scene->render.height = size;
    scene->render.antialias = true;
    scene->environment.background = kSampleBackground;
    scene->environment.backgroundAlpha = 1.0f;
    scene->environment.ambient = Color(0.06f, 0.06f, 0.06f);

    std::shared_ptr<Mesh> mesh = sampleMesh(shape);
    const Framing framing = frame(*mesh);
    const float radius = framing.radius, distance = framing.distance;
    SceneNode* object = scene->addNode(sampleShapeName(shape));
    object->setMesh(std::move(mesh));
    object->setLocalTM(TransMatrix(-framing.target));
    object->setMtl(&material);

    SceneNode* camera = scene->addNode("Camera");
    camera->setLocalTM(lookAt(kEyeDirection * distance, Point3(0, 0, 0)));
    CameraSettings settings;
    settings.fov = kFov;
    settings.nearClip = std::max((distance - radius) * 0.5f, distance * 1.0e-3f);
    settings.farClip = (distance + radius) * 2.0f;
    camera->camera = settings;
    scene->camera = camera;
    scene->cameraSource = CameraSource::framing;

    addDirectionalLight(*scene, "Key light", kKeyDirection, 4.0f * radius, Color(1.0f, 0.97f, 0.92f), 1.0f,
                        true);
    addDirectionalLight(*scene, "Fill light", kFillDirection, 4.0f * radius, Color(0.85f, 0.9f, 1.0f), 0.35f,
                        false);
    return scene;
}

std::vector<Mtl*> sceneMaterials(Scene& scene)
{
    std::vector<Mtl*> materials;
    for (const auto& node : scene.nodes())
        addWithSubMaterials(node->GetMtl(), materials);
    for (const auto& object : scene.objects())
        addWithSubMaterials(dynamic_cast<Mtl*>(object.get()), materials);
    return materials;
}

Mtl* findSceneMaterial(Scene& scene, const std::string& name)
{
    for (Mtl* m : sceneMaterials(scene))
        if (m->GetName() == name)
            return m;
    return nullptr;
}

bool chooseSampleRenderer(Scene& document, Mtl& material, StandaloneCore& core, SampleRenderer& out,
                          std::string& error)
{
    out = {};
    if (document.renderer) {
        out.renderer = document.renderer;
        out.className = document.render.renderer;
        return true;
    }
    std::set<Mtl*> seen;
    if (!holdsPainterly(&material, core, seen)) {
        out.owned = std::make_unique<ScanlineRenderer>();
        out.renderer = out.owned.get();
        out.className = "scanline";
        return true;
    }
    ClassDesc2* desc = core.findClass(kPainterlyRenderer);
    std::unique_ptr<ReferenceTarget> made(desc ? desc->Create(FALSE) : nullptr);
    if (auto* renderer = dynamic_cast<Renderer*>(made.get())) {
        made.release();
        out.owned.reset(renderer);
    }
    out.renderer = out.owned.get();
    out.className = kPainterlyRenderer;
    if (!out.renderer)
        error = fmt::format("material \"{}\" paints only under {}, which cannot be created in this build",
                            material.GetName(), kPainterlyRenderer);
    return out.renderer != nullptr;
}

RenderJobResult renderMaterialSample(Scene& sample, Renderer& renderer, Bitmap& bitmap,
                                     RenderJobOptions options)
{
    options.inMtlEdit = true;
    options.applyEffects = false;
    RenderSession session(sample, renderer, options);
    RenderJobResult result;
    if (!session.open(result.error))
        return result;
    result = session.renderFrame(options.time, bitmap);
    session.close();
    return result;
}

}  // namespace standalone
