#pragma once
// A model file as Assimp reads it for import: triangles only (polygons triangulated, points and
// lines left out), vertices joined, smooth normals generated where the file has none (up to a
// crease angle, so corners stay hard), non-UV mappings and UV transforms baked into UVs, FBX
// pivots collapsed into node transforms, and the data structure checked by Assimp before we see
// it. A file is offered only to the readers of its extension when some reader claims it. Importers
// that store values differently are told apart by format().

#include <memory>
#include <string>

struct aiScene;
namespace Assimp {
class Importer;
}

namespace standalone::import {

enum class SourceFormat { gltf2, fbx, collada, threeDS, other };

class AssimpFile {
public:
    // Throws ImportError naming path and the reason (no such file, Assimp's message, ...).
    explicit AssimpFile(const std::string& path);
    ~AssimpFile();
    AssimpFile(const AssimpFile&) = delete;
    AssimpFile& operator=(const AssimpFile&) = delete;

    const aiScene& scene() const { return *scene_; }
    SourceFormat format() const { return format_; }

private:
    std::unique_ptr<Assimp::Importer> importer_;
    const aiScene* scene_ = nullptr;
    SourceFormat format_ = SourceFormat::other;
};

// Smoothing stops at edges where faces meet at more than this angle (degrees).
inline constexpr float kCreaseAngle = 80.0f;

}  // namespace standalone::import
