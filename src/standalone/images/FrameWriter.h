#pragma once
// Writes a frame's images on a thread of its own while the caller renders the next frame. One
// frame is in flight: starting another waits for it, so at most one extra copy of a frame is held.

#include "standalone/images/ImageOutput.h"
#include "standalone/images/LayeredExr.h"

#include <future>
#include <string>
#include <variant>
#include <vector>

namespace standalone {

struct FrameWriteResult {
    bool ok = true;
    std::string error;                 // the first failed image's message (names the file)
    std::vector<std::string> written;  // paths written, in order
    double seconds = 0.0;              // spent encoding and writing
};

// One file of a frame: an image, or a multi-layer OpenEXR file.
using FrameFile = std::variant<ImageSnapshot, LayeredExrSnapshot>;

class FrameWriter {
public:
    FrameWriter() = default;
    ~FrameWriter();  // waits for the frame in flight: a file is never left half written
    FrameWriter(const FrameWriter&) = delete;
    FrameWriter& operator=(const FrameWriter&) = delete;

    // Starts writing `files` in order, stopping at the first failure. The caller must first
    // collect the frame in flight with wait().
    void start(std::vector<FrameFile> files);
    // Waits for the frame in flight and returns how it went; ok with nothing written when idle.
    FrameWriteResult wait();
    bool busy() const { return pending_.valid(); }

private:
    std::future<FrameWriteResult> pending_;
};

// Writes `files` in order on the calling thread, stopping at the first failure.
FrameWriteResult writeFrame(const std::vector<FrameFile>& files);

}  // namespace standalone
