#include "app/UiCommand.h"

#include "host/ClassDesc2.h"
#include "host/Effect.h"
#include "host/Mtl.h"
#include "host/ParamDlg.h"
#include "host/Renderer.h"
#include "host/Texmap.h"
#include "standalone/StandaloneCore.h"
#include "standalone/document/DocumentEdits.h"
#include "standalone/images/ImageOutput.h"
#include "standalone/import/SceneOrModel.h"
#include "standalone/ui/MemoryDialogs.h"
#include "standalone/ui/RolloutState.h"
#include "standalone/ui/SceneThings.h"

#include <fmt/format.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <memory>
#include <optional>
#include <sstream>

namespace app {

namespace {

using nlohmann::ordered_json;
using standalone::MemoryDialogs;

std::string valueText(const ordered_json& v)
{
    if (v.is_string())
        return "\"" + v.get<std::string>() + "\"";
    return v.dump();
}

void printPages(MemoryDialogs& ui, bool json)
{
    const ordered_json pages = standalone::rolloutPages(ui);
    if (json) {
        fmt::print("{}\n", pages.dump(2));
        return;
    }
    for (const ordered_json& p : pages) {
        fmt::print("{} (template {}{})\n", p["title"].get<std::string>(), p["template"].get<int>(),
                   p["rolledUp"].get<bool>() ? ", rolled up" : "");
        for (const ordered_json& c : p["controls"]) {
            std::string extra;
            if (c.contains("range"))
                extra += fmt::format("  range {:g} to {:g}, step {:g}", c["range"][0].get<double>(),
                                     c["range"][1].get<double>(), c["step"].get<double>());
            if (c.contains("items"))
                extra += "  items " + c["items"].dump();
            if (c.value("animated", false))
                extra += "  animated";
            fmt::print("  {:>5} {:<8} {:<28} {}{}{}\n", c["id"].get<int>(), c["kind"].get<std::string>(),
                       c["label"].get<std::string>(), valueText(c["value"]), extra,
                       c["enabled"].get<bool>() ? "" : "  (disabled)");
        }
    }
}

// Every preview picture of the open pages as DIR/TEMPLATE_ID.png; false with a message on failure.
bool writePreviews(MemoryDialogs& ui, const std::string& dir)
{
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    for (HWND handle : ui.pages()) {
        const MemoryDialogs::Page& page = *ui.page(handle);
        for (const MemoryDialogs::Control& c : page.controls) {
            if (!c.image || !c.image->HasStorage())
                continue;
            const std::string path =
                (std::filesystem::path(dir) / fmt::format("{}_{}.png", page.dialogId, c.def.id)).string();
            const auto written = standalone::writeImage(*c.image, path);
            if (!written.ok) {
                fmt::print(stderr, "vermil: ui: {}\n", written.error);
                return false;
            }
            fmt::print(stderr, "wrote {}\n", path);
        }
    }
    return true;
}

// Opens the rollouts the options name; nullptr with a message on stderr when it cannot.
std::unique_ptr<ParamDlg> openRollouts(const UiOptions& options, standalone::Scene& scene)
{
    std::unique_ptr<ParamDlg> dialog;
    std::string what;
    if (!options.material.empty() || !options.map.empty()) {
        const bool wantMap = options.material.empty();
        const std::string& name = wantMap ? options.map : options.material;
        what = fmt::format("{} \"{}\"", wantMap ? "map" : "material", name);
        MtlBase* m = standalone::findMaterialOrMap(scene, name, wantMap);
        if (!m) {
            fmt::print(stderr, "vermil: ui: the scene has no {} named \"{}\"\n", wantMap ? "map" : "material",
                       name);
            return nullptr;
        }
        dialog.reset(m->CreateParamDlg(nullptr, nullptr));
    } else if (!options.effect.empty()) {
        what = fmt::format("effect \"{}\"", options.effect);
        Effect* effect = standalone::findEffect(scene, options.effect);
        if (!effect) {
            fmt::print(
                stderr,
                "vermil: ui: the scene has no effect named \"{}\" (nor one at that place in its list)\n",
                options.effect);
            return nullptr;
        }
        dialog.reset(effect->CreateParamDialog(nullptr));
    }
    if (!dialog)
        fmt::print(stderr, "vermil: ui: the {} has no rollouts\n", what);
    return dialog;
}

}  // namespace

bool parseUiAssignment(const std::string& text, UiEvent& e)
{
    const std::size_t eq = text.find('=');
    if (eq == std::string::npos || eq == 0)
        return false;
    const char* end = text.data() + eq;
    const char* idStart = text.data();
    e.dialog = 0;
    if (const std::size_t colon = text.find(':'); colon < eq) {
        auto [ptr, ec] = std::from_chars(text.data(), text.data() + colon, e.dialog);
        if (ec != std::errc() || ptr != text.data() + colon || e.dialog <= 0)
            return false;
        idStart = text.data() + colon + 1;
    }
    auto [ptr, ec] = std::from_chars(idStart, end, e.id);
    if (ec != std::errc() || ptr != end)
        return false;
    e.value = text.substr(eq + 1);
    return true;
}

int runUi(const UiOptions& options, standalone::StandaloneCore& core)
{
    std::unique_ptr<standalone::Scene> scene;
    try {
        scene = standalone::loadSceneOrModel(options.scenePath, core);
    } catch (const std::exception& e) {
        fmt::print(stderr, "vermil: {}\n", e.what());
        return 1;
    }
    const int things = int(options.renderer) + int(!options.material.empty()) + int(!options.map.empty()) +
                       int(!options.effect.empty());
    if (things != 1) {
        fmt::print(stderr,
                   "vermil: ui: say whose rollouts to open: one of --renderer, --material NAME, --map NAME, "
                   "--effect NAME\n");
        return 1;
    }
    if (options.renderer && !scene->renderer) {
        fmt::print(stderr,
                   "vermil: ui: {}: the scene renders with the host's scanline renderer, which has "
                   "no rollouts of the system\n",
                   options.scenePath);
        return 1;
    }
    // The rollouts show and edit values at the core's time.
    const int fps = std::max(1, scene->render.frameRate);
    core.setTime(static_cast<TimeValue>(static_cast<long long>(options.frame) * TIME_TICKSPERSEC / fps));
    if (options.save && !standalone::isSceneDocument(options.scenePath)) {
        fmt::print(stderr,
                   "vermil: ui: {}: --save writes into a scene document; a model file is only read (import "
                   "it from a scene document to keep changes)\n",
                   options.scenePath);
        return 1;
    }
    std::optional<standalone::document::DocumentEdits> edits;
    if (options.save)
        edits.emplace(*scene);
    MemoryDialogs ui;
    for (const auto& node : scene->nodes())
        ui.sceneNodes.push_back(node.get());
    for (const auto& object : scene->objects())
        if (auto* m = dynamic_cast<MtlBase*>(object.get()); m && !m->GetName().empty())
            ui.sceneMaps.push_back(m);
    SetDialogService(&ui);
    struct Uninstall {
        ~Uninstall() { SetDialogService(nullptr); }
    } uninstall;
    std::unique_ptr<RendParamDlg> rendererDialog;
    std::unique_ptr<ParamDlg> dialog;
    if (options.renderer) {
        rendererDialog.reset(scene->renderer->CreateParamDialog(nullptr, FALSE));
        if (!rendererDialog) {
            fmt::print(stderr, "vermil: ui: the renderer has no rollouts\n");
            return 1;
        }
    } else if (!(dialog = openRollouts(options, *scene))) {
        return 1;
    }
    for (const UiEvent& e : options.events) {
        // A taken act's notes are the log's warnings, which the host prints as they come.
        const standalone::RolloutEventResult r = standalone::applyRolloutEvent(ui, e);
        if (!r.ok) {
            fmt::print(stderr, "vermil: ui: {}\n", r.message);
            return 1;
        }
    }
    printPages(ui, options.json);
    if (!options.previews.empty() && !writePreviews(ui, options.previews))
        return 1;
    if (edits) {
        std::string problem;
        const int written = edits->save(problem);
        if (written < 0) {
            fmt::print(stderr, "vermil: ui: not saved: {}\n", problem);
            return 1;
        }
        fmt::print(stderr, "{}: {} value{} written\n", options.scenePath, written, written == 1 ? "" : "s");
    }
    return 0;
}

}  // namespace app
