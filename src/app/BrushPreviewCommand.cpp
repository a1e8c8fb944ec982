#include "app/BrushPreviewCommand.h"

#include "host/Bitmap.h"
#include "host/Mtl.h"
#include "material/vmlMaterial.h"
#include "paint/BrushPreview.h"
#include "paint/vmlBrush.h"
#include "standalone/SceneDocument.h"
#include "standalone/StandaloneCore.h"
#include "standalone/document/ParameterSetter.h"
#include "standalone/images/ImageOutput.h"
#include "standalone/import/SceneOrModel.h"

#include <fmt/core.h>
#include <nlohmann/json.hpp>

#include <memory>
#include <set>
#include <stdexcept>

namespace app {

namespace {

// A brush found in the scene, with the name the user would give for it.
struct FoundBrush {
    std::string name;
    vml::vmlBrush* brush = nullptr;
};

void collectBrushes(MtlBase* m, std::vector<FoundBrush>& found, std::set<MtlBase*>& seen)
{
    if (!m || !seen.insert(m).second)
        return;
    if (auto* material = dynamic_cast<vml::vmlMaterial*>(m);
        material && vml::isBrushTexture(material->brushMap()))
        found.push_back({material->GetName(), static_cast<vml::vmlBrush*>(material->brushMap())});
    else if (auto* brush = dynamic_cast<vml::vmlBrush*>(m))
        found.push_back({brush->GetName(), brush});
    for (int i = 0; i < m->NumSubTexmaps(); ++i)
        collectBrushes(m->GetSubTexmap(i), found, seen);
    if (auto* mtl = dynamic_cast<Mtl*>(m))
        for (int i = 0; i < mtl->NumSubMtls(); ++i)
            collectBrushes(mtl->GetSubMtl(i), found, seen);
}

// Settings given on the command line may not name other scene objects.
class NoReferences final : public standalone::document::ReferenceResolver {
public:
    Mtl* material(const standalone::document::Json&, const standalone::document::JsonLocation&) override
    {
        throw std::runtime_error("materials cannot be given on the command line");
    }
    Texmap* map(const standalone::document::Json&, const standalone::document::JsonLocation&) override
    {
        throw std::runtime_error("maps cannot be given on the command line");
    }
    INode* node(const standalone::document::Json&, const standalone::document::JsonLocation&) override
    {
        throw std::runtime_error("nodes cannot be given on the command line");
    }
};

// NAME=VALUE, VALUE read as JSON (numbers, true/false, [r, g, b]) or else as a string.
void applySetting(vml::vmlBrush& brush, const std::string& setting)
{
    const auto eq = setting.find('=');
    if (eq == std::string::npos || eq == 0)
        throw std::runtime_error(fmt::format("--set {}: expected NAME=VALUE, e.g. brushMapSize=8", setting));
    const std::string name = setting.substr(0, eq), text = setting.substr(eq + 1);
    standalone::document::Json value = standalone::document::Json::parse(text, nullptr, false);
    if (value.is_discarded())
        value = text;
    NoReferences refs;
    standalone::document::ParameterContext context{refs, {}, 30};
    standalone::document::setParameter(brush, "vmlBrush", name, value,
                                       standalone::document::JsonLocation("--set") / name, context);
}

}  // namespace

int runBrushPreview(const BrushPreviewOptions& options, standalone::StandaloneCore& core)
{
    std::unique_ptr<standalone::Scene> scene;
    std::unique_ptr<vml::vmlBrush> ownBrush;
    FoundBrush chosen;
    try {
        if (options.scenePath.empty()) {
            ownBrush = std::make_unique<vml::vmlBrush>();
            chosen = {"vmlBrush", ownBrush.get()};
        } else {
            scene = standalone::loadSceneOrModel(options.scenePath, core);
            std::vector<FoundBrush> found;
            std::set<MtlBase*> seen;
            for (const auto& node : scene->nodes())
                collectBrushes(node->GetMtl(), found, seen);
            for (const FoundBrush& f : found)
                if (options.brushName.empty() || f.name == options.brushName) {
                    chosen = f;
                    break;
                }
            if (!chosen.brush) {
                std::string names;
                for (const FoundBrush& f : found)
                    names += (names.empty() ? "" : ", ") + f.name;
                fmt::print(stderr, "vermil: {}: {}; brushes in the scene: {}\n", options.scenePath,
                           options.brushName.empty() ? "no painterly material or brush map is used"
                                                     : "no brush named \"" + options.brushName + "\"",
                           names.empty() ? "none" : names);
                return 1;
            }
        }
        for (const std::string& setting : options.settings)
            applySetting(*chosen.brush, setting);
    } catch (const std::exception& e) {
        fmt::print(stderr, "vermil: {}\n", e.what());
        return 1;
    }

    const std::vector<std::uint8_t> grey =
        vml::renderBrushPreview(*chosen.brush, 0, options.width, options.height);
    Bitmap image(options.width, options.height);
    std::vector<BMM_Color_64> row(static_cast<std::size_t>(options.width));
    for (int y = 0; y < options.height; ++y) {
        for (int x = 0; x < options.width; ++x) {
            const auto level =
                static_cast<std::uint16_t>(grey[static_cast<std::size_t>(y) * options.width + x] * 257);
            row[static_cast<std::size_t>(x)] = {level, level, level, 65535};
        }
        image.PutPixels(0, y, options.width, row.data());
    }
    const auto written = standalone::writeImage(image, options.output);
    if (!written.ok) {
        fmt::print(stderr, "vermil: {}\n", written.error);
        return 1;
    }
    fmt::print("wrote {} ({}x{}, brush {})\n", options.output, options.width, options.height, chosen.name);
    return 0;
}

}  // namespace app
