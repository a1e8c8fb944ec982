#pragma once
// The scene's nodes from a document: objects (primitives, groups and cameras), lights and the
// main camera, with their transforms. Nodes are created first; parents and materials, which may
// name things defined later, are resolved afterwards.

#include "standalone/Scene.h"
#include "standalone/document/ParameterSetter.h"
#include "standalone/document/ValueReaders.h"

#include <map>
#include <string>
#include <vector>

namespace standalone::document {

class NodeReader {
public:
    explicit NodeReader(Scene& scene) : scene_(scene) {}

    // The document's "camera": projection under "type", named "camera" unless it says otherwise.
    SceneNode* readMainCamera(const Json& v, const JsonLocation& at);
    void readObject(const Json& v, const JsonLocation& at);
    void readLight(const Json& v, const JsonLocation& at);

    // Attaches every node to its "parent"; fails on unknown names and cycles.
    void resolveParents();
    void assignMaterials(ReferenceResolver& refs);

    // The first camera among the objects, or nullptr.
    SceneNode* firstObjectCamera() const { return firstObjectCamera_; }

private:
    struct Pending {
        SceneNode* node;
        std::string parent;
        JsonLocation parentAt;
        const Json* material;
        JsonLocation materialAt;
    };

    SceneNode* addNode(ObjectReader& r);
    void readCamera(ObjectReader& r, SceneNode* node, std::string_view projectionKey);
    void finishNode(ObjectReader& r, SceneNode* node, bool hasMaterial);

    SceneNode* find(const std::string& name) const;

    Scene& scene_;
    std::map<std::string, SceneNode*, std::less<>> byName_;
    std::vector<Pending> pending_;
    SceneNode* firstObjectCamera_ = nullptr;
};

// Node transform from "position", "rotation" (degrees, about X then Y then Z) or "target"
// (aimable nodes: local -z toward it, +y up as near world +Z as possible), and "scale" (a number
// or [x, y, z]; scalable nodes only).
Matrix3 readTransform(ObjectReader& r, bool aimable, bool scalable);

// Rotation and translation that put a node at eye with its -z axis toward target and its +y
// axis toward world +Z (toward world +Y when looking straight up or down). eye != target.
Matrix3 lookAt(const Point3& eye, const Point3& target);

}  // namespace standalone::document
