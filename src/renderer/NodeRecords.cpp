#include "renderer/NodeRecords.h"

#include "host/Mesh.h"
#include "host/Mtl.h"
#include "host/RenderGlobalContext.h"
#include "host/RenderInstance.h"
#include "renderer/ArenaHooks.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace vml {

namespace {

float twiceArea(const Point3& a, const Point3& b, const Point3& c) { return Length(CrossProd(b - a, c - a)); }

bool faceInRange(const Mesh& mesh, int face) { return face >= 0 && face < mesh.getNumFaces(); }

}  // namespace

void NodeRecords::setMaterialProbe(const PainterlyMaterialProbe* probe) { probe_ = probe; }

RenderInstance* NodeRecords::instance(int index) const
{
    if (!gc_ || index < 0 || index >= instanceCount() || index >= gc_->NumRenderInstances())
        return nullptr;
    return gc_->GetRenderInstance(index);
}

void NodeRecords::markMaterial(Mtl* mtl, TimeValue t, Marks& marks, int depth) const
{
    if (!mtl || depth > maxMaterialDepth)
        return;
    const PainterlyMaterialProbe& probe = probe_ ? *probe_ : installedPainterlyMaterialProbe();
    const bool painterly = probe.isPainterlyMaterial(mtl);
    if (painterly) {
        marks.faceSizes = true;
        const PainterlyMaterialProbe::BaseSwitches sw = probe.baseSwitches(mtl, t);
        if (sw.rndAuto && sw.rndMoveDetect)
            marks.motion = true;
    }
    // Multi-materials and the base material of a painterly material.
    if (painterly || mtl->IsMultiMtl()) {
        for (int i = 0; i < mtl->NumSubMtls(); ++i)
            markMaterial(mtl->GetSubMtl(i), t, marks, depth + 1);
    }
}

bool NodeRecords::detectMotion(RenderInstance& inst, NodeRecord& rec)
{
    const int n = inst.mesh->getNumVerts();
    const float tolerance = motionTolerance * inst.boundingRadius();
    bool moved = n != rec.savedVertexCount;
    if (!moved && !rec.fresh) {
        for (int i = 0; i < n && !moved; ++i) {
            const Point3 p = inst.GetCamVert(i);
            const Point3& s = rec.savedVertices[static_cast<std::size_t>(i)];
            moved = std::fabs(p.x - s.x) > tolerance || std::fabs(p.y - s.y) > tolerance ||
                    std::fabs(p.z - s.z) > tolerance;
        }
    }
    if (n != rec.savedVertexCount) {
        rec.savedVertices.reset(n > 0 ? new (std::nothrow) Point3[static_cast<std::size_t>(n)] : nullptr);
        if (n > 0 && !rec.savedVertices) {
            rec.savedVertexCount = -1;
            rec.fresh = true;
            if (hooks_)
                hooks_->outOfMemory();
            return false;
        }
        rec.savedVertexCount = n;
    }
    for (int i = 0; i < n; ++i)
        rec.savedVertices[static_cast<std::size_t>(i)] = inst.GetCamVert(i);
    if (!moved)
        ++rec.stillCount;
    rec.fresh = false;
    return true;
}

void NodeRecords::measureFaces(RenderInstance& inst, NodeRecord& rec) const
{
    const Mesh& mesh = *inst.mesh;
    float smallest = minFaceSizeStart * inst.boundingRadius();
    float largest = 0.0f;
    for (const Face& f : mesh.faces) {
        if (f.v[0] >= static_cast<DWORD>(mesh.getNumVerts()) ||
            f.v[1] >= static_cast<DWORD>(mesh.getNumVerts()) ||
            f.v[2] >= static_cast<DWORD>(mesh.getNumVerts()))
            continue;
        const float size =
            twiceArea(inst.GetCamVert(static_cast<int>(f.v[0])), inst.GetCamVert(static_cast<int>(f.v[1])),
                      inst.GetCamVert(static_cast<int>(f.v[2])));
        smallest = std::min(smallest, size);
        largest = std::max(largest, size);
    }
    rec.minFaceSize = smallest;
    rec.faceSizeScale = largest > smallest ? 2.0f / (largest - smallest) : 0.0f;
}

bool NodeRecords::update(RenderGlobalContext& gc)
{
    gc_ = &gc;
    const int count = std::max(gc.NumRenderInstances(), 0);
    bool ok = true;
    if (count != instanceCount()) {
        records_.clear();
        try {
            records_.resize(static_cast<std::size_t>(count));
        } catch (const std::bad_alloc&) {
            records_.clear();
            if (hooks_)
                hooks_->outOfMemory();
            ok = false;
        }
    }
    instanceOfNode_.clear();
    for (int i = 0; i < instanceCount(); ++i) {
        RenderInstance* inst = gc.GetRenderInstance(i);
        if (!inst)
            continue;
        instanceOfNode_.emplace(inst->nodeID, i);
        if (!inst->mesh)
            continue;
        Marks marks;
        markMaterial(inst->mtl, gc.time, marks, 0);
        NodeRecord& rec = records_[static_cast<std::size_t>(i)];
        if (marks.motion && !gc.inMtlEdit)
            ok = detectMotion(*inst, rec) && ok;
        if (marks.faceSizes)
            measureFaces(*inst, rec);
    }
    return ok;
}

void NodeRecords::endFrame()
{
    gc_ = nullptr;
    instanceOfNode_.clear();
}

void NodeRecords::release()
{
    endFrame();
    records_.clear();
    records_.shrink_to_fit();
}

int NodeRecords::instanceOfNode(int nodeId) const
{
    const auto it = instanceOfNode_.find(nodeId);
    return it == instanceOfNode_.end() ? -1 : it->second;
}

std::uint32_t NodeRecords::stillCountOfNode(int nodeId) const
{
    const int i = instanceOfNode(nodeId);
    return i < 0 ? 0 : record(i).stillCount;
}

float NodeRecords::faceSizeFactor(int instanceIndex, int face) const
{
    RenderInstance* inst = instance(instanceIndex);
    Point3 v[3];
    if (!inst || !inst->mesh || !faceInRange(*inst->mesh, face))
        return 0.0f;
    const Face& f = inst->mesh->faces[static_cast<std::size_t>(face)];
    for (int k = 0; k < 3; ++k) {
        if (f.v[k] >= static_cast<DWORD>(inst->mesh->getNumVerts()))
            return 0.0f;
        v[k] = inst->GetCamVert(static_cast<int>(f.v[k]));
    }
    const NodeRecord& rec = record(instanceIndex);
    return (twiceArea(v[0], v[1], v[2]) - rec.minFaceSize) * rec.faceSizeScale - 1.0f;
}

bool NodeRecords::facesShareVertex(int instanceIndex, int faceA, int faceB) const
{
    RenderInstance* inst = instance(instanceIndex);
    if (!inst || !inst->mesh || !faceInRange(*inst->mesh, faceA) || !faceInRange(*inst->mesh, faceB))
        return false;
    const Face& a = inst->mesh->faces[static_cast<std::size_t>(faceA)];
    const Face& b = inst->mesh->faces[static_cast<std::size_t>(faceB)];
    for (DWORD va : a.v)
        for (DWORD vb : b.v)
            if (va == vb)
                return true;
    return false;
}

bool NodeRecords::nodeFacesShareVertex(int nodeId, int faceA, int faceB) const
{
    return facesShareVertex(instanceOfNode(nodeId), faceA, faceB);
}

bool NodeRecords::nodeFaceCameraVertices(int nodeId, int face, Point3 (&corners)[3]) const
{
    RenderInstance* inst = instance(instanceOfNode(nodeId));
    if (!inst || !inst->mesh || !faceInRange(*inst->mesh, face))
        return false;
    const Face& f = inst->mesh->faces[static_cast<std::size_t>(face)];
    for (int k = 0; k < 3; ++k) {
        if (f.v[k] >= static_cast<DWORD>(inst->mesh->getNumVerts()))
            return false;
        corners[k] = inst->GetCamVert(static_cast<int>(f.v[k]));
    }
    return true;
}

}  // namespace vml
