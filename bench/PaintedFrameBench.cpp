// The painted still life at 1920x1080: a whole frame through the painterly renderer (inner scanline
// render, stroke painting, bleeding), beside the plain scanline render of the same scene and the
// painterly materials rendered by the scanline renderer alone. Every frame opens, renders and closes
// its renderer, as a one-frame `vermil render` does. The ratios divide by plain frames rendered
// between the measured ones (outside the timing), so a busy machine slows both alike; compare
// figures only within one run.

#include "BenchHost.h"
#include "host/Renderer.h"
#include "renderer/vmlRenderer.h"
#include "standalone/RenderJob.h"
#include "standalone/ScanlineRenderer.h"
#include "standalone/SceneDocument.h"
#include "standalone/StandaloneCore.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>

namespace {

constexpr int frameWidth = 1920, frameHeight = 1080;
constexpr int threads = 2;
constexpr int iterations = 3;

using Clock = std::chrono::steady_clock;

std::unique_ptr<standalone::Scene> loadFullHd(const char* path)
{
    auto scene = standalone::loadScene(path, benchHostCore());
    scene->render.width = frameWidth;
    scene->render.height = frameHeight;
    return scene;
}

// What the painterly renderer reports of its frame; read before Close, which empties the stroke list.
struct PaintFigures {
    std::size_t strokes = 0;
    vml::vmlRenderer::PaintTimes times;
    bool brushCache = false;  // enabled and holding tiles
};

// One frame with its own open and close; the host sees the renderer as the current one meanwhile
// (the line effect asks for it). Returns the wall seconds, or a negative value with error set.
double renderOnce(standalone::Scene& scene, Renderer& renderer, Bitmap& image, std::string& error,
                  PaintFigures* figures = nullptr)
{
    // The session sets the thread count only on a scanline renderer it is given, not on the
    // painterly renderer's inner one.
    if (auto* painterly = dynamic_cast<vml::vmlRenderer*>(&renderer))
        if (auto* inner = dynamic_cast<standalone::ScanlineRenderer*>(painterly->innerRenderer()))
            inner->setThreadCount(threads);
    standalone::StandaloneCore& core = benchHostCore();
    core.setCurrentRenderer(&renderer);
    standalone::RenderJobOptions options;
    options.threads = threads;
    const auto start = Clock::now();
    standalone::RenderSession session(scene, renderer, options);
    double seconds = -1.0;
    if (session.open(error)) {
        standalone::RenderJobResult r = session.renderFrame(0, image);
        if (auto* painterly = dynamic_cast<vml::vmlRenderer*>(&renderer); painterly && figures)
            *figures = {painterly->strokeCount(), painterly->paintTimes(),
                        painterly->settings().brushCacheEnable && painterly->brushCache().tileCount() > 0};
        session.close();
        if (r.ok)
            seconds = std::chrono::duration<double>(Clock::now() - start).count();
        else
            error = r.error;
    }
    core.setCurrentRenderer(nullptr);
    return seconds;
}

double measurePlainFrame(std::string& error)
{
    auto scene = loadFullHd(VML_EXAMPLES_DIR "/still_life.json");
    standalone::RenderJobOptions options;
    options.threads = threads;
    Bitmap image;
    const auto start = Clock::now();
    standalone::RenderJobResult r = standalone::renderScanline(*scene, image, options);
    if (!r.ok) {
        error = r.error;
        return -1.0;
    }
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// A plain frame between two measured ones, left out of the benchmark's time; false when it fails.
bool addPlainFrame(benchmark::State& state, double& plainSeconds)
{
    state.PauseTiming();
    std::string error;
    const double s = measurePlainFrame(error);
    state.ResumeTiming();
    if (s < 0) {
        state.SkipWithError(error.c_str());
        return false;
    }
    plainSeconds += s;
    return true;
}

void setFrameCounters(benchmark::State& state, double seconds, double plainSeconds, double frames)
{
    state.counters["seconds_per_frame"] = seconds / frames;
    state.counters["plain_seconds_per_frame"] = plainSeconds / frames;
    state.counters["over_plain"] = plainSeconds > 0 ? seconds / plainSeconds : 0.0;
}

// still_life.json: the standard materials through the scanline renderer.
void plainStillLife(benchmark::State& state)
{
    double seconds = 0, frames = 0;
    for (auto _ : state) {
        std::string error;
        const double s = measurePlainFrame(error);
        if (s < 0) {
            state.SkipWithError(error.c_str());
            return;
        }
        seconds += s;
        frames += 1;
    }
    if (frames > 0)
        state.counters["seconds_per_frame"] = seconds / frames;
}

// still_life_painted.json through the scanline renderer instead of the painterly one: the
// painterly materials shade, but nothing paints their strokes.
void paintedMaterialsWithoutPainting(benchmark::State& state)
{
    auto scene = loadFullHd(VML_EXAMPLES_DIR "/still_life_painted.json");
    std::unique_ptr<Renderer> scanline(benchHostCore().CreateDefaultScanlineRenderer());
    if (!scanline) {
        state.SkipWithError("the scanline renderer is not installed");
        return;
    }
    Bitmap image;
    double seconds = 0, plainSeconds = 0, frames = 0;
    for (auto _ : state) {
        if (!addPlainFrame(state, plainSeconds))
            return;
        std::string error;
        const double s = renderOnce(*scene, *scanline, image, error);
        if (s < 0) {
            state.SkipWithError(error.c_str());
            return;
        }
        seconds += s;
        frames += 1;
    }
    if (frames > 0)
        setFrameCounters(state, seconds, plainSeconds, frames);
}

// still_life_painted.json through its own painterly renderer.
void paintedStillLife(benchmark::State& state)
{
    auto scene = loadFullHd(VML_EXAMPLES_DIR "/still_life_painted.json");
    auto* painterly = dynamic_cast<vml::vmlRenderer*>(scene->renderer);
    if (!painterly) {
        state.SkipWithError("the document's renderer is not the painterly renderer");
        return;
    }
    Bitmap image;
    double seconds = 0, plainSeconds = 0, frames = 0, strokes = 0, strokeSeconds = 0, bleedSeconds = 0,
           bleedSteps = 0;
    double dabs = 0, dabPixels = 0;
    bool brushCache = true;
    for (auto _ : state) {
        if (!addPlainFrame(state, plainSeconds))
            return;
        std::string error;
        PaintFigures figures;
        const double s = renderOnce(*scene, *painterly, image, error, &figures);
        if (s < 0) {
            state.SkipWithError(error.c_str());
            return;
        }
        const vml::vmlRenderer::PaintTimes& times = figures.times;
        seconds += s;
        frames += 1;
        strokes += static_cast<double>(figures.strokes);
        strokeSeconds += times.strokeSeconds;
        bleedSeconds += times.bleedSeconds;
        bleedSteps += times.bleedSteps;
        dabs += static_cast<double>(times.strokes.dabs);
        dabPixels += static_cast<double>(times.strokes.dabPixels);
        brushCache = brushCache && figures.brushCache;
    }
    if (frames == 0)
        return;
    state.counters["strokes"] = strokes / frames;
    state.counters["strokes_per_second"] = strokeSeconds > 0 ? strokes / strokeSeconds : 0.0;
    state.counters["ns_per_dab_pixel"] = dabPixels > 0 ? strokeSeconds * 1e9 / dabPixels : 0.0;
    state.counters["dabs"] = dabs / frames;
    state.counters["dab_pixels"] = dabPixels / frames;
    state.counters["paint_seconds"] = strokeSeconds / frames;
    state.counters["bleed_seconds"] = bleedSeconds / frames;
    state.counters["bleed_steps"] = bleedSteps / frames;
    state.counters["brush_cache"] = brushCache ? 1.0 : 0.0;
    setFrameCounters(state, seconds, plainSeconds, frames);
}

}  // namespace

BENCHMARK(plainStillLife)->Iterations(iterations)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(paintedMaterialsWithoutPainting)
    ->Iterations(iterations)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(paintedStillLife)->Iterations(iterations)->Unit(benchmark::kMillisecond)->UseRealTime();
