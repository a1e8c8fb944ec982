#include "standalone/scanline/FrameScene.h"

#include "standalone/ScanlineLights.h"
#include "standalone/SceneNode.h"

#include <cmath>
#include <fmt/format.h>

namespace standalone::scanline {

namespace {

bool finite(const Point3& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }

void collectNodes(INode* node, std::vector<INode*>& out)
{
    if (!node)
        return;
    out.push_back(node);
    for (int i = 0; i < node->NumberOfChildren(); ++i)
        collectNodes(node->GetChildNode(i), out);
}

void addOccluders(const ScanlineInstance& inst, std::vector<BvhTriangle>& out)
{
    const auto& cv = inst.camVerts();
    for (const Face& f : inst.objectMesh().faces) {
        BvhTriangle tri{cv[f.v[0]], cv[f.v[1]], cv[f.v[2]], static_cast<std::uint32_t>(inst.nodeID)};
        if (finite(tri.a) && finite(tri.b) && finite(tri.c))
            out.push_back(tri);
    }
}

}  // namespace

FrameKey frameKey(INode* root, TimeValue t, const Matrix3& worldToCam, int width, int height)
{
    FrameKey key{t, width, height, worldToCam, {}};
    std::vector<INode*> nodes;
    collectNodes(root, nodes);
    for (INode* node : nodes) {
        auto* sn = dynamic_cast<SceneNode*>(node);
        if (!sn)
            continue;
        const void* object = sn->light ? static_cast<const void*>(&*sn->light) : sn->mesh();
        key.nodes.push_back({sn, sn->GetObjectTM(t), object, sn->GetMtl(), sn->Renderable() != FALSE,
                             sn->IsHidden() != FALSE});
    }
    return key;
}

void gatherFrameScene(INode* root, TimeValue t, const Matrix3& worldToCam, Mtl* defaultMtl, FrameScene& out)
{
    std::vector<INode*> nodes;
    collectNodes(root, nodes);

    struct PendingLight {
        const LightSettings* settings;
        Matrix3 lightToCam;
    };
    std::vector<PendingLight> pendingLights;
    for (INode* node : nodes) {
        auto* sn = dynamic_cast<SceneNode*>(node);
        if (!sn)
            continue;
        if (sn->light) {
            pendingLights.push_back({&*sn->light, sn->GetObjectTM(t) * worldToCam});
            continue;
        }
        const Mesh* mesh = sn->mesh();
        if (!mesh || mesh->faces.empty() || !sn->Renderable() || sn->IsHidden())
            continue;
        if (!mesh->isValid()) {
            out.warnings.push_back(
                fmt::format("node '{}': mesh has a face index outside its vertex, UV or normal arrays; "
                            "the node is not rendered",
                            sn->name()));
            continue;
        }
        Mtl* mtl = sn->GetMtl() ? sn->GetMtl() : defaultMtl;
        int id = static_cast<int>(out.instances.size());
        out.instances.push_back(std::make_unique<ScanlineInstance>(sn, *mesh, mtl, id, sn->GetObjectTM(t),
                                                                   worldToCam, out.lights));
    }

    bool anyShadows = false;
    for (const PendingLight& l : pendingLights)
        anyShadows = anyShadows || (l.settings->on && l.settings->castShadows);
    if (anyShadows) {
        std::vector<BvhTriangle> tris;
        for (const auto& inst : out.instances)
            addOccluders(*inst, tris);
        out.occluders.build(std::move(tris));
    }
    for (const PendingLight& l : pendingLights) {
        const TriangleBvh* shadows = l.settings->castShadows ? &out.occluders : nullptr;
        if (auto light = makeScanlineLight(*l.settings, l.lightToCam, shadows)) {
            out.lights.push_back(light.get());
            out.ownedLights.push_back(std::move(light));
        }
    }
}

}  // namespace standalone::scanline
