#pragma once
// A scene of the standalone host: the node tree, the objects it owns (materials, maps, effects,
// render elements, plug-in objects), the environment and the render settings.

#include "host/Color.h"
#include "host/Effect.h"
#include "host/RenderElement.h"
#include "standalone/SceneNode.h"
#include "standalone/document/DocumentPlaces.h"

#include <memory>
#include <string>
#include <vector>

class Mtl;
class Renderer;
class Texmap;

namespace standalone {

struct RenderSettings {
    int width = 640;
    int height = 480;
    bool antialias = true;
    // Class name of the renderer: "scanline" for the host's own, or a plug-in renderer's class name.
    std::string renderer = "scanline";
    std::string output;  // image path, relative paths already resolved; empty: the CLI decides
    int frameRate = 30;
    int startFrame = 0, endFrame = 0;
};

struct Environment {
    Color background{0.0f, 0.0f, 0.0f};
    float backgroundAlpha = 1.0f;        // 0: transparent background in the output image
    Color ambient{0.05f, 0.05f, 0.05f};  // global ambient light
    Texmap* map = nullptr;               // environment map (owned by the scene), or nullptr
};

// Where the camera rendered from came from.
enum class CameraSource {
    document,  // the document's camera, or one it names
    imported,  // a camera of an imported model file
    framing,   // none in the scene: a camera added to frame everything (see ModelFraming.h)
};

class Scene {
public:
    Scene();
    ~Scene();
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    SceneNode* root() { return root_.get(); }
    // A new node under parent (root when null), owned by the scene.
    SceneNode* addNode(std::string name, SceneNode* parent = nullptr);
    SceneNode* findNode(const std::string& name);
    const std::vector<std::unique_ptr<SceneNode>>& nodes() const { return nodes_; }

    // Objects the scene owns: materials, maps, plug-in objects, effects, render elements.
    template <class T> T* own(std::unique_ptr<T> object)
    {
        T* raw = object.get();
        objects_.emplace_back(std::move(object));
        return raw;
    }
    ReferenceTarget* ownTarget(ReferenceTarget* object);  // takes ownership of a heap object
    // The objects the scene owns, in the order it took them.
    const std::vector<std::unique_ptr<ReferenceTarget>>& objects() const { return objects_; }
    // Where the objects made from the scene document sit in it.
    document::DocumentPlaces& places() { return places_; }

    std::string documentPath;  // the scene document read; empty for a model file on its own

    SceneNode* camera = nullptr;  // the camera node to render from
    CameraSource cameraSource = CameraSource::document;
    RenderSettings render;
    Environment environment;
    std::vector<Effect*> effects;                 // in application order
    std::vector<IRenderElement*> renderElements;  // in the order of the document
    // The plug-in renderer named by RenderSettings::renderer (owned by the scene), or nullptr
    // for the host's own scanline renderer.
    Renderer* renderer = nullptr;

private:
    std::unique_ptr<SceneNode> root_;
    std::vector<std::unique_ptr<SceneNode>> nodes_;
    std::vector<std::unique_ptr<ReferenceTarget>> objects_;
    document::DocumentPlaces places_;  // after objects_: gone before what it refers to
};

}  // namespace standalone
