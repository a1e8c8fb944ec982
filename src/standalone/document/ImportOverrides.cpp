#include "standalone/document/ImportOverrides.h"

#include "host/Angles.h"
#include "host/Mtl.h"
#include "standalone/document/MaterialWrapping.h"
#include "standalone/document/NameList.h"
#include "standalone/document/ValueReaders.h"

#include <fmt/format.h>

#include <fnmatch.h>

#include <cmath>
#include <functional>
#include <map>
#include <set>

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

std::string importedLightNames(const ImportedModels& models)
{
    std::vector<std::string> names;
    for (const ImportResult& model : models.models())
        for (const SceneNode* light : model.lights)
            names.push_back(light->name());
    return names.empty() ? "(none)" : joinNames(names);
}

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

// The keys that change an imported light rather than its node.
constexpr std::string_view kLightKeys[] = {"on", "multiplier", "color", "castShadows", "shadowBias"};

void overrideLight(LightSettings& light, ObjectReader& r)
{
    light.on = r.boolean("on", light.on);
    light.multiplier = float(r.number("multiplier", light.multiplier, {-1.0e6, 1.0e6}));
    light.color = r.color("color", light.color);
    light.castShadows = r.boolean("castShadows", light.castShadows);
    if (r.get("shadowBias"))
        light.shadowBias = float(r.number("shadowBias", 0.0, {0.0, 1.0e6}));
}

template <class Read>
void forEachEntry(const Json& v, const JsonLocation& at, std::string_view what, Read read)
{
    if (!v.is_array())
        at.fail(fmt::format("expected an array of {}, got {}", what, describe(v)));
    for (std::size_t i = 0; i < v.size(); ++i)
        read(v[i], at / i);
}

// {"objects": [...], "material": ...} or {"objects": [...], "wrap": {...}}
void assign(const Json& entry, const JsonLocation& at, const ImportedModels& models, ClassObjects& classes)
{
    ObjectReader r(entry, at, "an assignment {\"objects\": [...], \"material\" or \"wrap\": ...}");
    const Json* objects = r.get("objects");
    const Json* material = r.get("material");
    const Json* wrap = r.get("wrap");
    r.finish();
    if (!objects)
        at.fail("missing \"objects\": the names or patterns of imported objects");
    if (material && wrap)
        r.at("wrap").fail("an assignment gives either \"material\" or \"wrap\", not both");
    if (!material && !wrap)
        at.fail("missing \"material\" (a material name or an inline material) or \"wrap\" (a material "
                "to wrap the objects' own in)");
    // Each mesh once, though patterns and groups may choose it several times: a wrap must not
    // wrap its own wrapper.
    std::vector<SceneNode*> meshes;
    std::set<SceneNode*> seen;
    auto choose = [&](const Json& name, const JsonLocation& nameAt) {
        for (SceneNode* node : matchNodes(readString(name, nameAt), nameAt, models))
            forSubtree(node, [&](SceneNode* n) {
                if (n->mesh() && models.isImported(n) && seen.insert(n).second)
                    meshes.push_back(n);
            });
    };
    if (objects->is_string())
        choose(*objects, r.at("objects"));
    else
        forEachEntry(*objects, r.at("objects"), "object names or patterns", choose);
    if (wrap) {
        MaterialWrapping(wrapperFrom(*wrap, r.at("wrap"), classes), r.at("wrap")).wrapNodes(meshes);
        return;
    }
    Mtl* mtl = material->is_null() ? nullptr : classes.material(*material, r.at("material"));
    for (SceneNode* node : meshes)
        node->setMtl(mtl);
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
    forEachEntry(
        v, at, "assignments {\"objects\": [...], ...}",
        [&](const Json& entry, const JsonLocation& entryAt) { assign(entry, entryAt, models, classes); });
}

void overrideImportedNodes(const Json& v, const JsonLocation& at, const ImportedModels& models,
                           const WarningHandler& warn)
{
    forEachEntry(v, at, "overrides {\"node\": ...}", [&](const Json& entry, const JsonLocation& entryAt) {
        ObjectReader r(entry, entryAt, "an override {\"node\": ...}");
        const std::string name = r.requiredString("node");
        const std::vector<SceneNode*> nodes = matchNodes(name, r.at("node"), models);
        std::string_view lightKey;
        for (std::string_view key : kLightKeys)
            if (lightKey.empty() && entry.contains(key))
                lightKey = key;
        bool anyLight = false;
        for (SceneNode* node : nodes) {
            overrideNode(node, r, models);
            if (node->light) {
                anyLight = true;
                overrideLight(*node->light, r);
                // A light shines whether or not its node is shown, as in the applications
                // these files come from; say how to switch it off.
                if (warn && (entry.contains("hidden") || entry.contains("renderable")))
                    warn(fmt::format("{}: {}: light \"{}\": \"hidden\" and \"renderable\" do not "
                                     "switch a light off; \"on\": false does",
                                     entryAt.file(), entryAt.pointer(), node->name()));
            }
        }
        if (!lightKey.empty() && !anyLight)
            r.at(lightKey).fail(fmt::format(
                "\"{}\" changes lights, and {} no imported light; the imported lights are: {}", lightKey,
                nodes.size() == 1 ? "\"" + nodes.front()->name() + "\" is" : "it matches",
                importedLightNames(models)));
        r.finish();
    });
}

}  // namespace standalone::document
