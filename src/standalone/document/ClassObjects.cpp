#include "standalone/document/ClassObjects.h"

#include "host/ClassDesc2.h"
#include "host/Mtl.h"
#include "host/Renderer.h"
#include "host/Texmap.h"
#include "standalone/document/Looks.h"
#include "standalone/document/NameList.h"
#include "standalone/document/PartLists.h"
#include "standalone/document/ValueReaders.h"

#include <fmt/format.h>

#include <optional>

namespace standalone::document {

namespace {

constexpr int kMaxNesting = 32;

struct FamilyInfo {
    ClassFamily family;
    SClass_ID superClass;
    const char* noun;    // "a material"
    const char* kind;    // "material"
    const char* plural;  // "materials"
};

constexpr FamilyInfo kFamilies[] = {
    {ClassFamily::material, MATERIAL_CLASS_ID, "a material", "material", "materials"},
    {ClassFamily::map, TEXMAP_CLASS_ID, "a map", "map", "maps"},
    {ClassFamily::effect, RENDER_EFFECT_CLASS_ID, "an effect", "effect", "effects"},
    {ClassFamily::renderElement, RENDER_ELEMENT_CLASS_ID, "a render element", "render element",
     "render elements"},
    {ClassFamily::renderer, RENDERER_CLASS_ID, "a renderer", "renderer", "renderers"},
};

const FamilyInfo& infoOf(ClassFamily family)
{
    for (const FamilyInfo& f : kFamilies)
        if (f.family == family)
            return f;
    return kFamilies[0];
}

const FamilyInfo* infoOf(SClass_ID superClass)
{
    for (const FamilyInfo& f : kFamilies)
        if (f.superClass == superClass)
            return &f;
    return nullptr;
}

// Whether the created object really is of the family its class claims.
bool isOfFamily(ReferenceTarget* object, ClassFamily family)
{
    switch (family) {
    case ClassFamily::material: return dynamic_cast<Mtl*>(object) != nullptr;
    case ClassFamily::map: return dynamic_cast<Texmap*>(object) != nullptr;
    case ClassFamily::effect: return dynamic_cast<Effect*>(object) != nullptr;
    case ClassFamily::renderElement: return dynamic_cast<IRenderElement*>(object) != nullptr;
    case ClassFamily::renderer: return dynamic_cast<Renderer*>(object) != nullptr;
    }
    return false;
}

}  // namespace

ClassObjects::ClassObjects(Scene& scene, StandaloneCore& core, std::filesystem::path baseDir, int frameRate,
                           std::function<void(const std::string&)> warn)
    : scene_(scene), core_(core), context_{*this,           std::move(baseDir), frameRate,
                                           &scene.places(), scene.root(),       std::move(warn)}
{}

void ClassObjects::addNamed(ClassFamily family, const Json* v, const JsonLocation& at)
{
    if (!v)
        return;
    const FamilyInfo& info = infoOf(family);
    if (!v->is_array())
        at.fail(fmt::format("expected an array of {}, got {}", info.plural, describe(*v)));
    NamedList& named = list(family);
    for (std::size_t i = 0; i < v->size(); ++i) {
        ObjectReader entry((*v)[i], at / i, info.noun);
        std::string name = entry.requiredString("name");
        if (auto it = named.index.find(name); it != named.index.end())
            entry.at("name").fail(fmt::format("a second {} named \"{}\" (the first is {})", info.kind, name,
                                              named.entries[it->second].at.pointer()));
        named.index.emplace(name, named.entries.size());
        named.entries.push_back({std::move(name), &(*v)[i], at / i});
    }
}

void ClassObjects::createNamed()
{
    for (ClassFamily family : {ClassFamily::map, ClassFamily::material})
        for (Named& entry : list(family).entries)
            if (!entry.object)
                build(family, entry);
}

ReferenceTarget* ClassObjects::create(ClassFamily family, const Json& v, const JsonLocation& at)
{
    const FamilyInfo& info = infoOf(family);
    // A bare class name stands for an object with default parameters.
    std::optional<ObjectReader> reader;
    std::string className;
    JsonLocation classAt = at;
    if (v.is_string()) {
        className = v.get<std::string>();
        if (className.empty())
            at.fail(fmt::format("expected the class name of {}", info.noun));
    } else {
        reader.emplace(v, at, std::string(info.noun) + " (a class name or {\"class\": ...})");
        className = reader->requiredString("class");
        classAt = reader->at("class");
    }
    ClassDesc2* desc = core_.findClass(className);
    if (!desc) {
        std::vector<std::string> ofFamily;
        for (const std::string& name : core_.classNames())
            if (ClassDesc2* d = core_.findClass(name); d && d->SuperClassID() == info.superClass)
                ofFamily.push_back(name);
        classAt.fail(unknownNameMessage("unknown class", className, ofFamily,
                                        fmt::format("the registered {} classes are", info.kind)));
    }
    if (desc->SuperClassID() != info.superClass) {
        const FamilyInfo* actual = infoOf(desc->SuperClassID());
        classAt.fail(fmt::format("class {} makes {}, not {}", className,
                                 actual ? actual->plural : "other objects", info.plural));
    }
    if (depth_ >= kMaxNesting)
        at.fail(fmt::format("materials and maps nest more than {} levels deep", kMaxNesting));
    struct Nesting {
        int& depth;
        explicit Nesting(int& d) : depth(++d) {}
        ~Nesting() { --depth; }
    } nesting(depth_);

    ReferenceTarget* object = scene_.ownTarget(desc->Create(FALSE));
    if (!object)
        classAt.fail("class " + className + " cannot be created");
    if (!isOfFamily(object, family))
        classAt.fail(fmt::format("class {} did not create {}", className, info.noun));

    // Objects keep the names their classes gave them unless the document names them.
    const std::string name = reader && family != ClassFamily::renderer ? reader->string("name", "") : "";
    auto* mtlBase = dynamic_cast<MtlBase*>(object);
    // Without the key a material keeps the channel its class gave it.
    if (reader && mtlBase && family == ClassFamily::material && reader->json().contains("gbufferId"))
        mtlBase->SetGBufferID(ULONG(reader->integer("gbufferId", 0, {0, 255})));
    if (!name.empty()) {
        if (mtlBase) {
            mtlBase->SetName(name);
        } else if (auto* element = dynamic_cast<IRenderElement*>(object)) {
            element->SetName(name);
            element->SetElementName(name.c_str());
        } else if (auto* fx = dynamic_cast<SpecialFX*>(object)) {
            fx->SetName(name);
        }
    }
    scene_.places().add(object, at.pointer());
    auto setKey = [&](const std::string& key, const Json& value, const JsonLocation& keyAt) {
        if (const PartListReader* parts = findPartList(className, key))
            (*parts)(*object, value, keyAt, context_);
        else
            setParameter(*object, className, key, value, keyAt, context_);
    };
    // A painterly material may wear a look: the look's parameters first, so the document's own keys
    // win over them, as in a wrap.
    if (reader && family == ClassFamily::material && reader->get("look")) {
        const std::string lookName = readString(*reader->get("look"), reader->at("look"));
        const Look* look = findLook(lookName);
        if (!look)
            reader->at("look").fail(unknownLookMessage(lookName));
        if (className != kLookClass)
            reader->at("look").fail(fmt::format("a look dresses a {}, not a {}", kLookClass, className));
        for (auto it = look->material.begin(); it != look->material.end(); ++it)
            setKey(it.key(), it.value(), look->at / it.key());
    }
    for (auto it = v.begin(); reader && it != v.end(); ++it) {
        const std::string& key = it.key();
        if (key == "class" || (key == "name" && family != ClassFamily::renderer) ||
            ((key == "gbufferId" || key == "look") && family == ClassFamily::material))
            continue;
        if (key == "subMaterials" && family == ClassFamily::material) {
            setSubMaterials(static_cast<Mtl&>(*object), className, it.value(), at / key);
            continue;
        }
        setKey(key, it.value(), at / key);
    }
    if (mtlBase)
        loadFiles(*mtlBase, className, at);
    return object;
}

void ClassObjects::setSubMaterials(Mtl& mtl, const std::string& className, const Json& v,
                                   const JsonLocation& at)
{
    if (!v.is_array())
        at.fail(
            "expected an array of sub-materials (names from \"materials\", inline materials or null), got " +
            describe(v));
    const int count = mtl.NumSubMtls();
    for (std::size_t i = 0; i < v.size(); ++i) {
        const JsonLocation entryAt = at / i;
        if (static_cast<int>(i) >= count)
            entryAt.fail(count == 0 ? fmt::format("class {} has no sub-materials", className)
                                    : fmt::format("class {} has only {} sub-material{}", className, count,
                                                  count == 1 ? "" : "s"));
        Mtl* sub = v[i].is_null() ? nullptr : material(v[i], entryAt);
        mtl.SetSubMtl(static_cast<int>(i), sub);
        if (mtl.GetSubMtl(static_cast<int>(i)) != sub)
            entryAt.fail(fmt::format("class {} did not take the material as sub-material {}", className, i));
    }
}

void ClassObjects::loadFiles(MtlBase& object, const std::string& className, const JsonLocation& at)
{
    // Maps report what went wrong through the core's message boxes; that is the error's text.
    const std::size_t before = core_.messages().size();
    if (object.LoadMapFiles(0))
        return;
    std::string details;
    for (std::size_t i = before; i < core_.messages().size(); ++i)
        details += (details.empty() ? "" : "; ") + core_.messages()[i].text;
    if (details.empty())
        details = fmt::format("{} {}could not load its files", className,
                              object.GetName().empty() ? "" : "\"" + object.GetName() + "\" ");
    at.fail(details);
}

MtlBase* ClassObjects::named(ClassFamily family, const Json& v, const JsonLocation& at)
{
    const FamilyInfo& info = infoOf(family);
    if (v.is_object())
        return dynamic_cast<MtlBase*>(create(family, v, at));
    if (!v.is_string())
        at.fail(fmt::format("expected {}: a name from \"{}\" or an object {{\"class\": ...}}, got {}",
                            info.noun, info.plural, describe(v)));
    const std::string& name = v.get_ref<const std::string&>();
    const bool material = family == ClassFamily::material;
    NamedList& entries = list(family);
    auto it = entries.index.find(name);
    if (it == entries.index.end()) {
        if (Mtl* m = material ? importedMaterial(name) : nullptr)
            return m;
        const ClassFamily other = material ? ClassFamily::map : ClassFamily::material;
        if (list(other).index.count(name) || (!material && importedMaterial(name)))
            at.fail(fmt::format("\"{}\" is {}, not {}", name, infoOf(other).noun, info.noun));
        std::vector<std::string> names;
        for (const Named& e : entries.entries)
            names.push_back(e.name);
        const bool withImported = material && !imported_.empty();
        if (withImported)
            for (Mtl* m : imported_)
                names.push_back(m->GetName());
        at.fail(unknownNameMessage(fmt::format("no {} named", info.kind), name, names,
                                   withImported ? "the document's and imported materials are"
                                                : fmt::format("the {} are", info.plural)));
    }
    Named& entry = entries.entries[it->second];
    if (entry.object)
        return entry.object;
    if (entry.building) {
        // From inside its own definition a name means the imported material it replaces.
        if (Mtl* m = material ? importedMaterial(name) : nullptr)
            return m;
        at.fail(fmt::format("{} \"{}\" refers back to itself (a reference cycle)", info.kind, name));
    }
    return build(family, entry);
}

MtlBase* ClassObjects::build(ClassFamily family, Named& entry)
{
    entry.building = true;
    entry.object = dynamic_cast<MtlBase*>(create(family, *entry.json, entry.at));
    entry.building = false;
    return entry.object;
}

Mtl* ClassObjects::material(const Json& v, const JsonLocation& at)
{
    return dynamic_cast<Mtl*>(named(ClassFamily::material, v, at));
}

Mtl* ClassObjects::namedMaterial(const std::string& name)
{
    auto it = materials_.index.find(name);
    if (it == materials_.index.end())
        return nullptr;
    Named& entry = materials_.entries[it->second];
    return dynamic_cast<Mtl*>(entry.object ? entry.object : build(ClassFamily::material, entry));
}

void ClassObjects::addImportedMaterials(const std::vector<Mtl*>& materials)
{
    for (Mtl* m : materials)
        if (m && !importedMaterial(m->GetName()))
            imported_.push_back(m);
}

Mtl* ClassObjects::importedMaterial(const std::string& name) const
{
    for (Mtl* m : imported_)
        if (m->GetName() == name)
            return m;
    return nullptr;
}

Texmap* ClassObjects::map(const Json& v, const JsonLocation& at)
{
    return dynamic_cast<Texmap*>(named(ClassFamily::map, v, at));
}

INode* ClassObjects::node(const Json& v, const JsonLocation& at)
{
    if (!v.is_string())
        at.fail("expected the name of an object, light or camera, got " + describe(v));
    const std::string& name = v.get_ref<const std::string&>();
    if (SceneNode* node = scene_.findNode(name))
        return node;
    std::vector<std::string> names;
    for (const auto& node : scene_.nodes())
        names.push_back(node->name());
    at.fail(unknownNameMessage("no object, light or camera named", name, names, "the scene has"));
}

}  // namespace standalone::document
