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
    // frameRate: keyed transforms are given in frames. Nodes already in the scene (imported ones)
    // take part in the names: parents may name them, new nodes may not reuse their names.
    NodeReader(Scene& scene, int frameRate);

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
    int frameRate_;
    std::map<std::string, SceneNode*, std::less<>> byName_;
    std::vector<Pending> pending_;
    SceneNode* firstObjectCamera_ = nullptr;
};

}  // namespace standalone::document
