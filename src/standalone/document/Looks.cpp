#include "standalone/document/Looks.h"

#include "standalone/document/JsonText.h"
#include "standalone/document/NameList.h"
#include "standalone/document/ValueReaders.h"

#include <fmt/format.h>

namespace standalone::document {

namespace {

Look readLook(const LookFile& file)
{
    const std::string path = fmt::format("looks/{}.json", file.name);
    const Json doc = parseJsonText(file.text, path);
    const JsonLocation root(path);
    ObjectReader r(doc, root, "a look {\"description\": ..., \"canvas\": ..., \"material\": {...}}");
    Look look{std::string(file.name), r.requiredString("description"), Color(), Json::object(),
              root / "material"};
    if (look.description.find('\n') != std::string::npos)
        r.at("description").fail("expected a description on one line");
    const Json* canvas = r.get("canvas");
    if (!canvas)
        root.fail("missing \"canvas\": the colour of the ground under the strokes");
    look.canvas = readColor(*canvas, r.at("canvas"));
    const Json* material = r.get("material");
    r.finish();
    if (!material || !material->is_object())
        look.at.fail(fmt::format("expected an object of {} parameters, got {}", kLookClass,
                                 material ? describe(*material) : "nothing"));
    // The material a look dresses is made by whoever uses it: the look only sets its parameters.
    for (const char* reserved : {"class", "name", "subMaterials"})
        if (material->contains(reserved))
            (look.at / reserved)
                .fail(fmt::format("a look sets parameters only; \"{}\" is not one", reserved));
    look.material = *material;
    return look;
}

std::vector<Look> readLooks()
{
    std::vector<Look> all;
    for (const LookFile& file : lookFiles())
        all.push_back(readLook(file));
    return all;
}

}  // namespace

const std::vector<Look>& looks()
{
    static const std::vector<Look> all = readLooks();
    return all;
}

const Look* findLook(std::string_view name)
{
    for (const Look& look : looks())
        if (look.name == name)
            return &look;
    return nullptr;
}

std::string unknownLookMessage(std::string_view name)
{
    std::vector<std::string> names;
    for (const Look& look : looks())
        names.push_back(look.name);
    return unknownNameMessage("unknown look", name, names, "the looks are");
}

}  // namespace standalone::document
