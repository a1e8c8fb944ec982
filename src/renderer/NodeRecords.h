#pragma once
// One record per render instance of the frame, kept from frame to frame within an open: motion
// detection (stillCount) and the face-size normalisation of painterly objects. Updated at the
// pre-frame hook of pass 0; the face queries read the instances of that frame's context and are
// valid until endFrame.

#include "host/MaxTypes.h"
#include "host/Point3.h"
#include "renderer/PainterlyMaterialProbe.h"
#include "renderer/SceneFaces.h"

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

class Mtl;
class RenderGlobalContext;
class RenderInstance;

namespace vml {

class ArenaHooks;

struct NodeRecord {
    std::uint32_t stillCount = 0;  // frames in a row without motion
    float minFaceSize = 0.0f;      // smallest twice-area of the instance's faces
    float faceSizeScale = 0.0f;    // 2 / (largest - smallest), 0 when they are equal
    int savedVertexCount = -1;
    std::unique_ptr<Point3[]> savedVertices;  // camera space, savedVertexCount entries
    bool fresh = true;                        // no positions compared yet
};

static_assert(sizeof(NodeRecord) == 32);

class NodeRecords : public SceneFaces {
public:
    // A vertex moved when a coordinate changed by more than this x the bounding radius.
    static constexpr float motionTolerance = 0.0001f;
    // The smallest face size starts from this x the bounding radius.
    static constexpr float minFaceSizeStart = 100.0f;
    // Material trees deeper than this are not walked further (guards against cycles).
    static constexpr int maxMaterialDepth = 32;

    explicit NodeRecords(ArenaHooks* hooks = nullptr) : hooks_(hooks) {}

    void setHooks(ArenaHooks* hooks) { hooks_ = hooks; }
    // Non-owning; null restores the installed probe (see PainterlyMaterialProbe.h).
    void setMaterialProbe(const PainterlyMaterialProbe* probe);

    // Pre-frame hook of pass 0. Resizes the table to the context's instance count (a change
    // makes every record new), marks instances through their material trees, runs motion
    // detection (not in the material editor) and face sizes. False when a vertex array cannot
    // be allocated (out of memory reported; that record becomes fresh again).
    bool update(RenderGlobalContext& gc);
    // Forgets the frame's context (the records stay).
    void endFrame();
    // Frees every record (at Close).
    void release();

    int instanceCount() const { return static_cast<int>(records_.size()); }
    const NodeRecord& record(int instance) const { return records_[static_cast<std::size_t>(instance)]; }
    // Instance index of a host node id in the current frame, or -1.
    int instanceOfNode(int nodeId) const;
    // stillCount of the node's record; 0 for an unknown node.
    std::uint32_t stillCountOfNode(int nodeId) const;

    // (twice the face's camera-space area - minFaceSize) x faceSizeScale - 1: -1 for the smallest
    // face, +1 for the largest. 0 for an instance or face out of range or outside a frame.
    float faceSizeFactor(int instance, int face) const;
    // Whether two faces of the instance's mesh share a vertex index; false when out of range.
    bool facesShareVertex(int instance, int faceA, int faceB) const;

    bool nodeFacesShareVertex(int nodeId, int faceA, int faceB) const override;
    bool nodeFaceCameraVertices(int nodeId, int face, Point3 (&corners)[3]) const override;

private:
    struct Marks {
        bool faceSizes = false;
        bool motion = false;
    };
    void markMaterial(Mtl* mtl, TimeValue t, Marks& marks, int depth) const;
    bool detectMotion(RenderInstance& inst, NodeRecord& rec);
    void measureFaces(RenderInstance& inst, NodeRecord& rec) const;
    RenderInstance* instance(int index) const;

    ArenaHooks* hooks_ = nullptr;
    const PainterlyMaterialProbe* probe_ = nullptr;
    RenderGlobalContext* gc_ = nullptr;
    std::vector<NodeRecord> records_;
    std::unordered_map<int, int> instanceOfNode_;
};

}  // namespace vml
