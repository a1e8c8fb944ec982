#pragma once
// What a frame renders, gathered from the node tree: a render instance per visible mesh node,
// the lights in camera space, and the shadow occluders.

#include "host/LightDesc.h"
#include "host/Matrix3.h"
#include "standalone/TriangleBvh.h"
#include "standalone/scanline/ScanlineInstance.h"

#include <memory>
#include <string>
#include <vector>

class INode;
class Mtl;

namespace standalone::scanline {

struct FrameScene {
    // Declared before the lights, which refer to it.
    TriangleBvh occluders;
    std::vector<std::unique_ptr<LightDesc>> ownedLights;
    std::vector<LightDesc*> lights;  // what instances and shade contexts hand out
    std::vector<std::unique_ptr<ScanlineInstance>> instances;
    // Nodes left out for bad data, each message naming the node and the problem.
    std::vector<std::string> warnings;
};

// Walks the tree under root depth first. Every renderable, unhidden node with a valid, non-empty
// mesh becomes an instance (nodeID = its index); nodes without a material get defaultMtl. Every
// node with a light becomes a light; the occluders (all instances' camera-space triangles) are
// built only when some light casts shadows.
void gatherFrameScene(INode* root, TimeValue t, const Matrix3& worldToCam, Mtl* defaultMtl, FrameScene& out);

// What a gathered frame depends on: the time, the image size, the camera and, per node, its
// place, object, material and render switches. Renders of one frame that agree on it (the passes
// of a multipass frame) can share the gathered instances.
struct FrameKey {
    struct NodeState {
        const INode* node = nullptr;
        Matrix3 objectToWorld;
        const void* object = nullptr;  // mesh or light settings
        const Mtl* mtl = nullptr;
        bool renderable = false, hidden = false;
        bool operator==(const NodeState&) const = default;
    };
    TimeValue time = 0;
    int width = 0, height = 0;
    Matrix3 worldToCam;
    std::vector<NodeState> nodes;
    bool operator==(const FrameKey&) const = default;
};
FrameKey frameKey(INode* root, TimeValue t, const Matrix3& worldToCam, int width, int height);

}  // namespace standalone::scanline
