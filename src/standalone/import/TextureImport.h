#pragma once
// Texture maps for a model's materials: "Bitmap" maps of the images the file embeds (referenced as
// "*N", or by a name matching an embedded image's) or of image files beside the model. A file path
// is tried as given (relative paths against the model's folder), with '\' read as '/', and by its
// file name alone in the model's folder. One map per image, shared by every material using it.

#include "standalone/Scene.h"
#include "standalone/StandaloneCore.h"

#include <filesystem>
#include <map>
#include <string>
#include <vector>

struct aiScene;
class Texmap;

namespace standalone {
class BitmapMap;
}

namespace standalone::import {

class TextureImporter {
public:
    TextureImporter(Scene& scene, StandaloneCore& core, const aiScene& source,
                    std::filesystem::path modelPath, std::vector<std::string>& warnings);

    // The map of a material's texture reference; nullptr, with a warning, when the image cannot be
    // found or read.
    Texmap* texture(const std::string& reference);

private:
    Texmap* embedded(const std::string& reference);
    Texmap* file(const std::string& reference);
    BitmapMap* newBitmap(const std::string& name);

    Scene& scene_;
    StandaloneCore& core_;
    const aiScene& source_;
    std::filesystem::path modelPath_;
    std::vector<std::string>& warnings_;
    std::map<std::string, Texmap*> byKey_;  // embedded index ("*N") or absolute path; nullptr: failed
};

}  // namespace standalone::import
