#pragma once
// The layers a multi-layer OpenEXR file of a frame can hold, under the channel names compositors
// read: the beauty image (R, G, B, A), each render element (NAME.R, NAME.G, NAME.B, NAME.A) and
// the G-buffer as Z, N.X/N.Y/N.Z, objectId.X, materialId.X, velocity.X/velocity.Y and coverage.X.
// Conventions of the values are in docs/scene-format.md and written in the file's header.

#include "host/MaxTypes.h"

#include <optional>
#include <string>
#include <vector>

namespace standalone {

enum class ExrLayerKind { beauty, element, depth, normal, objectId, materialId, velocity, coverage };

struct ExrLayer {
    std::string name;  // as --layers names it; the prefix of its channels
    ExrLayerKind kind = ExrLayerKind::beauty;
    int element = -1;                   // the render element's place in the frame's list
    std::vector<std::string> channels;  // full channel names, in file order
    bool half = true;                   // half floats; else full floats (depth, ids, velocity)
};

// Every layer a frame with these render elements can write, in file order: beauty, the elements,
// then the G-buffer layers.
std::vector<ExrLayer> exrLayers(const std::vector<std::string>& elementNames);

// An element's name as a layer name: letters, digits, '_' and '-' kept, every run of anything
// else (a '.' would split the layer) one '_', none at either end; "element" + index when nothing
// is left. Names taken already get "_2", "_3", ...
std::string exrLayerName(const std::string& elementName, int index, const std::vector<ExrLayer>& taken);

// The layers `names` picks, in file order (beauty first when picked). An unknown name gives
// nullopt and an error that lists every layer of `all`.
std::optional<std::vector<ExrLayer>> pickExrLayers(const std::vector<ExrLayer>& all,
                                                   const std::vector<std::string>& names, std::string& error);

// The G-buffer channels (BMM_CHAN_* bits) that the layers are read from.
ULONG exrGBufferChannels(const std::vector<ExrLayer>& layers);

// Whether a path names an OpenEXR file (.exr in any case).
bool isExrPath(const std::string& path);

}  // namespace standalone
