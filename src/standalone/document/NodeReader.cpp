#include "standalone/document/NodeReader.h"

#include "standalone/document/NameList.h"
#include "standalone/document/PrimitiveReader.h"
#include "standalone/document/TransformReader.h"

#include <fmt/format.h>

#include <map>
#include <numbers>

namespace standalone::document {

namespace {

// Transforms and node walks recurse along the parents, so a chain of parents as long as a large
// document allows would overflow the stack.
constexpr int kMaxNodeDepth = 1000;

constexpr ValueRange kPositive{0.0, 1.0e30, true};
constexpr ValueRange kNonNegative{0.0, 1.0e30};

const std::map<std::string, LightType, std::less<>> kLightTypes = {
    {"omni", LightType::omni},
    {"spot", LightType::spot},
    {"directional", LightType::directional},
    {"ambient", LightType::ambient},
};

}  // namespace

NodeReader::NodeReader(Scene& scene, int frameRate) : scene_(scene), frameRate_(frameRate)
{
    for (const auto& node : scene.nodes())
        byName_.emplace(node->name(), node.get());
}

SceneNode* NodeReader::find(const std::string& name) const
{
    auto it = byName_.find(name);
    return it == byName_.end() ? nullptr : it->second;
}

SceneNode* NodeReader::addNode(ObjectReader& r)
{
    const std::string name = r.requiredString("name");
    if (find(name))
        r.at("name").fail("a second node named \"" + name +
                          "\" (objects, lights, cameras and imported nodes share one set of names)");
    return byName_[name] = scene_.addNode(name);
}

void NodeReader::finishNode(ObjectReader& r, SceneNode* node, bool hasMaterial)
{
    Pending p{node, {}, r.at("parent"), nullptr, r.at("material")};
    if (const Json* parent = r.get("parent"))
        p.parent = readString(*parent, p.parentAt);
    if (hasMaterial)
        p.material = r.get("material");
    r.finish();
    if (!p.parent.empty() || p.material)
        pending_.push_back(std::move(p));
}

void NodeReader::readCamera(ObjectReader& r, SceneNode* node, std::string_view projectionKey)
{
    CameraSettings camera;
    const std::string projection = r.string(projectionKey, "perspective");
    if (projection != "perspective" && projection != "orthographic")
        r.at(projectionKey).fail("expected \"perspective\" or \"orthographic\", got \"" + projection + "\"");
    camera.orthographic = projection == "orthographic";
    camera.fov = float(r.number("fov", camera.fov, {0.0, 179.0, true}));
    camera.orthoWidth = float(r.number("width", camera.orthoWidth, kPositive));
    camera.nearClip = float(r.number("near", camera.nearClip, kPositive));
    camera.farClip = float(r.number("far", camera.farClip, kPositive));
    if (camera.farClip <= camera.nearClip)
        r.at(r.get("far") ? "far" : "near")
            .fail(fmt::format("\"far\" ({:g}) must be beyond \"near\" ({:g})", camera.farClip,
                              camera.nearClip));
    readNodeTransform(r, *node, true, false, frameRate_);
    node->camera = camera;
}

SceneNode* NodeReader::readMainCamera(const Json& v, const JsonLocation& at)
{
    ObjectReader r(v, at, "a camera");
    SceneNode* node = nullptr;
    if (r.get("name")) {
        node = addNode(r);
    } else {
        if (find("camera"))
            at.fail("a second node named \"camera\"; give this camera a \"name\"");
        node = byName_["camera"] = scene_.addNode("camera");
    }
    readCamera(r, node, "type");
    finishNode(r, node, false);
    return node;
}

void NodeReader::readObject(const Json& v, const JsonLocation& at)
{
    ObjectReader r(v, at, "an object");
    SceneNode* node = addNode(r);
    const std::string type = r.requiredString("type");
    if (type == "camera") {
        readCamera(r, node, "projection");
        if (!firstObjectCamera_)
            firstObjectCamera_ = node;
        finishNode(r, node, false);
        return;
    }
    if (type == "group") {
        node->setGroupHead(true);
        readNodeTransform(r, *node, false, true, frameRate_);
        finishNode(r, node, false);
        return;
    }
    std::shared_ptr<Mesh> mesh = readPrimitive(type, r);
    if (!mesh) {
        std::vector<std::string> valid = primitiveTypes();
        valid.insert(valid.end(), {"group", "camera"});
        r.at("type").fail(unknownNameMessage("unknown object type", type, valid, "the types are"));
    }
    node->setMesh(std::move(mesh));
    readNodeTransform(r, *node, false, true, frameRate_);
    node->setGBufferID(ULONG(r.integer("gbufferId", 0, {0, 65535})));
    node->setRenderable(r.boolean("renderable", true));
    node->setHidden(r.boolean("hidden", false));
    finishNode(r, node, true);
}

void NodeReader::readLight(const Json& v, const JsonLocation& at)
{
    ObjectReader r(v, at, "a light");
    SceneNode* node = addNode(r);
    LightSettings light;
    const std::string type = r.string("type", "omni");
    auto it = kLightTypes.find(type);
    if (it == kLightTypes.end())
        r.at("type").fail(unknownNameMessage("unknown light type", type,
                                             {"omni", "spot", "directional", "ambient"}, "the types are"));
    light.type = it->second;
    light.on = r.boolean("on", light.on);
    light.color = r.color("color", light.color);
    light.multiplier = float(r.number("multiplier", light.multiplier, {-1.0e6, 1.0e6}));
    light.castShadows = r.boolean("castShadows", light.castShadows);
    if (r.get("shadowBias"))
        light.shadowBias = float(r.number("shadowBias", 0.0, kNonNegative));
    light.hotspot = float(r.number("hotspot", light.hotspot, {0.0, 179.0, true}));
    light.falloff = float(r.number("falloff", light.falloff, {0.0, 179.0, true}));
    if (light.hotspot > light.falloff)
        r.at(r.get("hotspot") ? "hotspot" : "falloff")
            .fail(fmt::format("the hotspot ({:g}) must not be wider than the falloff ({:g})", light.hotspot,
                              light.falloff));
    light.decayStart = float(r.number("decayStart", light.decayStart, kNonNegative));
    light.affectDiffuse = r.boolean("affectDiffuse", light.affectDiffuse);
    light.affectSpecular = r.boolean("affectSpecular", light.affectSpecular);
    readNodeTransform(r, *node, true, false, frameRate_);
    node->light = light;
    finishNode(r, node, false);
}

void NodeReader::resolveParents()
{
    std::map<SceneNode*, std::pair<SceneNode*, const Pending*>> parentOf;
    for (const Pending& p : pending_) {
        if (p.parent.empty())
            continue;
        SceneNode* parent = find(p.parent);
        if (!parent) {
            std::vector<std::string> names;
            for (const auto& node : scene_.nodes())
                names.push_back(node->name());
            p.parentAt.fail(
                unknownNameMessage("no object, light or camera named", p.parent, names, "the scene has"));
        }
        if (parent == p.node)
            p.parentAt.fail("\"" + p.parent + "\" cannot be its own parent");
        parentOf[p.node] = {parent, &p};
    }
    // Walk up from every node; meeting a node of the current walk again closes a cycle.
    std::map<SceneNode*, int> state;  // 1: on the current walk, 2: known to reach the root
    std::map<SceneNode*, int> depth;  // of the nodes known to reach the root: parents above them
    for (const Pending& p : pending_) {
        std::vector<SceneNode*> walk;
        SceneNode* n = p.node;
        while (n && state[n] == 0) {
            state[n] = 1;
            walk.push_back(n);
            auto up = parentOf.find(n);
            n = up == parentOf.end() ? nullptr : up->second.first;
        }
        if (n && state[n] == 1) {
            std::string cycle = n->name();
            for (SceneNode* m = parentOf[n].first; m != n; m = parentOf[m].first)
                cycle += " -> " + m->name();
            parentOf[n].second->parentAt.fail("parent cycle: " + cycle + " -> " + n->name());
        }
        // The walk ended at a node whose depth is known, or at one without a link here (an
        // imported node keeps the parents it came with).
        int above = 0;
        if (n)
            above = depth[n] + 1;
        else if (!walk.empty())
            for (INode* up = walk.back()->GetParentNode(); up && above <= kMaxNodeDepth;
                 up = up->GetParentNode())
                ++above;
        for (auto m = walk.rbegin(); m != walk.rend(); ++m, ++above) {
            if (auto link = parentOf.find(*m); above > kMaxNodeDepth && link != parentOf.end())
                link->second.second->parentAt.fail(
                    fmt::format("objects nest more than {} levels deep below their parents", kMaxNodeDepth));
            depth[*m] = above;
            state[*m] = 2;
        }
    }
    for (const Pending& p : pending_)
        if (auto link = parentOf.find(p.node); link != parentOf.end())
            link->second.first->attachChild(p.node);
}

void NodeReader::assignMaterials(ReferenceResolver& refs)
{
    for (const Pending& p : pending_)
        if (p.material && !p.material->is_null())
            p.node->setMtl(refs.material(*p.material, p.materialAt));
}

}  // namespace standalone::document
