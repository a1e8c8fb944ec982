#include "standalone/ui/RolloutState.h"

#include "standalone/StandaloneCore.h"

#include <fmt/format.h>

#include <algorithm>
#include <charconv>
#include <sstream>

namespace standalone {

namespace {

using nlohmann::ordered_json;

// A float as the shortest decimal that reads back as it: 0.1, not 0.10000000149011612.
double shortest(float f) { return std::stod(fmt::format("{}", f)); }

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
    j["kind"] = controlKindName(c.def.kind);
    j["label"] = labelOf(page, c);
    switch (c.def.kind) {
    case ControlKind::spinner:
        j["value"] = shortest(c.value);
        j["range"] = {shortest(c.min), shortest(c.max)};
        j["step"] = shortest(c.step);
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
    j["place"] = {c.def.x, c.def.y, c.def.width, c.def.height};
    return j;
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

bool parseColor(const std::string& text, Color& out)
{
    float c[3];
    std::stringstream list(text);
    std::string part;
    for (float& v : c)
        if (!std::getline(list, part, ',') || !parseNumber(part, v) || v < 0.0f)
            return false;
    out = Color(c[0], c[1], c[2]);
    return !std::getline(list, part, ',');
}

}  // namespace

const char* controlKindName(ControlKind kind)
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

ordered_json rolloutPages(MemoryDialogs& ui)
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
            else if (c.def.kind == ControlKind::staticText || c.def.kind == ControlKind::group)
                p["labels"].push_back({{"kind", controlKindName(c.def.kind)},
                                       {"text", c.def.text},
                                       {"place", {c.def.x, c.def.y, c.def.width, c.def.height}}});
        pages.push_back(std::move(p));
    }
    return pages;
}

namespace {

// The act itself, before the warnings it logged are gathered.
RolloutEventResult act(MemoryDialogs& ui, const RolloutEvent& e)
{
    HWND page = pageWith(ui, e.dialog, e.id);
    if (!page)
        return {false, e.dialog ? fmt::format("no control {} on an open page of template {}", e.id, e.dialog)
                                : fmt::format("no control {} on the open rollouts", e.id)};
    const MemoryDialogs::Control& c = *const_cast<MemoryDialogs::Page*>(ui.page(page))->find(e.id);
    if (!c.enabled)
        return {false, fmt::format("control {} ({}) is disabled", e.id, controlKindName(c.def.kind))};
    bool done = false;
    std::string expected;
    switch (e.kind) {
    case RolloutEvent::set: {
        float number = 0.0f;
        Color color;
        if (c.def.kind == ControlKind::spinner) {
            expected = fmt::format("a number from {:g} to {:g}", c.min, c.max);
            done = parseNumber(e.value, number) && ui.userSetValue(page, e.id, number);
        } else if (c.def.kind == ControlKind::editText) {
            done = ui.userSetText(page, e.id, e.value);
        } else if (c.def.kind == ControlKind::checkBox) {
            expected = "on or off";
            if (e.value == "on" || e.value == "off")
                done = (c.checked == (e.value == "on")) || ui.userClick(page, e.id);
        } else if (c.def.kind == ControlKind::colorSwatch) {
            expected = "a colour r,g,b (0 or more each)";
            done = parseColor(e.value, color) && ui.userSetColor(page, e.id, color);
        }
        break;
    }
    case RolloutEvent::select: {
        float index = 0.0f;
        expected = c.items.empty() ? "an index" : fmt::format("an index from 0 to {}", c.items.size() - 1);
        done = parseNumber(e.value, index) && ui.userSelect(page, e.id, int(index));
        break;
    }
    case RolloutEvent::press: done = ui.userClick(page, e.id); break;
    case RolloutEvent::pick: {
        if (c.def.kind == ControlKind::mapButton) {
            expected = "the name of a map or material of the scene (empty for none)";
            const int before = ui.mapPicks;
            ui.mapAnswers.push_back(e.value);
            done = ui.userClick(page, e.id) && ui.mapPicks > before;
            ui.mapAnswers.clear();
            break;
        }
        std::vector<std::string> names;
        std::stringstream list(e.value);
        for (std::string name; std::getline(list, name, ',');)
            names.push_back(name);
        ui.nodeAnswers.push_back(names);
        done = ui.userClick(page, e.id);
        break;
    }
    }
    if (done)
        return {true, {}};
    return {false, fmt::format("control {} ({}) does not take \"{}\"{}", e.id, controlKindName(c.def.kind),
                               e.value, expected.empty() ? "" : "; expected " + expected)};
}

}  // namespace

RolloutEventResult applyRolloutEvent(MemoryDialogs& ui, const RolloutEvent& e)
{
    // The note is what the act logged: the intake's warnings for values held or refused.
    auto* core = dynamic_cast<StandaloneCore*>(GetCOREInterface());
    const std::size_t logged = core ? core->warnings().size() : 0;
    RolloutEventResult result = act(ui, e);
    if (core && result.ok) {
        const std::vector<std::string> warnings = core->warnings();
        for (std::size_t i = logged; i < warnings.size(); ++i)
            result.message += (result.message.empty() ? "" : "; ") + warnings[i];
    }
    return result;
}

}  // namespace standalone
