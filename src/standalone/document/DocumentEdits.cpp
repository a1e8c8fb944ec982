#include "standalone/document/DocumentEdits.h"

#include "host/FileReplace.h"
#include "host/IParamBlock2.h"
#include "host/MtlBase.h"
#include "host/ParamBlockDesc2.h"
#include "standalone/Scene.h"
#include "standalone/SceneDocument.h"
#include "standalone/document/DocumentPlaces.h"
#include "standalone/document/JsonTextPatch.h"
#include "standalone/document/ParameterValues.h"

#include <fmt/format.h>

#include <algorithm>
#include <unordered_set>

namespace standalone::document {

namespace {

// key as one token of a JSON pointer.
std::string pointerToken(const std::string& key)
{
    std::string token;
    for (char c : key)
        token += c == '~' ? std::string("~0") : c == '/' ? std::string("~1") : std::string(1, c);
    return token;
}

// The object's references that are neither parameter blocks nor the values of parameters kept
// in the object's own slots: its parts (a line effect's elements).
std::vector<ReferenceTarget*> partsOf(ReferenceTarget& object)
{
    std::vector<int> parameterSlots;
    for (int b = 0; b < object.NumParamBlocks(); ++b)
        if (IParamBlock2* block = object.GetParamBlock(b); block && block->GetDesc())
            for (int k = 0; k < block->GetDesc()->Count(); ++k)
                if (const ParamDef& def = block->GetDesc()->GetParamDefByIndex(k); def.ownersRef())
                    parameterSlots.push_back(def.ownerRefNo);
    std::vector<ReferenceTarget*> parts;
    for (int i = 0; i < object.NumRefs(); ++i)
        if (ReferenceTarget* r = object.GetReference(i);
            r && !dynamic_cast<IParamBlock2*>(r) &&
            std::find(parameterSlots.begin(), parameterSlots.end(), i) == parameterSlots.end())
            parts.push_back(r);
    return parts;
}

std::filesystem::path baseDirOf(const std::string& documentPath)
{
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(documentPath, ec);
    return ec ? std::filesystem::path() : absolute.parent_path();
}

}  // namespace

DocumentEdits::DocumentEdits(Scene& scene) : scene_(scene)
{
    std::string text;
    if (!scene_.documentPath.empty()) {
        try {
            text = readSceneText(scene_.documentPath);
        } catch (const SceneError&) {
        }
    }
    disk_ = text;
    take(std::move(text));
}

DocumentEdits::DocumentEdits(Scene& scene, std::string baseText, std::string diskText)
    : scene_(scene), disk_(std::move(diskText))
{
    take(std::move(baseText));
}

DocumentEdits::~DocumentEdits() { DeleteAllRefsFromMe(); }

ReferenceTarget* DocumentEdits::GetReference(int i)
{
    return i >= 0 && i < NumRefs() ? watched_[static_cast<std::size_t>(i)] : nullptr;
}

void DocumentEdits::SetReference(int i, ReferenceTarget* target)
{
    if (i < 0 || i >= NumRefs())
        return;
    if (!target && watched_[static_cast<std::size_t>(i)])
        deleted_ = true;  // only deletion empties a slot: nothing else writes them
    watched_[static_cast<std::size_t>(i)] = target;
}

std::vector<ReferenceTarget*> DocumentEdits::reachable()
{
    std::vector<ReferenceTarget*> order;
    std::unordered_set<ReferenceTarget*> seen;
    std::vector<ReferenceTarget*> todo;
    for (const auto& object : scene_.objects())
        todo.push_back(object.get());
    std::reverse(todo.begin(), todo.end());
    while (!todo.empty()) {
        ReferenceTarget* r = todo.back();
        todo.pop_back();
        if (!r || !seen.insert(r).second)
            continue;
        if (!dynamic_cast<IParamBlock2*>(r))
            order.push_back(r);
        for (int i = r->NumRefs() - 1; i >= 0; --i)
            todo.push_back(r->GetReference(i));
    }
    return order;
}

void DocumentEdits::take(std::string baseText)
{
    base_ = std::move(baseText);
    const ValueContext context{baseDirOf(scene_.documentPath), scene_.render.frameRate, &scene_.places()};
    for (ReferenceTarget* object : reachable()) {
        if (object->NumParamBlocks() == 0 && object->NumRefs() == 0)
            continue;
        Snapshot s;
        s.object = object;
        if (const std::string* place = scene_.places().find(object))
            s.place = *place;
        s.values = parameterValues(*object, context);
        s.parts = partsOf(*object);
        std::vector<ReferenceTarget*> watch = s.parts;
        watch.push_back(object);
        for (ReferenceTarget* w : watch) {
            watched_.push_back(nullptr);
            ReplaceReference(NumRefs() - 1, w);
        }
        snapshots_.push_back(std::move(s));
    }
}

std::string DocumentEdits::describe(ReferenceTarget& object, const std::string& place)
{
    std::string className;
    object.GetClassName(className);
    std::string name;
    if (auto* m = dynamic_cast<MtlBase*>(&object))
        name = m->GetName();
    std::string text = className.empty() ? std::string("an object") : className;
    if (!name.empty())
        text += fmt::format(" \"{}\"", name);
    if (!place.empty())
        text += fmt::format(" (at {})", place);
    return text;
}

std::vector<DocumentEdit> DocumentEdits::edits(std::string& problem)
{
    problem.clear();
    const ValueContext context{baseDirOf(scene_.documentPath), scene_.render.frameRate, &scene_.places()};
    std::vector<DocumentEdit> out;
    auto refuse = [&](std::string why) {
        problem = std::move(why);
        return std::vector<DocumentEdit>{};
    };
    if (deleted_)
        return refuse(
            "parts were removed (line elements): only changed values can be written to the document");
    for (const Snapshot& s : snapshots_) {
        if (partsOf(*s.object) != s.parts)
            return refuse(fmt::format("the parts of {} were added to or moved: only changed values can be "
                                      "written to the document",
                                      describe(*s.object, s.place)));
        const Json now = parameterValues(*s.object, context);
        for (auto it = now.begin(); it != now.end(); ++it) {
            const auto before = s.values.find(it.key());
            if (before != s.values.end() && *before == it.value())
                continue;
            if (s.place.empty())
                return refuse(
                    fmt::format("\"{}\" of {} changed, but a model file, a look or a lines file made "
                                "it, not the document",
                                it.key(), describe(*s.object, s.place)));
            if (holdsUnnamed(it.value()))
                return refuse(fmt::format("\"{}\" of {} now refers to an object the document has no name for",
                                          it.key(), describe(*s.object, s.place)));
            out.push_back({s.place + "/" + pointerToken(it.key()), it.value()});
        }
    }
    return out;
}

int DocumentEdits::save(std::string& problem)
{
    const std::string& path = scene_.documentPath;
    if (path.empty()) {
        problem = "the scene was not read from a scene document, so there is none to save to";
        return -1;
    }
    const std::vector<DocumentEdit> changes = edits(problem);
    if (!problem.empty())
        return -1;
    try {
        JsonTextPatch patch(base_, path);
        for (const DocumentEdit& e : changes)
            patch.set(e.pointer, e.value);
        if (patch.text() == disk_)
            return static_cast<int>(changes.size());
        if (readSceneText(path) != disk_) {
            problem = path + ": changed on disk since it was loaded; not overwriting it";
            return -1;
        }
        if (!replaceFileContents(path.c_str(), patch.text().data(), patch.text().size())) {
            problem = path + ": could not be written; it is left as it was";
            return -1;
        }
        disk_ = patch.text();
    } catch (const SceneError& e) {
        problem = e.what();
        return -1;
    }
    return static_cast<int>(changes.size());
}

}  // namespace standalone::document
