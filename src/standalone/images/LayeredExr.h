#pragma once
// One OpenEXR file holding a frame's layers (see ExrLayers.h): colour in half floats, depth, ids
// and velocity in full floats, and a header with the camera (worldToCamera, worldToNDC), the
// frame, the renderer and the conventions of the G-buffer layers. Like every image, it is written
// whole or not at all: a failed write leaves any previous file intact.

#include "host/Bitmap.h"
#include "standalone/FrameCamera.h"
#include "standalone/images/ExrLayers.h"
#include "standalone/images/ImageOutput.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace standalone {

struct LayeredExrHeader {
    FrameCamera camera;  // left out when not known
    int frame = 0;
    int framesPerSecond = 30;
    std::vector<std::string> instanceNames;  // by render id: objectId N is instanceNames[N - 1]
    // Written as string attributes "vermil:NAME" (renderer, its settings).
    std::vector<std::pair<std::string, std::string>> attributes;
};

// What the file needs of a frame, copied so the bitmaps can render the next frame while it is
// written (see FrameWriter.h).
struct LayeredExrSnapshot {
    std::string path;
    int compression = kDefaultCompression;  // -1: zips (fast, lossless); 0: none; 1..9: zip level
    int width = 0, height = 0;
    std::vector<ExrLayer> layers;
    // RGBA rows of each layer that has them (beauty, elements); empty: transparent black.
    std::vector<std::vector<std::uint16_t>> rgba;
    // Raw G-buffer channels by slot (bit 1 << slot); empty where the layers need none.
    std::array<std::vector<std::byte>, BMM_CHAN_COUNT> gbuffer;
    LayeredExrHeader header;
};

// `elements[i]` is the bitmap of the layers' element i (nullptr: none this frame). G-buffer
// layers the image lacks the channels of are written as background.
LayeredExrSnapshot snapshotLayeredExr(const std::string& path, int compression, const Bitmap& image,
                                      const std::vector<const Bitmap*>& elements,
                                      const std::vector<ExrLayer>& layers, LayeredExrHeader header);

// Encodes and writes; safe on any thread.
ImageWriteResult writeLayeredExr(const LayeredExrSnapshot& snapshot);

}  // namespace standalone
