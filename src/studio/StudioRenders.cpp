// The studio's render thread: the viewport, the material sample, the plain render for the
// before/after view, and full-size frames to the document's output.

#include "studio/StudioSession.h"

#include "host/Bitmap.h"
#include "host/Mtl.h"
#include "host/RenderElement.h"
#include "host/Renderer.h"
#include "standalone/RenderJob.h"
#include "standalone/Scene.h"
#include "standalone/StandaloneCore.h"
#include "standalone/images/ImageOutput.h"
#include "standalone/ui/SceneThings.h"

#include <fmt/format.h>

#include <chrono>
#include <filesystem>

namespace studio {

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

}  // namespace

// Tells the tabs how far a render is, a few times a second, and stops it when an edit came.
class StudioSession::RenderProgress final : public RendProgressCallback {
public:
    RenderProgress(StudioSession& session, std::string title) : session_(session), title_(std::move(title)) {}
    void SetTitle(const char* title) override { stage_ = title ? title : ""; }
    int Progress(int done, int total) override
    {
        const auto now = Clock::now();
        if (done >= total || now - last_ > std::chrono::milliseconds(150)) {
            last_ = now;
            session_.events_.publish("progress",
                                     Json{{"title", stage_.empty() ? title_ : title_ + ": " + stage_},
                                          {"done", done},
                                          {"total", total}}
                                         .dump());
        }
        return session_.core_.GetCancel() ? RENDPROG_ABORT : RENDPROG_CONTINUE;
    }

private:
    StudioSession& session_;
    std::string title_, stage_;
    Clock::time_point last_{};
};

std::pair<int, int> StudioSession::previewSize() const
{
    // The render's aspect, fitted into the preview box.
    const double aspect = double(scene_->render.width) / std::max(1, scene_->render.height);
    const int width =
        std::max(1, std::min(options_.previewWidth, int(options_.previewHeight * aspect + 0.5)));
    return {width, std::max(1, int(width / aspect + 0.5))};
}

Renderer* StudioSession::viewportRenderer()
{
    if (scene_->renderer)
        return scene_->renderer;
    if (!scanline_)
        scanline_.reset(core_.CreateDefaultScanlineRenderer());
    return scanline_.get();
}

standalone::RenderJobResult StudioSession::renderScene(Renderer& renderer, const char* title, Bitmap& image,
                                                       std::map<std::string, std::string>* elements)
{
    core_.setCurrentRenderer(&renderer);
    RenderProgress progress(*this, title);
    standalone::RenderJobOptions options;
    options.time = core_.GetTime();
    options.progress = &progress;
    standalone::RenderJobResult result;
    std::string error;
    {
        standalone::RenderSession session(*scene_, renderer, options);
        if (session.open(error)) {
            result = session.renderFrame(options.time, image);
            standalone::RenderElementManager& manager = session.elements();
            for (int e = 0; elements && result.ok && e < manager.NumRenderElements(); ++e) {
                IRenderElement* element = manager.GetRenderElement(e);
                PBBitmap* holder = element ? element->GetPBBitmap() : nullptr;
                if (holder && holder->bm() && element->ElementName())
                    (*elements)[element->ElementName()] = standalone::encodePng(*holder->bm());
            }
            session.close();
        } else {
            result.error = error;
        }
    }
    core_.setCurrentRenderer(nullptr);
    return result;
}

void StudioSession::renderLoop()
{
    std::uint64_t done = 0;
    for (;;) {
        std::uint64_t generation = 0;
        bool full = false, range = false;
        {
            std::unique_lock guard(work_);
            wake_.wait(guard, [&] { return stopping_ || generation_ != done || fullRender_; });
            if (stopping_)
                return;
            generation = generation_;
            full = std::exchange(fullRender_, false);
            range = fullRange_;
        }
        rendering_ = true;
        if (full) {
            renderFull(range);
        } else {
            std::pair<int, int> size;
            {
                std::lock_guard guard(lock_);
                size = previewSize();
            }
            const auto [width, height] = size;
            if (renderViewport(generation, std::max(1, width / 4), std::max(1, height / 4), true) &&
                renderViewport(generation, width, height, false)) {
                renderSample(generation);
                renderPlain(generation);
                std::lock_guard guard(work_);
                if (generation_ == generation)
                    done = generation;
            }
        }
        rendering_ = false;
    }
}

// The scene for rendering generation `generation`; not locked when an edit made it stale.
static std::unique_lock<std::mutex> lockForRender(std::mutex& scene, std::mutex& work,
                                                  const std::uint64_t& current, const bool& stopping,
                                                  std::atomic<bool>& editing, std::uint64_t generation)
{
    while (editing)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    std::unique_lock guard(scene);
    std::lock_guard w(work);
    if (stopping || current != generation)
        guard.unlock();
    return guard;
}

bool StudioSession::renderViewport(std::uint64_t generation, int width, int height, bool quick)
{
    auto guard = lockForRender(lock_, work_, generation_, stopping_, editing_, generation);
    if (!guard.owns_lock())
        return false;
    const auto start = Clock::now();
    const std::uint64_t version = version_.load();  // the state this frame shows
    Renderer* renderer = viewportRenderer();
    const standalone::RenderSettings saved = scene_->render;
    scene_->render.width = width;
    scene_->render.height = height;
    Bitmap image;
    std::map<std::string, std::string> layers;
    standalone::RenderJobResult result =
        renderScene(*renderer, quick ? "Quick frame" : "Viewport", image, quick ? nullptr : &layers);
    scene_->render = saved;
    if (result.cancelled || core_.GetCancel())
        return false;
    if (!result.ok) {
        events_.publish("frame", Json{{"error", result.error}}.dump());
        return true;
    }
    layers["painted"] = standalone::encodePng(image);
    std::uint64_t number = 0;
    {
        std::lock_guard pictures(pictures_);
        for (auto& [name, png] : layers)
            viewport_[name] = std::move(png);
        number = ++frameNumber_;
    }
    events_.publish("frame", Json{{"frame", number},
                                  {"version", version},
                                  {"quick", quick},
                                  {"width", width},
                                  {"height", height},
                                  {"seconds", secondsSince(start)}}
                                 .dump());
    return true;
}

void StudioSession::renderSample(std::uint64_t generation)
{
    auto guard = lockForRender(lock_, work_, generation_, stopping_, editing_, generation);
    if (!guard.owns_lock() || thing_.kind != "material")
        return;
    Mtl* material = dynamic_cast<Mtl*>(standalone::findMaterialOrMap(*scene_, thing_.name, false));
    if (!material)
        return;
    standalone::SampleShape shape;
    int size = 0;
    {
        std::lock_guard pictures(pictures_);
        shape = sampleShape_;
        size = sampleSize_;
    }
    auto sample = standalone::makeMaterialSample(*material, shape, size);
    standalone::SampleRenderer renderer;
    std::string error;
    if (!standalone::chooseSampleRenderer(*scene_, *material, core_, renderer, error))
        return;
    RenderProgress progress(*this, "Material sample");
    standalone::RenderJobOptions options;
    options.progress = &progress;
    Bitmap image;
    const standalone::RenderJobResult result =
        standalone::renderMaterialSample(*sample, *renderer.renderer, image, options);
    if (!result.ok)
        return;
    {
        std::lock_guard pictures(pictures_);
        sample_ = standalone::encodePng(image);
        sampleGeneration_ = generation;
    }
    pictureReady_.notify_all();
    events_.publish("sample", Json{{"generation", generation}}.dump());
}

void StudioSession::renderPlain(std::uint64_t generation)
{
    auto guard = lockForRender(lock_, work_, generation_, stopping_, editing_, generation);
    if (!guard.owns_lock())
        return;
    Bitmap image;
    standalone::RenderJobOptions options;
    options.time = core_.GetTime();
    // The painted frame's size.
    const standalone::RenderSettings saved = scene_->render;
    const auto [width, height] = previewSize();
    scene_->render.width = width;
    scene_->render.height = height;
    const standalone::RenderJobResult result = standalone::renderScanline(*scene_, image, options);
    scene_->render = saved;
    if (!result.ok)
        return;
    std::lock_guard pictures(pictures_);
    viewport_["plain"] = standalone::encodePng(image);
}

void StudioSession::renderFull(bool range)
{
    std::unique_lock guard(lock_);
    const auto start = Clock::now();
    std::string output = scene_->render.output;
    if (output.empty()) {
        std::filesystem::path p(path_);
        output = (p.parent_path() / (p.stem().string() + ".png")).string();
    }
    // The document's frames, each to its numbered file, or the frame in hand to the output.
    std::vector<int> frames{frame_};
    if (range && scene_->render.endFrame > scene_->render.startFrame) {
        frames.clear();
        for (int f = scene_->render.startFrame; f <= scene_->render.endFrame; ++f)
            frames.push_back(f);
    }
    const bool numbered = frames.size() > 1;
    standalone::RenderJobResult result;
    std::string written;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        setTime(frames[i]);
        Bitmap image;
        const std::string title =
            numbered ? fmt::format("Render frame {} ({}/{})", frames[i], i + 1, frames.size())
                     : std::string("Render");
        result = renderScene(*viewportRenderer(), title.c_str(), image, nullptr);
        if (!result.ok)
            break;
        written = numbered ? standalone::numberedPath(output, frames[i]) : output;
        if (const standalone::ImageWriteResult w = standalone::writeImage(image, written); !w.ok) {
            result.ok = false;
            result.error = w.error;
            break;
        }
    }
    setTime(frame_);
    const bool ok = result.ok && result.error.empty();
    events_.publish("render", Json{{"done", ok},
                                   {"output", written},
                                   {"frames", frames.size()},
                                   {"seconds", secondsSince(start)},
                                   {"error", ok                 ? ""
                                             : result.cancelled ? "cancelled"
                                                                : result.error}}
                                  .dump());
}

bool StudioSession::startFullRender(bool range, std::string& error)
{
    {
        std::lock_guard guard(work_);
        if (fullRender_) {
            error = "a render is already waiting to start";
            return false;
        }
        fullRender_ = true;
        fullRange_ = range;
    }
    wake_.notify_all();
    return true;
}

std::string StudioSession::samplePng(standalone::SampleShape shape, int size, int waitMs)
{
    size = std::clamp(size, standalone::kMinSampleSize, 512);
    std::uint64_t wanted = 0;
    bool restart = false;
    {
        std::lock_guard pictures(pictures_);
        if (openKind_ != "material")
            return {};
        if (shape != sampleShape_ || size != sampleSize_) {
            sampleShape_ = shape;
            sampleSize_ = size;
            sample_.clear();
            restart = true;
        }
    }
    {
        std::lock_guard work(work_);
        if (restart)
            ++generation_;
        wanted = generation_;
    }
    if (restart)
        wake_.notify_all();
    std::unique_lock pictures(pictures_);
    pictureReady_.wait_for(pictures, std::chrono::milliseconds(waitMs), [&] {
        return picturesClosed_ || (!sample_.empty() && sampleGeneration_ >= wanted);
    });
    return sample_;
}

}  // namespace studio
