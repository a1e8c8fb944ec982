#include "standalone/images/FrameWriter.h"

#include <cassert>
#include <chrono>
#include <exception>

namespace standalone {

FrameWriteResult writeFrame(const std::vector<FrameFile>& files)
{
    const auto start = std::chrono::steady_clock::now();
    FrameWriteResult result;
    for (const FrameFile& file : files) {
        const std::string& path =
            std::visit([](const auto& f) -> const std::string& { return f.path; }, file);
        ImageWriteResult w;
        try {
            w = std::holds_alternative<ImageSnapshot>(file)
                    ? writeSnapshot(std::get<ImageSnapshot>(file))
                    : writeLayeredExr(std::get<LayeredExrSnapshot>(file));
        } catch (const std::exception& e) {
            // Thrown on the writer's thread, it would surface only when collected: said here.
            w = {false, path + ": write failed (" + e.what() + ")"};
        }
        if (!w.ok) {
            result.ok = false;
            result.error = w.error;
            break;
        }
        result.written.push_back(path);
    }
    result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return result;
}

FrameWriter::~FrameWriter()
{
    if (pending_.valid())
        pending_.wait();
}

void FrameWriter::start(std::vector<FrameFile> files)
{
    assert(!pending_.valid() && "collect the frame in flight first");
    if (pending_.valid())
        pending_.wait();
    pending_ = std::async(std::launch::async, [files = std::move(files)] { return writeFrame(files); });
}

FrameWriteResult FrameWriter::wait()
{
    if (!pending_.valid())
        return {};
    return pending_.get();
}

}  // namespace standalone
