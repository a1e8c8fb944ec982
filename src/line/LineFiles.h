#pragma once
// Saving and loading line settings as files: one element to or from an element file (.vme), the
// effect's whole list to or from a lines file (.vma). The layout is in LineFileFormat.h.
//
// A load reads and checks the whole file before it changes anything, so a failed load leaves the
// element or the effect as it was. A save writes a temporary file beside the target and renames it
// over the target only when every byte was written, so a failed save leaves the previous file as
// it was. Failures are told through the host's message box (caption "Vermil+", exclamation icon,
// OK button, the main window as parent): strings::lineFileReadFailed for a load,
// strings::lineFileWriteFailed for a save.
//
// Every operation first records its path as the initial file of its kind, whether or not it then
// succeeds. All of this runs on the host's main thread, from user actions.

#include "host/ParamTypes.h"
#include "host/RefMessages.h"
#include "line/LineFileFormat.h"

#include <functional>
#include <string>

class IParamBlock2;
class ReferenceTarget;

namespace vml {

class LineFxElement;
class LineFxManager;

inline constexpr char lineFilesCaption[] = "Vermil+";

// The element's settings at the host's current time, each record flagged against
// lineDefaultSettings. The element's type and name are not stored.
bool saveElementFile(LineFxElement& element, const std::string& path);

// Asks lineLoadMethodQuery first: a cancel loads nothing, shows nothing and answers false.
// Records the file holds replace the element's current ones at the current time; records an
// older, shorter file lacks keep them. With merge, a record flagged sameAsDefault keeps the
// element's value and a detection switch on in the element stays on (file OR element). Then the
// element is switched on, its "parameters" block reset except its name and type, the settings
// applied with only the switches its type accepts, and the effect's dependents notified. A file
// that is not a valid element file (a lines file included) changes nothing.
bool loadElementFile(LineFxElement& element, const std::string& path);

// Every element of the list at the current time, in list order. Fails for an element without a
// type (no file could hold it). Names are cut to 255 bytes at a character boundary.
bool saveLinesFile(LineFxManager& manager, const std::string& path);

// Appends one element per entry after the existing ones, each with the stored type and name, the
// file's records at time 0 (replace, lineOn included; lineLoadMerge is not consulted) and only the
// switches its type accepts; then selects the last element of the list.
bool loadLinesFile(LineFxManager& manager, const std::string& path);

// The load method of element files: false replaces, true merges. Initially false; it keeps the
// last method chosen.
bool& lineLoadMerge();

// The file the next element-file or lines-file dialog opens at. Initially the plug-in
// configuration directory followed by "*.vme" / "*.vma" (as far as it is known at the first use);
// then the path of the last operation of the kind.
std::string& elementFileInitialPath();
std::string& linesFileInitialPath();

// The question asked before every element-file load; the host's dialog plugs in here. Replace and
// Merge become lineLoadMerge's value. While empty (initially) the answer is lineLoadMerge as it
// stands.
enum class LineLoadMethod { Replace, Merge, Cancel };
std::function<LineLoadMethod()>& lineLoadMethodQuery();

// Runs the file operation a change message reports: a non-empty file name set into `load` or
// `save` of `block` (the element's lineLoad / lineSave, the effect's lineLoadAll / lineSaveAll)
// calls loadFile or saveFile with it. Any other change does nothing.
void runFileNameChange(IParamBlock2* block, ReferenceTarget* changed, RefMessage message, ParamID load,
                       ParamID save, const std::function<void(const std::string&)>& loadFile,
                       const std::function<void(const std::string&)>& saveFile);

}  // namespace vml
