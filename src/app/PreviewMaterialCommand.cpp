#include "app/PreviewMaterialCommand.h"

#include "app/CancelOnInterrupt.h"
#include "app/HostSetup.h"
#include "app/ProgressBar.h"
#include "host/Bitmap.h"
#include "host/Mtl.h"
#include "standalone/MaterialSample.h"
#include "standalone/StandaloneCore.h"
#include "standalone/images/ImageOutput.h"
#include "standalone/import/SceneOrModel.h"

#include <fmt/core.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <vector>

namespace app {

namespace {

namespace fs = std::filesystem;

std::string materialNames(standalone::Scene& scene)
{
    std::vector<std::string> seen;
    std::string names;
    for (Mtl* m : standalone::sceneMaterials(scene)) {
        const std::string& name = m->GetName();
        if (name.empty() || std::find(seen.begin(), seen.end(), name) != seen.end())
            continue;
        seen.push_back(name);
        names += (names.empty() ? "" : ", ") + name;
    }
    return names.empty() ? "none" : names;
}

}  // namespace

int runPreviewMaterial(const PreviewMaterialOptions& options, standalone::StandaloneCore& core)
{
    core.setQuietMode(options.quiet);
    // Mistakes in the options fail before the scene is read.
    const auto shape = standalone::sampleShapeNamed(options.shape);
    if (!shape) {
        fmt::print(stderr, "vermil: --shape {}: unknown shape; expected one of: {}\n", options.shape,
                   standalone::sampleShapeNames());
        return 1;
    }
    if (options.size < standalone::kMinSampleSize || options.size > standalone::kMaxSampleSize) {
        fmt::print(stderr, "vermil: --size {}: expected {} to {} pixels\n", options.size,
                   standalone::kMinSampleSize, standalone::kMaxSampleSize);
        return 1;
    }
    if (options.output.empty()) {
        fmt::print(stderr, "vermil preview-material: an output image (-o FILE) is required\n");
        return 1;
    }

    std::unique_ptr<standalone::Scene> document;
    try {
        document = standalone::loadSceneOrModel(options.scenePath, core, {0, 0, printWarning});
    } catch (const std::exception& e) {
        fmt::print(stderr, "vermil: {}\n", e.what());
        return 1;
    }
    Mtl* material = standalone::findSceneMaterial(*document, options.material);
    if (!material) {
        fmt::print(stderr, "vermil: {}: no material named \"{}\"; materials: {}\n", options.scenePath,
                   options.material, materialNames(*document));
        return 1;
    }

    standalone::SampleRenderer picked;
    std::string error;
    if (!standalone::chooseSampleRenderer(*document, *material, core, picked, error)) {
        fmt::print(stderr, "vermil: {}: {}\n", options.scenePath, error);
        return 1;
    }
    const auto sample = standalone::makeMaterialSample(*material, *shape, options.size);

    ProgressBar progress(!options.quiet);
    standalone::RenderJobOptions jobOptions;
    jobOptions.progress = &progress;
    Bitmap image;
    const standalone::RenderJobResult result =
        standalone::renderMaterialSample(*sample, *picked.renderer, image, jobOptions);
    progress.finish();
    for (const std::string& w : result.warnings)
        printWarning(w);
    if (!result.ok) {
        if (result.cancelled || interrupted()) {
            fmt::print(stderr, "vermil: cancelled\n");
            return 130;
        }
        fmt::print(stderr, "vermil: {}: material \"{}\": {}\n", options.scenePath, options.material,
                   result.error);
        return 1;
    }

    std::error_code ignored;
    if (fs::path parent = fs::path(options.output).parent_path(); !parent.empty())
        fs::create_directories(parent, ignored);
    const auto written = standalone::writeImage(image, options.output);
    if (!written.ok) {
        fmt::print(stderr, "vermil: {}\n", written.error);
        return 1;
    }
    fmt::print("wrote {} ({}x{}, material {} on a {}, renderer {})\n", options.output, image.Width(),
               image.Height(), options.material, options.shape, picked.className);
    return 0;
}

}  // namespace app
