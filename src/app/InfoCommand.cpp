#include "app/InfoCommand.h"

#include "app/LineElementList.h"
#include "app/RenderCommand.h"
#include "app/RendererPassList.h"
#include "host/ClassDesc2.h"
#include "host/IParamBlock2.h"
#include "host/Mtl.h"
#include "host/Texmap.h"
#include "line/LineFxElement.h"
#include "line/LineFxManager.h"
#include "standalone/SceneDocument.h"
#include "standalone/StandaloneCore.h"
#include "standalone/images/ExrLayers.h"
#include "standalone/import/SceneOrModel.h"

#include <fmt/format.h>
#include <fmt/ranges.h>

#include <algorithm>
#include <set>
#include <vector>

namespace app {

namespace {

using standalone::SceneNode;

// The document's name for an object's class, as the class directory knows it.
std::string className(ReferenceTarget* object, standalone::StandaloneCore& core)
{
    if (!object)
        return "-";
    for (const std::string& name : core.classNames())
        if (ClassDesc2* d = core.findClass(name); d && d->ClassID() == object->ClassID())
            return name;
    std::string s;
    object->GetClassName(s);
    return s.empty() ? "?" : s;
}

const char* lightTypeName(standalone::LightType t)
{
    switch (t) {
    case standalone::LightType::omni: return "omni";
    case standalone::LightType::spot: return "spot";
    case standalone::LightType::directional: return "directional";
    case standalone::LightType::ambient: return "ambient";
    }
    return "?";
}

const char* cameraSourceText(standalone::CameraSource source)
{
    switch (source) {
    case standalone::CameraSource::document: return "the document's camera";
    case standalone::CameraSource::imported: return "a camera of the imported model";
    case standalone::CameraSource::framing: return "no camera in the scene: added to frame everything";
    }
    return "?";
}

struct KeyRange {
    TimeValue first = TIME_PosInfinity, last = TIME_NegInfinity;
    void add(TimeValue t) { first = std::min(first, t), last = std::max(last, t); }
    bool empty() const { return first > last; }
};

// Keys of every parameter block of a material or map and of its sub-maps and sub-materials.
void collectKeys(MtlBase* m, KeyRange& range, std::set<MtlBase*>& seen)
{
    if (!m || !seen.insert(m).second)
        return;
    for (int b = 0; b < m->NumParamBlocks(); ++b)
        if (IParamBlock2* block = m->GetParamBlock(b))
            for (int i = 0; i < block->NumParams(); ++i) {
                ParamID id = block->IndextoID(i);
                for (int k = 0; k < block->GetKeyCount(id); ++k)
                    range.add(block->GetKeyTime(id, k));
            }
    for (int i = 0; i < m->NumSubTexmaps(); ++i)
        collectKeys(m->GetSubTexmap(i), range, seen);
    if (auto* mtl = dynamic_cast<Mtl*>(m))
        for (int i = 0; i < mtl->NumSubMtls(); ++i)
            collectKeys(mtl->GetSubMtl(i), range, seen);
}

// A line effect's elements in drawing order: "  3 elements: outline, basicSet, normalAngle".
std::string effectParts(Effect* e)
{
    auto* line = dynamic_cast<vml::LineFxManager*>(e);
    if (!line)
        return "";
    std::vector<std::string> types;
    for (int i = 0; i < line->elementCount(); ++i) {
        const vml::LineFxElement* element = line->element(i);
        types.push_back(element ? lineElementTypeName(element->type()) : "-");
    }
    return fmt::format("  {} element{}{}{}", types.size(), types.size() == 1 ? "" : "s",
                       types.empty() ? "" : ": ", fmt::join(types, ", "));
}

// The scene, or null after saying why it could not be read.
std::unique_ptr<standalone::Scene> readScene(const std::string& scenePath, standalone::StandaloneCore& core)
{
    try {
        return standalone::loadSceneOrModel(scenePath, core);
    } catch (const std::exception& e) {
        fmt::print(stderr, "vermil: {}\n", e.what());
        return nullptr;
    }
}

}  // namespace

int runInfo(const std::string& scenePath, standalone::StandaloneCore& core)
{
    std::unique_ptr<standalone::Scene> scene = readScene(scenePath, core);
    if (!scene)
        return 1;
    const standalone::RenderSettings& r = scene->render;
    fmt::print("scene: {}\n", scenePath);
    fmt::print("render: {}x{}, antialias {}, renderer {}, output {}\n", r.width, r.height,
               r.antialias ? "on" : "off", r.renderer, r.output.empty() ? "(default)" : r.output);

    std::vector<SceneNode*> objects, lights, cameras;
    std::vector<Mtl*> materials;
    for (const auto& node : scene->nodes()) {
        if (node->camera)
            cameras.push_back(node.get());
        else if (node->light)
            lights.push_back(node.get());
        else
            objects.push_back(node.get());
        if (Mtl* m = node->GetMtl(); m && std::find(materials.begin(), materials.end(), m) == materials.end())
            materials.push_back(m);
    }

    fmt::print("objects ({}):\n", objects.size());
    for (SceneNode* n : objects) {
        const Mesh* mesh = n->mesh();
        Mtl* m = n->GetMtl();
        fmt::print("  {:<20} {:>7} faces  material {}{}{}\n", n->name(), mesh ? mesh->getNumFaces() : 0,
                   m ? m->GetName() : std::string("-"),
                   n->GetParentNode() && !n->GetParentNode()->IsRootNode()
                       ? fmt::format("  parent {}", n->GetParentNode()->GetName())
                       : "",
                   n->animation().empty() ? "" : "  animated");
    }
    fmt::print("materials ({}):\n", materials.size());
    for (Mtl* m : materials)
        fmt::print("  {:<20} {}\n", m->GetName().empty() ? "(inline)" : m->GetName(), className(m, core));
    fmt::print("lights ({}):\n", lights.size());
    for (SceneNode* n : lights) {
        const standalone::LightSettings& l = *n->light;
        fmt::print("  {:<20} {:<11} colour ({:.2f}, {:.2f}, {:.2f}) x{:g}{}{}\n", n->name(),
                   lightTypeName(l.type), l.color.r, l.color.g, l.color.b, l.multiplier,
                   l.castShadows ? "  shadows" : "", l.on ? "" : "  off");
    }
    fmt::print("cameras ({}):\n", cameras.size());
    for (SceneNode* n : cameras) {
        const standalone::CameraSettings& c = *n->camera;
        fmt::print("  {:<20} {}{}\n", n->name(),
                   c.orthographic ? fmt::format("orthographic, width {:g}", c.orthoWidth)
                                  : fmt::format("perspective, fov {:g}", c.fov),
                   n == scene->camera ? "  (rendered)" : "");
    }
    if (scene->camera)
        fmt::print("rendered from: {} ({})\n", scene->camera->name(), cameraSourceText(scene->cameraSource));
    std::vector<INode*> renderable;
    for (SceneNode* n : objects)
        if (n->mesh() && n->Renderable() && !n->IsHidden())
            renderable.push_back(n);
    const auto passes = passContents(scene->renderer, renderable);
    if (!passes.empty()) {
        fmt::print("passes (multipass on; each paints over the ones before):\n");
        for (std::size_t p = 0; p < passes.size(); ++p)
            if (p == 0 || !passes[p].empty())
                fmt::print("  pass {}{}: {}\n", p, p == 0 ? " (objects no pass lists)" : "",
                           passes[p].empty() ? std::string("-")
                                             : fmt::format("{}", fmt::join(passes[p], ", ")));
    }
    fmt::print("effects ({}):\n", scene->effects.size());
    for (Effect* e : scene->effects)
        fmt::print("  {:<20} {}{}\n", e && !e->GetName().empty() ? e->GetName() : "", className(e, core),
                   effectParts(e));
    fmt::print("render elements ({}):\n", scene->renderElements.size());
    for (IRenderElement* e : scene->renderElements)
        fmt::print("  {:<20} {}\n", e->ElementName() ? e->ElementName() : "", className(e, core));

    KeyRange keys;
    std::set<MtlBase*> seen;
    for (const auto& node : scene->nodes()) {
        if (!node->animation().empty()) {
            keys.add(node->animation().firstKey());
            keys.add(node->animation().lastKey());
        }
        collectKeys(node->GetMtl(), keys, seen);
    }
    const int fps = std::max(1, r.frameRate);
    fmt::print("frames: {}-{} at {} fps\n", r.startFrame, r.endFrame, fps);
    if (keys.empty())
        fmt::print("animation: none\n");
    else
        fmt::print("animation: keys from frame {:g} to {:g}\n", double(keys.first) * fps / TIME_TICKSPERSEC,
                   double(keys.last) * fps / TIME_TICKSPERSEC);
    return 0;
}

int runInfoLayers(const std::string& scenePath, standalone::StandaloneCore& core)
{
    std::unique_ptr<standalone::Scene> scene = readScene(scenePath, core);
    if (!scene)
        return 1;
    for (const standalone::ExrLayer& layer : standalone::exrLayers(renderElementNames(*scene)))
        fmt::print("{:<12} {:<6} {}\n", layer.name, layer.half ? "half" : "float",
                   fmt::join(layer.channels, " "));
    return 0;
}

}  // namespace app
