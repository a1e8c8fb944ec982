#pragma once
// vermil preview-material: one material of a scene document or model file on a sample object,
// rendered as a material editor renders it (see standalone/MaterialSample.h).

#include <string>

namespace standalone {
class StandaloneCore;
}

namespace app {

struct PreviewMaterialOptions {
    std::string scenePath;
    std::string material;          // a material of the scene, by name
    std::string shape = "sphere";  // sphere, box or teapot
    int size = 256;                // square image, 16 to 2048 pixels
    std::string output;
    bool quiet = false;  // no progress bar, message boxes only recorded
};

// Exit code: 0 success, 1 failure (message on stderr), 130 cancelled by Ctrl-C.
int runPreviewMaterial(const PreviewMaterialOptions& options, standalone::StandaloneCore& core);

}  // namespace app
