#include "standalone/document/ImportOverrides.h"

#include "host/Mtl.h"
#include "standalone/document/NameList.h"
#include "standalone/document/ValueReaders.h"

#include <fmt/format.h>

#include <fnmatch.h>

#include <cmath>
#include <functional>
#include <map>
#include <numbers>

namespace standalone::document {

namespace {

bool isPattern(const std::string& s) { return s.find_first_of("*?[") != std::string::npos; }

// Calls f on node and every node below it.
void forSubtree(SceneNode* node, const std::function<void(SceneNode*)>& f)
{
    f(node);
    for (int i = 0; i < node->NumberOfChildren(); ++i)
        if (auto* child = dynamic_cast<SceneNode*>(node->GetChildNode(i)))
            forSubtree(child, f);
}

// The first imported material of that name, or nullptr.
Mtl* importedMaterial(const ImportedModels& models, const std::string& name)
{
    for (const ImportResult& model : models.models())
        for (Mtl* m : model.materials)
            if (m && m->GetName() == name)
                return m;
    return nullptr;
}

Mtl* resolveMaterial(const Json& v, const JsonLocation& at, const ImportedModels& models,
                     ClassObjects& classes)
{
    if (!v.is_string())
        return classes.material(v, at);
    const std::string& name = v.get_ref<const std::string&>();
    if (Mtl* m = classes.namedMaterial(name))
        return m;
    if (Mtl* imported = importedMaterial(models, name))
        return imported;
    std::vector<std::string> names = classes.materialNames();
    for (const ImportResult& model : models.models())
        for (Mtl* m : model.materials)
            if (m)
                names.push_back(m->GetName());
    at.fail(
        unknownNameMessage("no material named", name, names, "the document's and imported materials are"));
}

std::vector<SceneNode*> matchNodes(const std::string& pattern, const JsonLocation& at,
                                   const ImportedModels& models)
{
    std::vector<SceneNode*> matched;
    for (const ImportResult& model : models.models())
        for (SceneNode* node : model.nodes)
            if (node->name() == pattern)
                matched.push_back(node);
    if (matched.empty() && isPattern(pattern))
        for (const ImportResult& model : models.models())
            for (SceneNode* node : model.nodes)
                if (fnmatch(pattern.c_str(), node->name().c_str(), 0) == 0)
                    matched.push_back(node);
    if (matched.empty())
        at.fail(isPattern(pattern)
                    ? fmt::format("\"{}\" matches no imported object; the imported objects are: {}", pattern,
                                  joinNames(models.nodeNames()))
                    : unknownNameMessage("no imported object named", pattern, models.nodeNames(),
                                         "the imported objects are"));
    return matched;
}

float radians(float degrees) { return degrees * float(std::numbers::pi / 180.0); }

// A local transform as scale, rotation and translation; a mirror is kept as a negative x scale.
struct Parts {
    Point3 scale;
    Matrix3 rotation;
    Point3 translation;
};

Parts decompose(const Matrix3& m)
{
    Parts p;
    const float sign = DotProd(m.GetRow(0), CrossProd(m.GetRow(1), m.GetRow(2))) < 0.0f ? -1.0f : 1.0f;
    p.scale = Point3(m.GetRow(0).Length() * sign, m.GetRow(1).Length(), m.GetRow(2).Length());
    for (int i = 0; i < 3; ++i)
        p.rotation.SetRow(i, p.scale[i] != 0.0f ? m.GetRow(i) / p.scale[i] : Point3());
    p.translation = m.GetTrans();
    return p;
}

Matrix3 compose(const Parts& p)
{
    Matrix3 m = ScaleMatrix(p.scale) * p.rotation;
    m.SetTrans(p.translation);
    return m;
}

Point3 readScale(const Json& v, const JsonLocation& at)
{
    const Point3 s = v.is_number() ? Point3(1, 1, 1) * float(readNumber(v, at)) : readPoint3(v, at);
    if (s.x == 0.0f || s.y == 0.0f || s.z == 0.0f)
        at.fail("a scale must not be 0 along any axis");
    return s;
}

void overrideNode(SceneNode* node, ObjectReader& r, const ImportedModels& models)
{
    const ImportResult* model = models.modelOf(node);
    // The import root's own transform comes after the conversion to the world's axes.
    const Matrix3 basis = model && node == model->root ? model->rootBasis : Matrix3();
    Parts parts = decompose(Inverse(basis) * node->localTM());
    const std::optional<Point3> position = r.point("position");
    const std::optional<Point3> rotation = r.point("rotation");
    const Json* scale = r.get("scale");
    if (position)
        parts.translation = *position;
    if (rotation)
        parts.rotation = RotateXMatrix(radians(rotation->x)) * RotateYMatrix(radians(rotation->y)) *
                         RotateZMatrix(radians(rotation->z));
    if (scale)
        parts.scale = readScale(*scale, r.at("scale"));
    if (position || rotation || scale) {
        node->setLocalTM(basis * compose(parts));
        if (model)
            if (auto keys = model->animation.find(node); keys != model->animation.end())
                node->setAnimation(keys->second.animation(!position, !rotation, !scale));
    }
    if (r.get("hidden"))
        node->setHidden(r.boolean("hidden", false));
    if (r.get("renderable"))
        node->setRenderable(r.boolean("renderable", true));
}

template <class Read>
void forEachEntry(const Json& v, const JsonLocation& at, std::string_view what, Read read)
{
    if (!v.is_array())
        at.fail(fmt::format("expected an array of {}, got {}", what, describe(v)));
    for (std::size_t i = 0; i < v.size(); ++i)
        read(v[i], at / i);
}

}  // namespace

void replaceImportedMaterials(const ImportedModels& models, ClassObjects& classes)
{
    std::map<Mtl*, Mtl*> replacement;
    for (const ImportResult& model : models.models())
        for (Mtl* imported : model.materials)
            if (imported)
                if (Mtl* own = classes.namedMaterial(imported->GetName()))
                    replacement[imported] = own;
    if (replacement.empty())
        return;
    for (const ImportResult& model : models.models())
        for (SceneNode* node : model.nodes)
            if (auto it = replacement.find(node->GetMtl()); it != replacement.end())
                node->setMtl(it->second);
}

void assignImportedMaterials(const Json& v, const JsonLocation& at, const ImportedModels& models,
                             ClassObjects& classes)
{
    forEachEntry(v, at, "assignments {\"objects\": [...], \"material\": ...}",
                 [&](const Json& entry, const JsonLocation& entryAt) {
                     ObjectReader r(entry, entryAt, "an assignment {\"objects\": [...], \"material\": ...}");
                     const Json* objects = r.get("objects");
                     const Json* material = r.get("material");
                     r.finish();
                     if (!objects)
                         entryAt.fail("missing \"objects\": the names or patterns of imported objects");
                     if (!material)
                         entryAt.fail("missing \"material\": a material name or an inline material");
                     std::vector<SceneNode*> chosen;
                     const JsonLocation objectsAt = r.at("objects");
                     auto choose = [&](const Json& name, const JsonLocation& nameAt) {
                         const std::vector<SceneNode*> m =
                             matchNodes(readString(name, nameAt), nameAt, models);
                         chosen.insert(chosen.end(), m.begin(), m.end());
                     };
                     if (objects->is_string())
                         choose(*objects, objectsAt);
                     else
                         forEachEntry(*objects, objectsAt, "object names or patterns", choose);
                     Mtl* mtl = material->is_null()
                                    ? nullptr
                                    : resolveMaterial(*material, r.at("material"), models, classes);
                     for (SceneNode* node : chosen)
                         forSubtree(node, [&](SceneNode* n) {
                             if (n->mesh() && models.isImported(n))
                                 n->setMtl(mtl);
                         });
                 });
}

void overrideImportedNodes(const Json& v, const JsonLocation& at, const ImportedModels& models)
{
    forEachEntry(v, at, "overrides {\"node\": ...}", [&](const Json& entry, const JsonLocation& entryAt) {
        ObjectReader r(entry, entryAt, "an override {\"node\": ...}");
        const std::string name = r.requiredString("node");
        for (SceneNode* node : matchNodes(name, r.at("node"), models))
            overrideNode(node, r, models);
        r.finish();
    });
}

}  // namespace standalone::document
