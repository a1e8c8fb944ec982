#include "standalone/import/SceneOrModel.h"

#include "standalone/FileExtension.h"
#include "standalone/SceneDocument.h"
#include "standalone/import/ModelFraming.h"
#include "standalone/import/ModelImport.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>

namespace standalone {

namespace {

constexpr int kDefaultWidth = 1280, kDefaultHeight = 720, kMaxSize = 16384;

}  // namespace

bool isSceneDocument(const std::string& path) { return lowerExtension(path) == ".json"; }

std::unique_ptr<Scene> loadSceneOrModel(const std::string& path, StandaloneCore& core,
                                        const ModelSceneOptions& options)
{
    if (isSceneDocument(path))
        return loadScene(path, core, options.warn);
    return sceneFromModel(path, core, options);
}

std::unique_ptr<Scene> sceneFromModel(const std::string& path, StandaloneCore& core,
                                      const ModelSceneOptions& options)
{
    auto scene = std::make_unique<Scene>();
    const ImportResult model = importModel(path, *scene, core);
    if (options.warn)
        for (const std::string& w : model.warnings)
            options.warn(path + ": " + w);

    RenderSettings& render = scene->render;
    render.width = kDefaultWidth;
    render.height = kDefaultHeight;
    render.antialias = true;
    if (options.width > 0 && options.height > 0) {
        render.width = std::min(options.width, kMaxSize);
        render.height = std::min(options.height, kMaxSize);
    } else if (!model.cameras.empty() && model.cameras.front().aspect > 0.0f) {
        const float height = std::round(float(kDefaultWidth) / model.cameras.front().aspect);
        render.height = std::clamp(static_cast<int>(std::min(height, float(kMaxSize))), 1, kMaxSize);
    }
    core.setFrameRate(render.frameRate);

    const Bounds bounds = sceneBounds(*scene);
    scene->camera = model.cameras.empty()
                        ? addFramingCamera(*scene, bounds, float(render.width) / float(render.height))
                        : model.cameras.front().node;
    scene->cameraSource = model.cameras.empty() ? CameraSource::framing : CameraSource::imported;
    if (model.lights.empty())
        addDefaultLights(*scene, bounds);
    return scene;
}

}  // namespace standalone
