#include "standalone/FrameWriter.h"

#include <cassert>
#include <chrono>
#include <exception>

namespace standalone {

FrameWriteResult writeFrame(const std::vector<ImageSnapshot>& images)
{
    const auto start = std::chrono::steady_clock::now();
    FrameWriteResult result;
    for (const ImageSnapshot& image : images) {
        ImageWriteResult w;
        try {
            w = writeSnapshot(image);
        } catch (const std::exception& e) {
            // Thrown on the writer's thread, it would surface only when collected: said here.
            w = {false, image.path + ": write failed (" + e.what() + ")"};
        }
        if (!w.ok) {
            result.ok = false;
            result.error = w.error;
            break;
        }
        result.written.push_back(image.path);
    }
    result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return result;
}

FrameWriter::~FrameWriter()
{
    if (pending_.valid())
        pending_.wait();
}

void FrameWriter::start(std::vector<ImageSnapshot> images)
{
    assert(!pending_.valid() && "collect the frame in flight first");
    if (pending_.valid())
        pending_.wait();
    pending_ = std::async(std::launch::async, [images = std::move(images)] { return writeFrame(images); });
}

FrameWriteResult FrameWriter::wait()
{
    if (!pending_.valid())
        return {};
    return pending_.get();
}

}  // namespace standalone
