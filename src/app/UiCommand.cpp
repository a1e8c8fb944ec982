#include "app/UiCommand.h"

#include "host/ClassDesc2.h"
#include "host/Effect.h"
#include "host/Mtl.h"
#include "host/ParamDlg.h"
#include "host/Renderer.h"
#include "host/Texmap.h"
#include "standalone/ImageOutput.h"
#include "standalone/StandaloneCore.h"
#include "standalone/document/DocumentEdits.h"
#include "standalone/import/SceneOrModel.h"
#include "standalone/ui/MemoryDialogs.h"

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

// A float as the shortest decimal that reads back as it: 0.1, not 0.10000000149011612.
double shortest(float f) { return std::stod(fmt::format("{}", f)); }

const char* kindName(ControlKind kind)
{
    switch (kind) {
    case ControlKind::staticText: return "static";
    case ControlKind::editText: return "edit";
    case ControlKind::spinner: return "spinner";
    case ControlKind::checkBox: return "check";
    case ControlKind::radioButton: return "radio";
    case ControlKind::comboBox: return "combo";
    case ControlKind::listBox: return "list";
    case ControlKind::button: return "button";
    case ControlKind::colorSwatch: return "colour";
    case ControlKind::mapButton: return "map";
    case ControlKind::nodeButton: return "node";
    case ControlKind::tab: return "tabs";
    case ControlKind::group: return "group";
    case ControlKind::image: return "image";
    }
    return "?";
}

// A control's label: its own text for controls that show one, else the nearest label on its row
// to its left (a map or node button shows its pick, so its own text is the fallback).
std::string labelOf(const MemoryDialogs::Page& page, const MemoryDialogs::Control& c)
{
    switch (c.def.kind) {
    case ControlKind::checkBox:
    case ControlKind::radioButton:
    case ControlKind::button:
    case ControlKind::group: return c.def.text;
    default: break;
    }
    const bool picker = c.def.kind == ControlKind::mapButton || c.def.kind == ControlKind::nodeButton;
    const MemoryDialogs::Control* best = nullptr;
    for (const MemoryDialogs::Control& other : page.controls)
        if (((other.def.kind == ControlKind::staticText && other.def.id == 0) ||
             other.def.kind == ControlKind::checkBox) &&
            other.def.y == c.def.y && other.def.x < c.def.x && (!best || other.def.x > best->def.x))
            best = &other;
    return best ? best->def.text : picker ? c.def.text : "";
}

ordered_json controlJson(const MemoryDialogs::Page& page, const MemoryDialogs::Control& c)
{
    ordered_json j;
    j["id"] = c.def.id;
    if (c.def.kind == ControlKind::spinner)
        j["edit"] = c.def.buddy;
    j["kind"] = kindName(c.def.kind);
    j["label"] = labelOf(page, c);
    switch (c.def.kind) {
    case ControlKind::spinner:
        j["value"] = c.value;
        j["range"] = {c.min, c.max};
        j["step"] = c.step;
        j["integer"] = c.integer;
        j["animated"] = c.keyed;
        break;
    case ControlKind::checkBox:
    case ControlKind::radioButton: j["value"] = c.checked; break;
    case ControlKind::comboBox:
    case ControlKind::listBox:
    case ControlKind::tab:
        j["items"] = c.items;
        j["value"] = c.selection;
        break;
    case ControlKind::colorSwatch:
        j["value"] = {shortest(c.color.r), shortest(c.color.g), shortest(c.color.b)};
        j["animated"] = c.keyed;
        break;
    case ControlKind::image:
        j["value"] = c.image ? fmt::format("{}x{}", c.image->Width(), c.image->Height()) : "";
        break;
    default: j["value"] = c.text; break;
    }
    j["enabled"] = c.enabled;
    return j;
}

std::string valueText(const ordered_json& v)
{
    if (v.is_string())
        return "\"" + v.get<std::string>() + "\"";
    return v.dump();
}

void printPages(MemoryDialogs& ui, bool json)
{
    ordered_json pages = ordered_json::array();
    for (HWND handle : ui.pages()) {
        const MemoryDialogs::Page& page = *ui.page(handle);
        ordered_json p;
        p["title"] = page.title;
        p["template"] = page.dialogId;
        p["rolledUp"] = (page.flags & 0x1) != 0;
        p["controls"] = ordered_json::array();
        for (const MemoryDialogs::Control& c : page.controls)
            if (c.def.id != 0)
                p["controls"].push_back(controlJson(page, c));
        pages.push_back(std::move(p));
    }
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

// The first open page that has control id (of template dialog, unless 0), or nullptr.
HWND pageWith(MemoryDialogs& ui, int dialog, int id)
{
    for (HWND handle : ui.pages())
        if ((dialog == 0 || ui.page(handle)->dialogId == dialog) &&
            const_cast<MemoryDialogs::Page*>(ui.page(handle))->find(id))
            return handle;
    return nullptr;
}

bool parseNumber(const std::string& text, float& out)
{
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, out);
    return ec == std::errc() && ptr == end;
}

// Applies one event; a message on stderr and false when it cannot be.
bool apply(MemoryDialogs& ui, const UiEvent& e)
{
    HWND page = pageWith(ui, e.dialog, e.id);
    if (!page) {
        if (e.dialog)
            fmt::print(stderr, "vermil: ui: no control {} on an open page of template {}\n", e.id, e.dialog);
        else
            fmt::print(stderr, "vermil: ui: no control {} on the open rollouts\n", e.id);
        return false;
    }
    const MemoryDialogs::Control& c = *const_cast<MemoryDialogs::Page*>(ui.page(page))->find(e.id);
    bool done = false;
    switch (e.kind) {
    case UiEvent::set: {
        float number = 0.0f;
        if (c.def.kind == ControlKind::spinner && parseNumber(e.value, number))
            done = ui.userSetValue(page, e.id, number);
        else if (c.def.kind == ControlKind::editText)
            done = ui.userSetText(page, e.id, e.value);
        else if (c.def.kind == ControlKind::checkBox && (e.value == "on" || e.value == "off"))
            done = (c.checked == (e.value == "on")) || ui.userClick(page, e.id);
        break;
    }
    case UiEvent::select: {
        float index = 0.0f;
        done = parseNumber(e.value, index) && ui.userSelect(page, e.id, int(index));
        break;
    }
    case UiEvent::press: done = ui.userClick(page, e.id); break;
    case UiEvent::pick: {
        std::vector<std::string> names;
        std::stringstream list(e.value);
        for (std::string name; std::getline(list, name, ',');)
            names.push_back(name);
        ui.nodeAnswers.push_back(names);
        done = ui.userClick(page, e.id);
        break;
    }
    }
    if (!done)
        fmt::print(stderr, "vermil: ui: control {} ({}) {} \"{}\"\n", e.id, kindName(c.def.kind),
                   c.enabled ? "does not take" : "is disabled and ignores", e.value);
    return done;
}

// The material or map of that name worn anywhere in the scene (sub-materials and sub-maps
// included), or nullptr.
MtlBase* findMtlBase(standalone::Scene& scene, const std::string& name, bool wantMap)
{
    std::vector<MtlBase*> todo;
    for (const auto& node : scene.nodes())
        if (Mtl* m = node->GetMtl())
            todo.push_back(m);
    if (scene.environment.map)
        todo.push_back(scene.environment.map);
    std::vector<MtlBase*> seen;
    while (!todo.empty()) {
        MtlBase* m = todo.back();
        todo.pop_back();
        if (!m || std::find(seen.begin(), seen.end(), m) != seen.end())
            continue;
        seen.push_back(m);
        if (m->GetName() == name && (dynamic_cast<Texmap*>(m) != nullptr) == wantMap)
            return m;
        for (int i = 0; i < m->NumSubTexmaps(); ++i)
            todo.push_back(m->GetSubTexmap(i));
        if (auto* mtl = dynamic_cast<Mtl*>(m))
            for (int i = 0; i < mtl->NumSubMtls(); ++i)
                todo.push_back(mtl->GetSubMtl(i));
    }
    return nullptr;
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
        MtlBase* m = findMtlBase(scene, name, wantMap);
        if (!m) {
            fmt::print(stderr, "vermil: ui: the scene has no {} named \"{}\"\n", wantMap ? "map" : "material",
                       name);
            return nullptr;
        }
        dialog.reset(m->CreateParamDlg(nullptr, nullptr));
    } else if (!options.effect.empty()) {
        what = fmt::format("effect \"{}\"", options.effect);
        // By name, else by its place in the document's list (from 0), for effects without a name.
        Effect* effect = nullptr;
        for (Effect* e : scene.effects)
            if (!effect && e && e->GetName() == options.effect)
                effect = e;
        int index = -1;
        const char* end = options.effect.data() + options.effect.size();
        if (!effect && std::from_chars(options.effect.data(), end, index).ptr == end && index >= 0 &&
            index < int(scene.effects.size()))
            effect = scene.effects[std::size_t(index)];
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
    for (const UiEvent& e : options.events)
        if (!apply(ui, e))
            return 1;
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
