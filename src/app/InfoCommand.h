#pragma once
// `vermil info`: what a scene document (or a model file) holds — objects, materials, lights, cameras,
// effects, render elements and the animation range.

#include <string>

namespace standalone {
class StandaloneCore;
}

namespace app {

// Exit code: 0, or 1 when the document cannot be loaded (message on stderr).
int runInfo(const std::string& scenePath, standalone::StandaloneCore& core);
// `vermil info --layers`: the layers an OpenEXR render of the scene can hold, one a line with its
// channels. Exit code as runInfo's.
int runInfoLayers(const std::string& scenePath, standalone::StandaloneCore& core);

}  // namespace app
