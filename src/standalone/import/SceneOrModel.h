#pragma once
// The scene behind a path given to the CLI: a scene document (.json) or any model file, which
// becomes a scene of its own: the model with default render settings (1280 x 720, antialiased,
// output left to the caller), rendered from the file's first camera or, without one, from a camera
// framing the whole model, and lit by the file's lights or, without any, by a key light and a soft
// ambient light.

#include "standalone/Scene.h"
#include "standalone/SceneDocument.h"
#include "standalone/StandaloneCore.h"
#include "standalone/import/ImportError.h"

#include <memory>
#include <string>

namespace standalone {

struct ModelSceneOptions {
    // The image size when both are above 0. Otherwise 1280 wide and 720 high, or as high as the
    // file's camera's aspect ratio asks.
    int width = 0, height = 0;
    WarningHandler warn;  // told what an import repaired or left out; may be empty
};

// Whether path names a scene document rather than a model file (by its extension).
bool isSceneDocument(const std::string& path);

// Throws SceneError for documents and ImportError for model files.
std::unique_ptr<Scene> loadSceneOrModel(const std::string& path, StandaloneCore& core,
                                        const ModelSceneOptions& options = {});

// A new scene holding the model at path, as described above. Throws ImportError.
std::unique_ptr<Scene> sceneFromModel(const std::string& path, StandaloneCore& core,
                                      const ModelSceneOptions& options = {});

}  // namespace standalone
