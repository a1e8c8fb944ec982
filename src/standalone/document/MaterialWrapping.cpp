#include "standalone/document/MaterialWrapping.h"

#include "host/Mtl.h"
#include "standalone/document/ValueReaders.h"

#include <fmt/format.h>

#include <typeinfo>
#include <utility>

namespace standalone::document {

namespace {

Mtl* createMaterial(ClassObjects& classes, const Json& object, const JsonLocation& at)
{
    return dynamic_cast<Mtl*>(classes.create(ClassFamily::material, object, at));
}

// A material object of the look's class with the look's parameters.
Json lookObject(const Look& look)
{
    Json object = Json::object();
    object["class"] = kLookClass;
    for (auto it = look.material.begin(); it != look.material.end(); ++it)
        object[it.key()] = it.value();
    return object;
}

}  // namespace

MaterialWrapping::MaterialWrapping(MakeWrapper make, JsonLocation at)
    : make_(std::move(make)), at_(std::move(at))
{
    spare_ = newWrapper();
}

Mtl* MaterialWrapping::newWrapper()
{
    if (Mtl* spare = std::exchange(spare_, nullptr))
        return spare;
    Mtl* wrapper = make_();
    if (wrapper->NumSubMtls() < 1)
        at_.fail("the wrapping material has no sub-material to take the wrapped one");
    return wrapper;
}

Mtl* MaterialWrapping::wrap(Mtl* material)
{
    if (made_.count(material))
        return material;
    if (auto it = wrappers_.find(material); it != wrappers_.end())
        return it->second;
    Mtl* wrapper = newWrapper();
    if (material) {
        Mtl* base = typeid(*material) == typeid(*wrapper) ? material->GetSubMtl(0) : material;
        wrapper->SetSubMtl(0, base);
        if (wrapper->GetSubMtl(0) != base)
            at_.fail(
                fmt::format("the wrapping material did not take \"{}\" as its base", material->GetName()));
        wrapper->SetName(material->GetName());
    }
    wrappers_.emplace(material, wrapper);
    made_.insert(wrapper);
    return wrapper;
}

void MaterialWrapping::wrapNodes(const std::vector<SceneNode*>& nodes)
{
    for (SceneNode* node : nodes)
        if (node->mesh())
            node->setMtl(wrap(node->GetMtl()));
}

MaterialWrapping::MakeWrapper wrapperFrom(const Json& v, const JsonLocation& at, ClassObjects& classes)
{
    ObjectReader r(v, at, "a wrapping material {\"look\": ..., \"class\": ..., <parameters>}");
    const std::string className = r.get("class") ? r.requiredString("class") : std::string(kLookClass);
    Json object = Json::object();
    object["class"] = className;
    if (const Json* lookName = r.get("look")) {
        const std::string name = readString(*lookName, r.at("look"));
        const Look* look = findLook(name);
        if (!look)
            r.at("look").fail(unknownLookMessage(name));
        if (className != kLookClass)
            r.at("class").fail(fmt::format("a look dresses a {}, not a {}", kLookClass, className));
        object = lookObject(*look);
    }
    for (auto it = v.begin(); it != v.end(); ++it) {
        const std::string& key = it.key();
        if (key == "name" || key == "subMaterials")
            (at / key).fail(fmt::format("a wrap makes one material per wrapped material and puts that in "
                                        "sub-material 0; it takes no \"{}\"",
                                        key));
        if (key != "look" && key != "class")
            object[key] = it.value();
    }
    return [object, at, &classes] { return createMaterial(classes, object, at); };
}

MaterialWrapping::MakeWrapper wrapperFrom(const Look& look, ClassObjects& classes)
{
    // Messages about the look's keys point into its file.
    return [object = lookObject(look), &look, &classes] { return createMaterial(classes, object, look.at); };
}

}  // namespace standalone::document
