#pragma once
// vermil brush-preview: the preview image of a brush tip, from a scene's painterly material or
// brush map, or from brush parameters given on the command line.

#include <string>
#include <vector>

namespace standalone {
class StandaloneCore;
}

namespace app {

struct BrushPreviewOptions {
    std::string scenePath;              // empty: a new brush with its defaults
    std::string brushName;              // a vmlMaterial or vmlBrush map of the scene; empty: the first
    std::vector<std::string> settings;  // NAME=VALUE, applied over the brush's own values
    int width = 256, height = 256;
    std::string output = "brush.png";
};

// Writes the preview; 0 on success, otherwise prints the reason to stderr and returns 1.
int runBrushPreview(const BrushPreviewOptions& options, standalone::StandaloneCore& core);

}  // namespace app
