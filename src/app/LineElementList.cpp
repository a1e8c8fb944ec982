#include "app/LineElementList.h"

#include "line/LineElementType.h"
#include "line/LineFiles.h"
#include "line/LineFxElement.h"
#include "line/LineFxManager.h"
#include "standalone/document/DocumentPlaces.h"
#include "standalone/document/NameList.h"
#include "standalone/document/PartLists.h"
#include "standalone/document/ValueReaders.h"

#include <fmt/format.h>

#include <iterator>
#include <utility>
#include <vector>

namespace app {

namespace {

using namespace standalone::document;

constexpr const char* kTypeNames[] = {"basicSet", "outline", "edgeBoundary", "normalAngle"};
static_assert(std::size(kTypeNames) == vml::lineElementTypeCount);

std::vector<std::string> typeNames() { return {std::begin(kTypeNames), std::end(kTypeNames)}; }

std::string typeChoices() { return fmt::format("{} (or 0 to 3)", joinNames(typeNames())); }

int readType(const Json& v, const JsonLocation& at)
{
    if (v.is_number())
        return readInt(v, at, {0, vml::lineElementTypeCount - 1});
    if (!v.is_string())
        at.fail(fmt::format("expected a line element type: {}, got {}", typeChoices(), describe(v)));
    const std::string& name = v.get_ref<const std::string&>();
    for (int t = 0; t < vml::lineElementTypeCount; ++t)
        if (name == kTypeNames[t])
            return t;
    at.fail(unknownNameMessage("unknown line element type", name, typeNames(), "the types are"));
}

// Checks that path holds a valid line file of the kind wanted (a lines file or an element
// file), failing at `at` with the file and the reason.
void checkLineFile(const std::string& path, bool linesFile, const JsonLocation& at)
{
    std::string reason;
    const auto contents = vml::readLineFile(path, reason);
    if (!contents)
        at.fail(fmt::format("{}: {}", path, reason));
    if (contents->linesFile != linesFile)
        at.fail(fmt::format("{}: a {} file, where a {} file (.{}) is expected", path,
                            contents->linesFile ? "lines" : "line element",
                            linesFile ? "lines" : "line element", linesFile ? "vma" : "vme"));
}

// "file" and "loadMethod": the element's settings from an element file, before its own keys.
void loadElementFileOf(vml::LineFxElement& element, const Json& v, const JsonLocation& at,
                       const ParameterContext& context)
{
    bool merge = false;
    if (const auto method = v.find("loadMethod"); method != v.end()) {
        const std::string m = readString(*method, at / "loadMethod");
        if (m != "replace" && m != "merge")
            (at / "loadMethod").fail(fmt::format("expected \"replace\" or \"merge\", got \"{}\"", m));
        merge = m == "merge";
    }
    const auto file = v.find("file");
    if (file == v.end()) {
        if (v.contains("loadMethod"))
            (at / "loadMethod").fail("a load method needs a \"file\" to load");
        return;
    }
    const std::string path = resolvePath(context.baseDir, readString(*file, at / "file"));
    checkLineFile(path, false, at / "file");
    // The load takes the method from the process-wide choice, as the rollout's does.
    const bool before = std::exchange(vml::lineLoadMerge(), merge);
    const bool loaded = vml::loadElementFile(element, path);
    vml::lineLoadMerge() = before;
    if (!loaded)
        (at / "file").fail(path + ": the line element file could not be loaded");
}

void readElement(vml::LineFxManager& manager, const Json& v, const JsonLocation& at,
                 const ParameterContext& context, int index)
{
    if (!v.is_object())
        at.fail(
            fmt::format("expected a line element {{\"type\": ..., <parameters>}} with a type of {}, got {}",
                        typeChoices(), describe(v)));
    const auto type = v.find("type");
    if (type == v.end())
        at.fail("a line element needs a \"type\": " + typeChoices());
    const int t = readType(*type, at / "type");
    vml::LineFxElement* element = manager.addElement(t, index);
    if (!element)
        at.fail(fmt::format("the line effect could not make a {} element", kTypeNames[t]));
    if (context.places)
        context.places->add(element, at.pointer());
    loadElementFileOf(*element, v, at, context);
    for (auto it = v.begin(); it != v.end(); ++it) {
        const std::string& key = it.key();
        if (key == "type" || key == "file" || key == "loadMethod")
            continue;
        // The type decides more than the stored number (its default switch and name).
        if (key == "elemID")
            (at / key).fail("the element's type is given by \"type\": " + typeChoices());
        setParameter(*element, "LineFxElement", key, it.value(), at / key, context);
    }
}

vml::LineFxManager& lineEffect(ReferenceTarget& object, const JsonLocation& at)
{
    auto* manager = dynamic_cast<vml::LineFxManager*>(&object);
    if (!manager)
        at.fail("this effect has no line elements");
    return *manager;
}

// A new effect has no elements. The listed ones go first, before those "elementsFile" brings,
// whichever of the two keys comes first.
void readElements(ReferenceTarget& object, const Json& v, const JsonLocation& at,
                  const ParameterContext& context)
{
    vml::LineFxManager& manager = lineEffect(object, at);
    if (!v.is_array())
        at.fail("expected an array of line elements, got " + describe(v));
    for (std::size_t i = 0; i < v.size(); ++i)
        readElement(manager, v[i], at / i, context, static_cast<int>(i));
}

// "elementsFile": the elements of a lines file, after the listed ones.
void readElementsFile(ReferenceTarget& object, const Json& v, const JsonLocation& at,
                      const ParameterContext& context)
{
    vml::LineFxManager& manager = lineEffect(object, at);
    const std::string path = resolvePath(context.baseDir, readString(v, at));
    checkLineFile(path, true, at);
    if (!vml::loadLinesFile(manager, path))
        at.fail(path + ": the lines file could not be loaded");
}

}  // namespace

const char* lineElementTypeName(int type) { return vml::isLineElementType(type) ? kTypeNames[type] : "?"; }

void registerLineElementList()
{
    registerPartList("LineFxManager", "elements", readElements);
    registerPartList("LineFxManager", "elementsFile", readElementsFile);
}

}  // namespace app
