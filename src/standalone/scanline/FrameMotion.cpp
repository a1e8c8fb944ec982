#include "standalone/scanline/FrameMotion.h"

#include "host/Interface.h"
#include "standalone/SceneNode.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace standalone::scanline {

TimeValue previousFrameTime(TimeValue t)
{
    Interface* core = GetCOREInterface();
    int fps = core ? core->GetFrameRate() : 0;
    if (fps <= 0)
        fps = 30;
    auto ticks = static_cast<std::int64_t>(std::lround(static_cast<double>(TIME_TICKSPERSEC) / fps));
    auto previous = static_cast<std::int64_t>(t) - std::max<std::int64_t>(ticks, 1);
    return static_cast<TimeValue>(std::max<std::int64_t>(previous, std::numeric_limits<TimeValue>::min()));
}

std::vector<Point3> previousCamVerts(const ScanlineInstance& inst, const Mesh& previousMesh,
                                     const Matrix3& previousObjToCam)
{
    std::vector<Point3> out;
    const Mesh& mesh = inst.objectMesh();
    // Same vertices under the same transform: the camera-space positions are bit-identical, so
    // the velocity is exactly zero without computing it.
    if (previousObjToCam == inst.objToCam && &previousMesh == &mesh)
        return out;
    if (previousMesh.verts.size() != mesh.verts.size())
        return out;
    out.reserve(previousMesh.verts.size());
    for (const Point3& v : previousMesh.verts)
        out.push_back(previousObjToCam.PointTransform(v));
    return out;
}

void FrameMotion::build(const ScanlineView& view, const Matrix3& previousWorldToCam, TimeValue previousTime,
                        std::span<ScanlineInstance* const> instances)
{
    current_ = &view;
    previous_ = view;
    previous_.worldToCam = previousWorldToCam;
    previous_.camToWorld = Inverse(previousWorldToCam);
    instances_.assign(instances.begin(), instances.end());
    previousVerts_.assign(instances.size(), {});
    for (std::size_t i = 0; i < instances.size(); ++i) {
        ScanlineInstance& inst = *instances[i];
        INode* node = inst.GetINode();
        if (!node)
            continue;
        // Scene nodes hold one mesh for all times; other nodes keep the instance's.
        auto* sn = dynamic_cast<SceneNode*>(node);
        const Mesh* previousMesh = sn && sn->mesh() ? sn->mesh() : &inst.objectMesh();
        Matrix3 previousObjToCam = node->GetObjectTM(previousTime) * previousWorldToCam;
        previousVerts_[i] = previousCamVerts(inst, *previousMesh, previousObjToCam);
    }
}

Point2 FrameMotion::velocity(const ScreenPolygon& poly, const Point3& bary) const
{
    if (!current_ || poly.instance >= previousVerts_.size())
        return Point2();
    const std::vector<Point3>& before = previousVerts_[poly.instance];
    if (before.empty())
        return Point2();
    const Face& face = instances_[poly.instance]->objectMesh().faces[poly.face];
    Point3 was = before[face.v[0]] * bary.x + before[face.v[1]] * bary.y + before[face.v[2]] * bary.z;
    if (!(was.z <= -previous_.nearRange))
        return Point2();
    Point3 now = poly.tri[0] * bary.x + poly.tri[1] * bary.y + poly.tri[2] * bary.z;
    Point2 v = current_->toScreen(now) - previous_.toScreen(was);
    return std::isfinite(v.x) && std::isfinite(v.y) ? v : Point2();
}

}  // namespace standalone::scanline
