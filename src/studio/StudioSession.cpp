#include "studio/StudioSession.h"

#include "host/DialogService.h"
#include "host/Effect.h"
#include "host/Mtl.h"
#include "host/ParamDlg.h"
#include "host/Renderer.h"
#include "host/Texmap.h"
#include "shell/StringLookup.h"
#include "standalone/Scene.h"
#include "standalone/SceneDocument.h"
#include "standalone/StandaloneCore.h"
#include "standalone/document/DocumentEdits.h"
#include "standalone/images/ImageOutput.h"
#include "standalone/ui/MemoryDialogs.h"
#include "standalone/ui/SceneThings.h"

#include <fmt/format.h>

#include <algorithm>

namespace studio {

using standalone::MemoryDialogs;
using standalone::RolloutEvent;

StudioSession::StudioSession(std::string documentPath, standalone::StandaloneCore& core, StudioEvents& events,
                             StudioOptions options)
    : path_(std::move(documentPath)), core_(core), events_(events), options_(options)
{
    baseText_ = standalone::readSceneText(path_);
    load(baseText_);
    thread_ = std::thread([this] { renderLoop(); });
}

StudioSession::~StudioSession()
{
    stop();
    std::lock_guard guard(lock_);
    closeRollouts();
    SetDialogService(nullptr);
}

void StudioSession::stop()
{
    {
        std::lock_guard guard(work_);
        stopping_ = true;
    }
    core_.SetCancel(TRUE);
    wake_.notify_all();
    if (thread_.joinable())
        thread_.join();
    core_.SetCancel(FALSE);
    {
        // Requests waiting for a picture give up now: none will come.
        std::lock_guard pictures(pictures_);
        picturesClosed_ = true;
    }
    pictureReady_.notify_all();
}

// ---- the document and its rollouts (under lock_) ----

void StudioSession::load(const std::string& text)
{
    const std::string disk = edits_ ? edits_->diskText() : text;
    closeRollouts();
    edits_.reset();
    scanline_.reset();
    scene_.reset();
    scene_ = standalone::parseScene(text, path_, core_);
    core_.setFrameRate(scene_->render.frameRate);
    ui_ = std::make_unique<MemoryDialogs>();
    for (const auto& node : scene_->nodes())
        ui_->sceneNodes.push_back(node.get());
    for (const auto& object : scene_->objects())
        if (auto* m = dynamic_cast<MtlBase*>(object.get()); m && !m->GetName().empty())
            ui_->sceneMaps.push_back(m);
    SetDialogService(ui_.get());
    edits_ = std::make_unique<standalone::document::DocumentEdits>(*scene_, text, disk);
}

void StudioSession::closeRollouts()
{
    dialog_.reset();
    rendererDialog_.reset();
}

void StudioSession::setTime(int frame)
{
    const int fps = std::max(1, scene_->render.frameRate);
    core_.setTime(static_cast<TimeValue>(static_cast<long long>(frame) * TIME_TICKSPERSEC / fps));
}

void StudioSession::openRollouts(const Thing& thing)
{
    if (thing == thing_ && (dialog_ || rendererDialog_))
        return;
    closeRollouts();
    thing_ = {};
    if (thing.kind == "renderer") {
        if (!scene_->renderer)
            throw StudioError(404,
                              "the scene renders with the host's scanline renderer, which has no rollouts");
        rendererDialog_.reset(scene_->renderer->CreateParamDialog(nullptr, FALSE));
    } else if (thing.kind == "material" || thing.kind == "map") {
        MtlBase* m = standalone::findMaterialOrMap(*scene_, thing.name, thing.kind == "map");
        if (!m)
            throw StudioError(404, fmt::format("the scene has no {} named \"{}\"", thing.kind, thing.name));
        dialog_.reset(m->CreateParamDlg(nullptr, nullptr));
    } else if (thing.kind == "effect") {
        Effect* e = standalone::findEffect(*scene_, thing.name);
        if (!e)
            throw StudioError(404, fmt::format("the scene has no effect \"{}\"", thing.name));
        dialog_.reset(e->CreateParamDialog(nullptr));
    } else {
        throw StudioError(
            400,
            fmt::format("\"{}\" has no rollouts; expected renderer, material, map or effect", thing.kind));
    }
    if (!dialog_ && !rendererDialog_)
        throw StudioError(404, fmt::format("the {} \"{}\" has no rollouts", thing.kind, thing.name));
    thing_ = thing;
}

bool StudioSession::applyStep(const Step& step, std::string& message)
{
    setTime(step.frame);
    openRollouts(step.thing);
    const standalone::RolloutEventResult r = standalone::applyRolloutEvent(*ui_, step.event);
    message = r.message;
    return r.ok;
}

void StudioSession::rebuild()
{
    const Thing current = thing_;
    load(baseText_);
    thing_ = {};
    std::string ignored;
    for (std::size_t i = 0; i < applied_; ++i)
        applyStep(history_[i], ignored);
    setTime(frame_);
    reopenRollouts(current);
}

void StudioSession::reopenRollouts(const Thing& thing)
{
    closeRollouts();
    thing_ = {};
    if (!thing.kind.empty())
        openRollouts(thing);
}

std::unique_lock<std::mutex> StudioSession::lockForEdit()
{
    editing_ = true;
    core_.SetCancel(TRUE);
    std::unique_lock guard(lock_);
    core_.SetCancel(FALSE);
    editing_ = false;
    return guard;
}

void StudioSession::changed()
{
    ++version_;
    {
        std::lock_guard guard(work_);
        ++generation_;
    }
    wake_.notify_all();
    events_.publish("state", Json{{"version", version_.load()}}.dump());
}

Json StudioSession::stateLocked(bool ok, const std::string& message)
{
    Json pages = (dialog_ || rendererDialog_) ? standalone::rolloutPages(*ui_) : Json::array();
    // The pages' pictures, encoded now: the render thread may redraw them later.
    std::map<std::pair<int, int>, std::string> previews;
    for (HWND handle : ui_->pages()) {
        const MemoryDialogs::Page& page = *ui_->page(handle);
        for (const MemoryDialogs::Control& c : page.controls)
            if (c.image && c.image->HasStorage())
                previews[{page.dialogId, c.def.id}] = standalone::encodePng(*c.image);
    }
    {
        std::lock_guard guard(pictures_);
        previews_ = std::move(previews);
    }
    Json s;
    s["ok"] = ok;
    s["message"] = message;
    s["version"] = version_.load();
    s["canUndo"] = applied_ > 0;
    s["canRedo"] = applied_ < history_.size();
    s["dirty"] = applied_ != saved_;
    s["frame"] = frame_;
    s["thing"] = thing_.kind.empty() ? Json(nullptr) : Json{{"kind", thing_.kind}, {"name", thing_.name}};
    s["pages"] = std::move(pages);
    return s;
}

Json StudioSession::tree()
{
    std::lock_guard guard(lock_);
    standalone::Scene& scene = *scene_;
    auto item = [](const char* kind, const std::string& name, const std::string& label, bool open = true) {
        Json i{{"kind", kind}, {"name", name}, {"label", label}};
        if (!open)
            i["open"] = false;
        return i;
    };
    Json groups = Json::array();
    auto group = [&](const char* title, Json items) {
        groups.push_back(Json{{"title", title}, {"items", std::move(items)}});
    };

    Json renderer = Json::array();
    if (scene.renderer) {
        std::string name;
        scene.renderer->GetClassName(name);
        renderer.push_back(item("renderer", "", name));
    } else {
        renderer.push_back(item("renderer", "", "scanline", false));
    }
    group("Renderer", std::move(renderer));
    group("Camera", Json::array({item("camera", "", scene.camera ? scene.camera->GetName() : "", false)}));

    Json objects = Json::array();
    for (const auto& node : scene.nodes()) {
        if (node.get() == scene.camera)
            continue;
        Mtl* m = node->GetMtl();
        if (m)
            objects.push_back(
                item("material", m->GetName(), node->GetName() + std::string(": ") + m->GetName()));
        else
            objects.push_back(item("node", node->GetName(), node->GetName(), false));
    }
    group("Objects", std::move(objects));

    Json materials = Json::array();
    for (Mtl* m : standalone::sceneMaterials(scene))
        if (!m->GetName().empty())
            materials.push_back(item("material", m->GetName(), m->GetName()));
    group("Materials", std::move(materials));

    Json maps = Json::array();
    for (const auto& object : scene.objects())
        if (auto* t = dynamic_cast<Texmap*>(object.get()); t && !t->GetName().empty())
            maps.push_back(item("map", t->GetName(), t->GetName()));
    group("Maps", std::move(maps));

    Json effects = Json::array();
    for (std::size_t i = 0; i < scene.effects.size(); ++i) {
        Effect* e = scene.effects[i];
        std::string label = e->GetName();
        if (label.empty())
            e->GetClassName(label);
        effects.push_back(item("effect", e->GetName().empty() ? std::to_string(i) : e->GetName(), label));
    }
    group("Effects", std::move(effects));

    Json layers = Json::array({"painted", "plain"});
    Json elements = Json::array();
    for (IRenderElement* e : scene.renderElements) {
        const std::string name = e && e->ElementName() ? e->ElementName() : "";
        elements.push_back(item("element", name, name, false));
        layers.push_back(name);
    }
    group("Render elements", std::move(elements));

    Json t;
    t["document"] = path_;
    t["language"] = vml::textLanguage() == vml::resources::Language::Japanese ? "ja" : "en";
    t["frames"] = {{"start", scene.render.startFrame}, {"end", scene.render.endFrame}, {"current", frame_}};
    t["groups"] = std::move(groups);
    t["layers"] = std::move(layers);
    return t;
}

Json StudioSession::open(const Thing& thing)
{
    auto guard = lockForEdit();
    setTime(frame_);
    reopenRollouts(thing);
    // A material's sample belongs to the open material.
    {
        std::lock_guard pictures(pictures_);
        sample_.clear();
        openKind_ = thing_.kind;
    }
    guard.unlock();
    {
        std::lock_guard work(work_);
        ++generation_;
    }
    wake_.notify_all();
    return state();
}

Json StudioSession::state()
{
    std::lock_guard guard(lock_);
    return stateLocked(true, "");
}

Json StudioSession::act(const RolloutEvent& event)
{
    auto guard = lockForEdit();
    if (thing_.kind.empty())
        throw StudioError(400, "open a thing's rollouts first");
    Step step{thing_, frame_, event};
    std::string message;
    const bool ok = applyStep(step, message);
    if (ok) {
        history_.resize(applied_);
        if (saved_ > applied_ && saved_ != std::size_t(-1))
            saved_ = std::size_t(-1);  // the saved state is no longer in the history
        history_.push_back(step);
        ++applied_;
        changed();
    }
    return stateLocked(ok, message);
}

Json StudioSession::undo()
{
    auto guard = lockForEdit();
    if (applied_ == 0)
        return stateLocked(false, "nothing to undo");
    --applied_;
    rebuild();
    changed();
    return stateLocked(true, "");
}

Json StudioSession::redo()
{
    auto guard = lockForEdit();
    if (applied_ >= history_.size())
        return stateLocked(false, "nothing to redo");
    const Thing current = thing_;
    std::string message;
    applyStep(history_[applied_], message);
    ++applied_;
    // Back to the thing and the time the user is at, the pages showing the values there.
    setTime(frame_);
    reopenRollouts(current);
    changed();
    return stateLocked(true, message);
}

Json StudioSession::setFrame(int frame)
{
    auto guard = lockForEdit();
    frame_ = std::clamp(frame, -100000, 100000);
    setTime(frame_);
    // The rollouts show the values at the new time.
    reopenRollouts(Thing(thing_));
    changed();
    return stateLocked(true, "");
}

Json StudioSession::save()
{
    auto guard = lockForEdit();
    std::string problem;
    const int written = edits_->save(problem);
    if (written < 0)
        return Json{{"ok", false}, {"error", problem}};
    saved_ = applied_;
    ++version_;
    events_.publish("state", Json{{"version", version_.load()}}.dump());
    return Json{{"ok", true},
                {"written", written},
                {"message", fmt::format("{}: {} value{} changed from the opened document", path_, written,
                                        written == 1 ? "" : "s")}};
}

Json StudioSession::status()
{
    std::unique_lock guard(lock_, std::try_to_lock);
    Json s{{"version", version_.load()}, {"rendering", rendering_.load()}};
    if (guard.owns_lock()) {
        s["frame"] = frame_;
        s["canUndo"] = applied_ > 0;
        s["canRedo"] = applied_ < history_.size();
        s["dirty"] = applied_ != saved_;
    }
    return s;
}

std::string StudioSession::previewPng(int dialog, int id)
{
    std::lock_guard guard(pictures_);
    const auto it = previews_.find({dialog, id});
    return it == previews_.end() ? std::string() : it->second;
}

std::string StudioSession::viewportPng(const std::string& layer)
{
    std::lock_guard guard(pictures_);
    const auto it = viewport_.find(layer);
    return it == viewport_.end() ? std::string() : it->second;
}

}  // namespace studio
