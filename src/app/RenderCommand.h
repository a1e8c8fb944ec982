#pragma once
// `vermil render`: loads a scene document or a model file, optionally paints it and adds lines,
// renders it and writes the image and its render elements: beside it, or as layers of one
// OpenEXR file with the G-buffer when the image is .exr.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace standalone {
class Scene;
class StandaloneCore;
}  // namespace standalone

namespace app {

struct RenderOptions {
    std::string scenePath;
    std::string output;  // overrides the document's output
    int width = 0;       // with height: overrides the document's size
    int height = 0;
    int threads = 0;       // 0: all cores
    int compression = -1;  // of the written images, 0..9; -1: the fast default (see ImageOutput.h)
    std::string renderer;  // class name overriding the document's renderer; "scanline" = the host's
    bool stats = false;    // per-frame figures on stdout as `name: value` lines
    bool quiet = false;    // no progress bar, message boxes only recorded
    // --progress plain: progress as `progress 0.42 TITLE` lines for a program reading stderr.
    bool plainProgress = false;
    // --paint: every material wrapped in a painterly one wearing this look (see PaintOptions.h),
    // rendered by vmlRenderer unless `renderer` says otherwise; empty: not painted.
    std::string paintLook;
    bool lines = false;  // --lines: a line effect added (see PaintOptions.h)
    // --serial-writes: each frame is written before the next renders, instead of while it
    // renders (which holds one more copy of a frame's images).
    bool serialWrites = false;
    // The memory the frame may use, in bytes, instead of what the system reports (tests).
    std::optional<std::uint64_t> availableMemory;
    // --layers: the layers of an OpenEXR output, by name (see standalone/images/ExrLayers.h); empty: every
    // layer the scene can write.
    std::vector<std::string> layers;
    // Frames to render; empty: the document's frame range (one image without a frame number when
    // the document is a still).
    std::vector<int> frames;
};

// Exit code: 0 success, 1 failure (message on stderr), 130 cancelled by Ctrl-C.
int runRender(const RenderOptions& options, standalone::StandaloneCore& core);

// The render elements' names, in the order the scene lists them (the layers' element order).
std::vector<std::string> renderElementNames(const standalone::Scene& scene);

}  // namespace app
