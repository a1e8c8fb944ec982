#include "line/LineFiles.h"

#include "host/FileReplace.h"
#include "host/IParamBlock2.h"
#include "host/Interface.h"
#include "line/LineDefaultSettings.h"
#include "line/LineElementType.h"
#include "line/LineFxElement.h"
#include "line/LineFxManager.h"
#include "line/LineFxParamBlocks.h"
#include "resources/StringIds.h"
#include "shell/SettingsLocations.h"
#include "shell/StringLookup.h"

#include <algorithm>
#include <new>
#include <vector>

namespace vml {

namespace {

TimeValue currentTime()
{
    Interface* core = GetCOREInterface();
    return core ? core->GetTime() : 0;
}

void showFailure(int id)
{
    Interface* core = GetCOREInterface();
    if (!core)
        return;
    // Copied at once: the lookup's buffer is shared.
    const char* found = getString(id);
    const std::string text = found ? found : "";
    MessageBox(core->GetMainWindow(), text.c_str(), lineFilesCaption, MB_OK | MB_ICONEXCLAMATION);
}

LineLoadMethod askLoadMethod()
{
    const std::function<LineLoadMethod()>& query = lineLoadMethodQuery();
    if (query)
        return query();
    return lineLoadMerge() ? LineLoadMethod::Merge : LineLoadMethod::Replace;
}

bool writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    return replaceFileContents(path.c_str(), bytes.data(), bytes.size());
}

std::string nameOf(LineFxElement& e)
{
    const char* name = e.pblock() ? e.pblock()->GetStr(lineParam::lineName) : nullptr;
    return name ? name : "";
}

// The checked file over the element's settings at t. Nothing here can fail once the file is read.
void applyElementFile(LineFxElement& element, const LineFileElement& file, int records, bool merge,
                      TimeValue t)
{
    LineSettings s;
    element.readSettings(t, s);
    overlayLineRecords(s, file, records, merge);
    s.lineOn = 1;
    // A fresh block (no keys, no stale file names) under the same name, type and line map: the
    // file holds none of the three, and a settings load must not lose the user's map. The type is
    // set again as an existing one, so it adds no default switch.
    const std::string name = nameOf(element);
    ReferenceTarget* map = element.pblock()->GetReferenceTarget(lineParam::lineMap);
    element.pblock()->ResetAll();
    element.pblock()->SetValue(lineParam::lineName, 0, name);
    if (map)
        element.pblock()->SetValue(lineParam::lineMap, 0, map);
    element.setType(element.type());
    element.applySettings(t, s, true);
}

// The file's elements after the list's own. False when the file is refused or an element cannot be
// made; the elements added until then are the caller's to remove.
bool appendLinesFile(LineFxManager& manager, const std::string& path)
{
    std::string reason;
    const std::optional<LineFileContents> contents = readLineFile(path, reason);
    if (!contents || !contents->linesFile)
        return false;
    for (const std::string& held : contents->heldValues)
        LogWarning(held.c_str());
    std::vector<LineFxElement*> added;
    added.reserve(contents->elements.size());
    for (const LineFileElement& entry : contents->elements) {
        LineFxElement* e = manager.addElement(entry.type, -1);
        if (!e || !e->pblock())
            return false;
        added.push_back(e);
    }
    for (std::size_t k = 0; k < added.size(); ++k) {
        const LineFileElement& entry = contents->elements[k];
        LineFxElement& e = *added[k];
        e.pblock()->SetValue(lineParam::lineName, 0, entry.name);
        LineSettings s;
        e.readSettings(0, s);
        overlayLineRecords(s, entry, contents->recordsPerBlock(), false);
        e.applySettings(0, s, true);
    }
    return true;
}

}  // namespace

bool& lineLoadMerge()
{
    static bool merge = false;
    return merge;
}

std::string& elementFileInitialPath()
{
    static std::string path = std::string(pluginConfigDir()) + "*.vme";
    return path;
}

std::string& linesFileInitialPath()
{
    static std::string path = std::string(pluginConfigDir()) + "*.vma";
    return path;
}

std::function<LineLoadMethod()>& lineLoadMethodQuery()
{
    static std::function<LineLoadMethod()> query;
    return query;
}

bool saveElementFile(LineFxElement& element, const std::string& path)
{
    elementFileInitialPath() = path;
    bool saved = false;
    try {
        LineSettings s;
        element.readSettings(currentTime(), s);
        saved = writeFile(path, elementFileContents(s, lineDefaultSettings()));
    } catch (const std::bad_alloc&) {
        saved = false;
    }
    if (!saved)
        showFailure(strings::lineFileWriteFailed);
    return saved;
}

bool loadElementFile(LineFxElement& element, const std::string& path)
{
    elementFileInitialPath() = path;
    const LineLoadMethod method = askLoadMethod();
    if (method == LineLoadMethod::Cancel)
        return false;
    lineLoadMerge() = method == LineLoadMethod::Merge;

    std::optional<LineFileContents> contents;
    try {
        std::string reason;
        contents = readLineFile(path, reason);
    } catch (const std::bad_alloc&) {
        contents.reset();
    }
    if (!contents || contents->linesFile || !element.pblock()) {
        showFailure(strings::lineFileReadFailed);
        return false;
    }
    for (const std::string& held : contents->heldValues)
        LogWarning(held.c_str());
    applyElementFile(element, contents->elements.front(), contents->recordsPerBlock(), lineLoadMerge(),
                     currentTime());
    if (LineFxManager* manager = element.manager())
        manager->NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
    return true;
}

bool saveLinesFile(LineFxManager& manager, const std::string& path)
{
    linesFileInitialPath() = path;
    bool saved = false;
    try {
        const TimeValue t = currentTime();
        std::vector<LineFileElement> entries;
        bool typed = true;
        for (int i = 0; i < manager.elementCount() && typed; ++i) {
            LineFxElement* e = manager.element(i);
            if (!e)
                continue;
            typed = isLineElementType(e->type());
            LineFileElement& entry = entries.emplace_back();
            entry.type = e->type();
            entry.name = nameOf(*e);
            e->readSettings(t, entry.settings);
        }
        saved = typed && writeFile(path, linesFileContents(entries, lineDefaultSettings()));
    } catch (const std::bad_alloc&) {
        saved = false;
    }
    if (!saved)
        showFailure(strings::lineFileWriteFailed);
    return saved;
}

bool loadLinesFile(LineFxManager& manager, const std::string& path)
{
    linesFileInitialPath() = path;
    const int before = manager.elementCount();
    bool loaded = false;
    try {
        loaded = appendLinesFile(manager, path);
    } catch (const std::bad_alloc&) {
        loaded = false;
    }
    if (!loaded) {
        // Whatever this load added goes again.
        while (manager.elementCount() > before)
            manager.removeElement(manager.elementCount() - 1);
        showFailure(strings::lineFileReadFailed);
        return false;
    }
    manager.setSelected(std::max(0, manager.elementCount() - 1));
    return true;
}

void runFileNameChange(IParamBlock2* block, ReferenceTarget* changed, RefMessage message, ParamID load,
                       ParamID save, const std::function<void(const std::string&)>& loadFile,
                       const std::function<void(const std::string&)>& saveFile)
{
    if (message != REFMSG_CHANGE || !block || changed != block)
        return;
    const ParamID id = block->LastNotifyParamID();
    if (id != load && id != save)
        return;
    const char* name = block->GetStr(id);
    if (!name || !*name)
        return;
    (id == load ? loadFile : saveFile)(name);
}

}  // namespace vml
