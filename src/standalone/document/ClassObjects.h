#pragma once
// The document's class objects: named materials and maps (created on first use, so they may
// refer to each other in any order), inline objects, effects, render elements and plug-in
// renderers. Each is made by class name through the core's class directory, owned by the scene
// and configured by script name; materials and maps then load their files. A material name the
// document does not define may name an imported material.

#include "host/ClassID.h"
#include "standalone/Scene.h"
#include "standalone/StandaloneCore.h"
#include "standalone/document/ParameterSetter.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

class Mtl;
class MtlBase;
class Renderer;

namespace standalone::document {

enum class ClassFamily { material, map, effect, renderElement, renderer };

class ClassObjects final : public ReferenceResolver {
public:
    // warn is told of parameter values held to their ranges (the host's log without one).
    ClassObjects(Scene& scene, StandaloneCore& core, std::filesystem::path baseDir, int frameRate,
                 std::function<void(const std::string&)> warn = {});

    // A list of {"name", "class", parameters...}; names are unique within the list.
    void addNamed(ClassFamily family, const Json* list, const JsonLocation& at);
    // Creates the named objects nothing has asked for yet, in list order.
    void createNamed();
    // Materials a model file brought, found by name where "materials" has none of that name, or
    // from inside the document's material of that name (which then wraps the imported one rather
    // than itself). The first of a name wins.
    void addImportedMaterials(const std::vector<Mtl*>& materials);

    // A new object of the family from {"class": ..., parameters...} or a bare class name.
    ReferenceTarget* create(ClassFamily family, const Json& v, const JsonLocation& at);

    Mtl* material(const Json& v, const JsonLocation& at) override;
    // The material of that name in "materials" (made if nothing has asked for it yet), or nullptr.
    Mtl* namedMaterial(const std::string& name);
    Texmap* map(const Json& v, const JsonLocation& at) override;
    INode* node(const Json& v, const JsonLocation& at) override;

private:
    struct Named {
        std::string name;
        const Json* json;
        JsonLocation at;
        MtlBase* object = nullptr;
        bool building = false;
    };
    struct NamedList {
        std::vector<Named> entries;
        std::map<std::string, std::size_t, std::less<>> index;
    };

    MtlBase* named(ClassFamily family, const Json& v, const JsonLocation& at);
    Mtl* importedMaterial(const std::string& name) const;
    MtlBase* build(ClassFamily family, Named& entry);
    NamedList& list(ClassFamily family) { return family == ClassFamily::material ? materials_ : maps_; }
    void loadFiles(MtlBase& object, const std::string& className, const JsonLocation& at);
    // The reserved key "subMaterials": entry i (a material or null) becomes sub-material i.
    void setSubMaterials(Mtl& mtl, const std::string& className, const Json& v, const JsonLocation& at);

    Scene& scene_;
    StandaloneCore& core_;
    ParameterContext context_;
    NamedList materials_, maps_;
    std::vector<Mtl*> imported_;
    int depth_ = 0;  // nesting of objects being built, against runaway reference chains
};

}  // namespace standalone::document
