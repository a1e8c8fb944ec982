// Line element files (.vme) and lines files (.vma), through the loads the rollouts run. A load
// succeeds exactly when the bytes parse as a file of its kind; a refused load changes nothing; a
// loaded lines file saves again and the saved file reads back with the same elements.

#include "FuzzHost.h"

#include "line/LineElementType.h"
#include "line/LineFileFormat.h"
#include "line/LineFiles.h"
#include "line/LineFxElement.h"
#include "line/LineFxManager.h"
#include "plugin/EntryPoints.h"

#include <memory>
#include <span>

namespace {

using fuzz::fail;

struct OwnedEffect {
    vml::LineFxManager* manager = nullptr;
    ~OwnedEffect()
    {
        if (manager)
            manager->DeleteThis();
    }
};

// The line effect as the host makes it, through the library's class descriptor.
vml::LineFxManager* makeEffect()
{
    for (int i = 0; i < LibNumberClasses(); ++i) {
        ClassDesc2* desc = LibClassDesc(i);
        if (desc && desc->ClassID() == vml::lineFxManagerClassId)
            return dynamic_cast<vml::LineFxManager*>(desc->Create(FALSE));
    }
    return nullptr;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::host();
    const std::span<const std::uint8_t> bytes(data, size);
    const std::string path = fuzz::writeScratchFile("line.file", bytes);
    std::string reason;
    const std::optional<vml::LineFileContents> parsed = vml::parseLineFile(bytes, reason);
    if (!parsed && reason.empty())
        fail("a refused file without a reason");

    OwnedEffect effect{makeEffect()};
    if (!effect.manager)
        fail("no line effect");
    vml::LineFxElement* element = effect.manager->addElement(vml::Outline);
    if (!element)
        fail("no line element");

    const bool elementLoaded = vml::loadElementFile(*element, path);
    if (elementLoaded != (parsed && !parsed->linesFile))
        fail(elementLoaded ? "an element load took what does not parse as an element file"
                           : "an element load refused an element file: " + reason);

    const int before = effect.manager->elementCount();
    const bool linesLoaded = vml::loadLinesFile(*effect.manager, path);
    if (linesLoaded != (parsed && parsed->linesFile))
        fail(linesLoaded ? "a lines load took what does not parse as a lines file"
                         : "a lines load refused a lines file: " + reason);
    const int added = effect.manager->elementCount() - before;
    if (!linesLoaded) {
        if (added != 0)
            fail("a refused lines load left elements behind");
        return 0;
    }
    if (added != static_cast<int>(parsed->elements.size()))
        fail("a lines load added another number of elements than the file holds");

    const std::string again = fuzz::scratchDir() + "saved.vma";
    if (!vml::saveLinesFile(*effect.manager, again))
        fail("a loaded lines file does not save");
    const std::optional<vml::LineFileContents> saved = vml::readLineFile(again, reason);
    if (!saved || static_cast<int>(saved->elements.size()) != effect.manager->elementCount())
        fail("a saved lines file does not read back whole: " + reason);
    for (int k = 0; k < added; ++k) {
        const vml::LineFileElement& was = parsed->elements[static_cast<std::size_t>(k)];
        const vml::LineFileElement& is = saved->elements[static_cast<std::size_t>(before + k)];
        if (was.type != is.type || was.name != is.name)
            fail("element " + std::to_string(k) + " changed its type or name through a save");
    }
    return 0;
}
