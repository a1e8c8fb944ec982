#pragma once
// `vermil lines`: line element files (.vme) and lines files (.vma) from the command line.
//
//   vermil lines save SCENE [--effect NAME] -o FILE.vma      a document's line effect, every element
//   vermil lines save SCENE [--effect NAME] --element N -o FILE.vme   one element (N from 0)
//   vermil lines show FILE                                   what a .vme or .vma file holds
//   vermil lines set-default SCENE [--effect NAME] --element N [--paint]
//                                                            the element's settings (or its paint
//                                                            settings) as those of new elements

#include <optional>
#include <string>

namespace standalone {
class StandaloneCore;
}

namespace app {

struct LinesOptions {
    std::string scenePath;  // save, set-default
    std::string effect;     // the line effect's name; empty: the document's first line effect
    std::optional<int> element;
    std::string output;  // save
    bool paint = false;  // set-default: the paint settings instead of the line settings
};

// Exit codes: 0 success, 1 failure (message on stderr).
int runLinesSave(const LinesOptions& options, standalone::StandaloneCore& core);
int runLinesShow(const std::string& path);
int runLinesSetDefault(const LinesOptions& options, standalone::StandaloneCore& core);

}  // namespace app
