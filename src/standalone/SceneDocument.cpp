#include "standalone/SceneDocument.h"

#include "host/Renderer.h"
#include "standalone/document/ClassObjects.h"
#include "standalone/document/ImportOverrides.h"
#include "standalone/document/ImportSection.h"
#include "standalone/document/JsonText.h"
#include "standalone/document/NodeReader.h"
#include "standalone/document/SettingsReader.h"
#include "standalone/document/ValueReaders.h"
#include "standalone/import/ModelFraming.h"

#include <fmt/format.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace standalone {

namespace {

namespace fs = std::filesystem;
using namespace document;

constexpr std::size_t kMaxDocumentBytes = 64u << 20;

std::string locate(const std::string& file, const std::string& jsonPath)
{
    return jsonPath.empty() ? file : file + ": " + jsonPath;
}

fs::path baseDirOf(const std::string& documentPath)
{
    std::error_code ec;
    if (documentPath.empty())
        return fs::current_path(ec);
    const fs::path absolute = fs::absolute(documentPath, ec);
    return (ec ? fs::path(documentPath) : absolute).parent_path();
}

// Calls read(element, location) for each element of an optional array.
template <class Read> void forEach(const Json* list, const JsonLocation& at, std::string_view what, Read read)
{
    if (!list)
        return;
    if (!list->is_array())
        at.fail(fmt::format("expected an array of {}, got {}", what, describe(*list)));
    for (std::size_t i = 0; i < list->size(); ++i)
        read((*list)[i], at / i);
}

// The camera render.camera names; else the main camera, the first camera among the objects, the
// first imported camera; else, for a document that imports models, one framing the whole scene.
void chooseCamera(Scene& scene, const RenderReferences& render, SceneNode* mainCamera,
                  SceneNode* firstObjectCamera, const ImportedModels& imported, const JsonLocation& root)
{
    scene.cameraSource = CameraSource::document;
    if (!render.camera.empty()) {
        SceneNode* node = scene.findNode(render.camera);
        if (!node || !node->camera) {
            std::vector<std::string> cameras;
            for (const auto& n : scene.nodes())
                if (n->camera)
                    cameras.push_back(n->name());
            render.cameraAt->fail(
                fmt::format("no camera named \"{}\"; the cameras are: {}", render.camera,
                            cameras.empty() ? "(none)" : fmt::format("{}", fmt::join(cameras, ", "))));
        }
        scene.camera = node;
        if (imported.isImported(node))
            scene.cameraSource = CameraSource::imported;
        return;
    }
    scene.camera = mainCamera ? mainCamera : firstObjectCamera;
    if (scene.camera)
        return;
    if ((scene.camera = imported.firstCamera())) {
        scene.cameraSource = CameraSource::imported;
        return;
    }
    if (imported.models().empty())
        root.fail("the scene has no camera: add a \"camera\" section or an object of type \"camera\"");
    const float aspect = float(scene.render.width) / float(scene.render.height);
    scene.camera = addFramingCamera(scene, sceneBounds(scene), aspect);
    scene.cameraSource = CameraSource::framing;
}

}  // namespace

// Messages quote document text, which may hold control characters; printable() keeps them on
// one readable line.
SceneError::SceneError(const std::string& file, const std::string& jsonPath, const std::string& what)
    : std::runtime_error(printable(locate(file, jsonPath) + ": " + what)), file_(file), jsonPath_(jsonPath),
      reason_(printable(what))
{}

SceneError::SceneError(const std::string& file, int line, int column, const std::string& what)
    : std::runtime_error(printable(fmt::format("{}:{}:{}: {}", file, line, column, what))), file_(file),
      reason_(printable(what)), line_(line), column_(column)
{}

std::string readSceneText(const std::string& path)
{
    if (path.empty())
        throw SceneError("(no file)", "", "no scene document given");
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (!fs::exists(status))
        throw SceneError(path, "", "cannot open the scene document: no such file");
    if (fs::is_directory(status))
        throw SceneError(path, "", "is a directory, not a scene document");
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw SceneError(path, "", std::string("cannot open the scene document: ") + std::strerror(errno));
    std::string text;
    char buffer[1 << 16];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        text.append(buffer, static_cast<std::size_t>(in.gcount()));
        if (text.size() > kMaxDocumentBytes)
            throw SceneError(
                path, "", fmt::format("larger than {} MiB; not a scene document", kMaxDocumentBytes >> 20));
    }
    if (in.bad())
        throw SceneError(path, "", "cannot read the scene document");
    return text;
}

std::unique_ptr<Scene> loadScene(const std::string& path, StandaloneCore& core, const WarningHandler& warn)
{
    return parseScene(readSceneText(path), path, core, warn);
}

std::unique_ptr<Scene> parseScene(std::string_view text, const std::string& documentPath,
                                  StandaloneCore& core, const WarningHandler& warn)
{
    const std::string file = documentPath.empty() ? "(scene)" : documentPath;
    const Json doc = parseJsonText(text, file);
    const JsonLocation root(file);
    ObjectReader top(doc, root, "a scene document: a JSON object");
    const Json* imports = top.get("import");
    const Json* render = top.get("render");
    const Json* environment = top.get("environment");
    const Json* camera = top.get("camera");
    const Json* objects = top.get("objects");
    const Json* lights = top.get("lights");
    const Json* materials = top.get("materials");
    const Json* maps = top.get("maps");
    const Json* effects = top.get("effects");
    const Json* renderElements = top.get("renderElements");
    const Json* assign = top.get("assign");
    const Json* overrides = top.get("overrides");
    top.finish();

    auto scene = std::make_unique<Scene>();
    scene->documentPath = documentPath;
    const fs::path baseDir = baseDirOf(documentPath);
    RenderReferences renderRefs;
    if (render)
        renderRefs = readRenderSettings(*render, root / "render", baseDir, scene->render);
    core.setFrameRate(scene->render.frameRate);

    // Imported models first: the rest of the document may refer to what they bring.
    ImportedModels imported(*scene, core, baseDir, warn);
    if (imports)
        imported.read(*imports, root / "import");

    // Nodes next: parameters of class objects may name them.
    NodeReader nodes(*scene, scene->render.frameRate);
    SceneNode* mainCamera = camera ? nodes.readMainCamera(*camera, root / "camera") : nullptr;
    forEach(objects, root / "objects", "objects",
            [&](const Json& v, const JsonLocation& at) { nodes.readObject(v, at); });
    forEach(lights, root / "lights", "lights",
            [&](const Json& v, const JsonLocation& at) { nodes.readLight(v, at); });
    nodes.resolveParents();

    ClassObjects classes(*scene, core, baseDir, scene->render.frameRate, warn);
    for (const ImportResult& model : imported.models())
        classes.addImportedMaterials(model.materials);
    classes.addNamed(ClassFamily::material, materials, root / "materials");
    classes.addNamed(ClassFamily::map, maps, root / "maps");
    classes.createNamed();
    nodes.assignMaterials(classes);
    replaceImportedMaterials(imported, classes);
    if (assign)
        assignImportedMaterials(*assign, root / "assign", imported, classes);
    if (overrides)
        overrideImportedNodes(*overrides, root / "overrides", imported, warn);
    if (environment)
        readEnvironment(*environment, root / "environment", scene->environment, classes);
    forEach(effects, root / "effects", "effects", [&](const Json& v, const JsonLocation& at) {
        scene->effects.push_back(dynamic_cast<Effect*>(classes.create(ClassFamily::effect, v, at)));
    });
    forEach(renderElements, root / "renderElements", "render elements",
            [&](const Json& v, const JsonLocation& at) {
                scene->renderElements.push_back(
                    dynamic_cast<IRenderElement*>(classes.create(ClassFamily::renderElement, v, at)));
            });
    if (renderRefs.renderer)
        scene->renderer = dynamic_cast<Renderer*>(
            classes.create(ClassFamily::renderer, *renderRefs.renderer, *renderRefs.rendererAt));
    chooseCamera(*scene, renderRefs, mainCamera, nodes.firstObjectCamera(), imported, root);
    return scene;
}

}  // namespace standalone
