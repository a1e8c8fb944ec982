#pragma once
// Every file a render of a scene document reads: the document, the model files it imports (with
// the buffers and material libraries they name), and the files its objects' file-name parameters
// name (bitmaps, line files). Looks are built into the program and need no file.

#include <string>
#include <vector>

namespace standalone {
class Scene;
}

namespace app {

// Absolute paths, sorted, each once. scene is the document at documentPath, loaded.
std::vector<std::string> sceneFiles(const standalone::Scene& scene, const std::string& documentPath);

// Files a model file names beside itself: a .gltf's buffers and images, an .obj's material
// libraries. Paths as resolved against the model's folder; none for other formats or when the
// model cannot be read.
std::vector<std::string> modelCompanionFiles(const std::string& modelPath);

}  // namespace app
