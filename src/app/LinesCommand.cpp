#include "app/LinesCommand.h"

#include "app/HostSetup.h"
#include "app/LineElementList.h"
#include "line/LineFiles.h"
#include "line/LineFxElement.h"
#include "line/LineFxManager.h"
#include "line/LineSettingsFile.h"
#include "shell/SettingsLocations.h"
#include "standalone/StandaloneCore.h"
#include "standalone/import/SceneOrModel.h"

#include <fmt/format.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <memory>

namespace app {

namespace {

// The line effect and element the options name in the scene at options.scenePath.
struct Chosen {
    std::unique_ptr<standalone::Scene> scene;
    vml::LineFxManager* effect = nullptr;
    vml::LineFxElement* element = nullptr;
};

std::optional<Chosen> choose(const LinesOptions& options, standalone::StandaloneCore& core)
{
    Chosen c;
    try {
        c.scene = standalone::loadSceneOrModel(options.scenePath, core);
    } catch (const std::exception& e) {
        fmt::print(stderr, "vermil: {}\n", e.what());
        return std::nullopt;
    }
    std::vector<std::string> names;
    for (Effect* e : c.scene->effects)
        if (auto* line = dynamic_cast<vml::LineFxManager*>(e)) {
            names.push_back(line->GetName().empty() ? "(unnamed)" : line->GetName());
            if (!c.effect && (options.effect.empty() || line->GetName() == options.effect))
                c.effect = line;
        }
    if (!c.effect) {
        if (names.empty())
            fmt::print(stderr, "vermil: {}: the scene has no line effect\n", options.scenePath);
        else
            fmt::print(stderr, "vermil: {}: no line effect named \"{}\"; the line effects are: {}\n",
                       options.scenePath, options.effect, fmt::join(names, ", "));
        return std::nullopt;
    }
    if (options.element) {
        c.element = c.effect->element(*options.element);
        if (!c.element) {
            fmt::print(stderr, "vermil: {}: --element {}: the line effect has {} element{} (0 to {})\n",
                       options.scenePath, *options.element, c.effect->elementCount(),
                       c.effect->elementCount() == 1 ? "" : "s", c.effect->elementCount() - 1);
            return std::nullopt;
        }
    }
    return c;
}

// A setting's value as the file holds it.
std::string valueText(const vml::LineSettings& s, const vml::LineRecordInfo& record)
{
    std::string text;
    for (int w = 0; w < record.words; ++w) {
        std::uint32_t bits = 0;
        std::memcpy(&bits, reinterpret_cast<const unsigned char*>(&s) + 4 * (record.firstWord + w), 4);
        if (record.isInt) {
            std::int32_t i = 0;
            std::memcpy(&i, &bits, 4);
            text += fmt::format("{}{}", w ? " " : "", i);
        } else {
            float f = 0.0f;
            std::memcpy(&f, &bits, 4);
            text += fmt::format("{}{:g}", w ? " " : "", f);
        }
    }
    return text;
}

}  // namespace

int runLinesSave(const LinesOptions& options, standalone::StandaloneCore& core)
{
    std::optional<Chosen> c = choose(options, core);
    if (!c)
        return 1;
    const bool saved = c->element ? vml::saveElementFile(*c->element, options.output)
                                  : vml::saveLinesFile(*c->effect, options.output);
    if (!saved) {
        fmt::print(stderr, "vermil: {}: the {} could not be written\n", options.output,
                   c->element ? "line element file" : "lines file");
        return 1;
    }
    fmt::print("wrote {}: {}\n", options.output,
               c->element
                   ? fmt::format("element {} ({})", *options.element, lineElementTypeName(c->element->type()))
                   : fmt::format("{} element{}", c->effect->elementCount(),
                                 c->effect->elementCount() == 1 ? "" : "s"));
    return 0;
}

int runLinesShow(const std::string& path)
{
    std::string reason;
    const auto contents = vml::readLineFile(path, reason);
    if (!contents) {
        fmt::print(stderr, "vermil: {}: {}\n", path, reason);
        return 1;
    }
    for (const std::string& held : contents->heldValues)
        printWarning(held);
    fmt::print("{}: {}, {} records per element{}\n", path,
               contents->linesFile ? fmt::format("lines file, {} element{}", contents->elements.size(),
                                                 contents->elements.size() == 1 ? "" : "s")
                                   : std::string("line element file"),
               contents->recordCount,
               contents->recordCount < int(vml::lineRecords().size())
                   ? " (an older file: the rest keep the element's own)"
                   : "");
    for (std::size_t i = 0; i < contents->elements.size(); ++i) {
        const vml::LineFileElement& e = contents->elements[i];
        if (contents->linesFile)
            fmt::print("element {}: {} \"{}\"\n", i, lineElementTypeName(e.type), e.name);
        const auto records = vml::lineRecords();
        for (std::size_t r = 0; r < records.size() && int(r) < contents->recordCount; ++r)
            fmt::print("  {:<26} {}{}\n", records[r].name, valueText(e.settings, records[r]),
                       e.sameAsDefault[r] ? "  (default)" : "");
    }
    return 0;
}

int runLinesSetDefault(const LinesOptions& options, standalone::StandaloneCore& core)
{
    std::optional<Chosen> c = choose(options, core);
    if (!c)
        return 1;
    if (!c->element) {
        fmt::print(stderr,
                   "vermil: lines set-default: --element N names the element whose settings to keep\n");
        return 1;
    }
    const std::string file = vml::settingsFilePath(vml::linePresetFileName);
    if (file.empty()) {
        fmt::print(stderr, "vermil: no settings folder: the line settings file has no place\n");
        return 1;
    }
    if (options.paint)
        vml::writeLinePaintSettingsFile(*c->element, true);
    else
        vml::writeLineSettingsFile(*c->element, true);
    // The writers do not report failures; the file tells.
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) {
        fmt::print(stderr, "vermil: {}: the line settings file could not be written\n", file);
        return 1;
    }
    fmt::print("wrote the {} settings of element {} ({}) to {}\n", options.paint ? "paint" : "line",
               *options.element, lineElementTypeName(c->element->type()), file);
    return 0;
}

}  // namespace app
