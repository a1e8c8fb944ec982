#include "app/LineElementList.h"

#include "line/LineElementType.h"
#include "line/LineFxElement.h"
#include "line/LineFxManager.h"
#include "standalone/document/NameList.h"
#include "standalone/document/PartLists.h"
#include "standalone/document/ValueReaders.h"

#include <fmt/format.h>

#include <iterator>
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

void readElement(vml::LineFxManager& manager, const Json& v, const JsonLocation& at,
                 const ParameterContext& context)
{
    if (!v.is_object())
        at.fail(
            fmt::format("expected a line element {{\"type\": ..., <parameters>}} with a type of {}, got {}",
                        typeChoices(), describe(v)));
    const auto type = v.find("type");
    if (type == v.end())
        at.fail("a line element needs a \"type\": " + typeChoices());
    const int t = readType(*type, at / "type");
    vml::LineFxElement* element = manager.addElement(t);
    if (!element)
        at.fail(fmt::format("the line effect could not make a {} element", kTypeNames[t]));
    for (auto it = v.begin(); it != v.end(); ++it) {
        const std::string& key = it.key();
        if (key == "type")
            continue;
        // The type decides more than the stored number (its default switch and name).
        if (key == "elemID")
            (at / key).fail("the element's type is given by \"type\": " + typeChoices());
        setParameter(*element, "LineFxElement", key, it.value(), at / key, context);
    }
}

void readElements(ReferenceTarget& object, const Json& v, const JsonLocation& at,
                  const ParameterContext& context)
{
    auto* manager = dynamic_cast<vml::LineFxManager*>(&object);
    if (!manager)
        at.fail("this effect has no line elements");
    if (!v.is_array())
        at.fail("expected an array of line elements, got " + describe(v));
    // The document's list is the whole list.
    while (manager->elementCount() > 0)
        manager->removeElement(manager->elementCount() - 1);
    for (std::size_t i = 0; i < v.size(); ++i)
        readElement(*manager, v[i], at / i, context);
}

}  // namespace

const char* lineElementTypeName(int type) { return vml::isLineElementType(type) ? kTypeNames[type] : "?"; }

void registerLineElementList() { registerPartList("LineFxManager", "elements", readElements); }

}  // namespace app
