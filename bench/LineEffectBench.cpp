// The line effect on the 1920x1080 still life with an outline element and a normal-angle element:
// the plain scanline render (with the G-buffer channels the effect reads, the effect not applied),
// then on copies of that frame the effect's pieces timed one by one (detection, width factors and
// stamping, compositing; summed over both elements) and the effect's Apply as a whole. The ratio
// divides Apply by the plain render of the same run; compare figures only within one run. The
// render shades on 2 threads; the effect runs on as many as the benchmark's argument.

#include "BenchHost.h"
#include "host/Bitmap.h"
#include "host/IParamBlock2.h"
#include "line/EdgeDetection.h"
#include "line/GBufferViews.h"
#include "line/LineCompositing.h"
#include "line/LineElementDrawing.h"
#include "line/LineFrameCanvases.h"
#include "line/LineFxElement.h"
#include "line/LineFxManager.h"
#include "line/LineFxParamBlocks.h"
#include "line/LineStamping.h"
#include "line/WidthFactors.h"
#include "standalone/RenderJob.h"
#include "standalone/SceneDocument.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int frameWidth = 1920, frameHeight = 1080;
constexpr int threads = 2;
constexpr int plainRenders = 2;
constexpr int iterations = 5;
constexpr TimeValue frameTime = 0;

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

struct PieceTimes {
    double detect = 0, stamp = 0, composite = 0;
};

// Draws every element over `bitmap` in the effect's order (the last first), timing each piece.
// Clearing the shared canvases between elements is left out of the pieces.
bool drawPieces(vml::LineFxManager& manager, Bitmap& bitmap, vml::LineFrameCanvases& canvases, bool lineOut,
                PieceTimes& times)
{
    using namespace vml;
    for (int i = manager.elementCount() - 1; i >= 0; --i) {
        LineFxElement* element = manager.element(i);
        IParamBlock2* block = element ? element->pblock() : nullptr;
        if (!block || !block->GetInt(lineParam::lineOn, 0))
            continue;
        canvases.clear();

        auto start = Clock::now();
        element->refreshSettings(frameTime);
        const LineSettings& s = element->settings();
        const GBufferViews views = makeGBufferViews(bitmap);
        if (!detectEdges(vml::edgeRulesOf(*block, s), views, canvases.mask(),
                         element->GBufferChannelsRequired(frameTime)))
            return false;
        times.detect += secondsSince(start);

        start = Clock::now();
        const EdgeMask mask = canvases.mask();
        computeWidthFactors(s, mask, canvases.deformMap);
        stampLines(s, mask, canvases.deformMap, views, canvases.lineCoverage, canvases.lineFade, nullptr);
        times.stamp += secondsSince(start);

        start = Clock::now();
        compositeLines(s, canvases.lineCoverage, canvases.lineFade, bitmap, {}, lineOut, {}, nullptr);
        times.composite += secondsSince(start);
    }
    return true;
}

void lineEffect(benchmark::State& state)
{
    auto scene = standalone::loadScene(VML_EXAMPLES_DIR "/still_life_lines.json", benchHostCore());
    scene->render.width = frameWidth;
    scene->render.height = frameHeight;
    vml::LineFxManager* manager = nullptr;
    for (Effect* e : scene->effects)
        if (auto* m = dynamic_cast<vml::LineFxManager*>(e); m && !manager)
            manager = m;
    if (!manager || manager->elementCount() < 2) {
        state.SkipWithError("the scene has no line effect with two elements");
        return;
    }

    // The effect stays out of the render; its channels are created up front, which the renderer
    // keeps and fills.
    const ULONG required = manager->GBufferChannelsRequired(frameTime);
    standalone::RenderJobOptions options;
    options.threads = threads;
    options.applyEffects = false;
    Bitmap rendered;
    double plainSeconds = 0;
    for (int k = 0; k < plainRenders; ++k) {
        rendered.Allocate(frameWidth, frameHeight);
        rendered.CreateChannels(required);
        const auto start = Clock::now();
        standalone::RenderJobResult r = standalone::renderScanline(*scene, rendered, options);
        plainSeconds += secondsSince(start);
        if (!r.ok) {
            state.SkipWithError(r.error.c_str());
            return;
        }
    }
    plainSeconds /= plainRenders;
    if ((rendered.ChannelsPresent() & required) != required) {
        state.SkipWithError("the plain render lacks channels the line effect reads");
        return;
    }

    // The effect's work goes to the render workers of the host's thread count.
    benchHostCore().setShadingThreads(static_cast<int>(state.range(0)));
    IParamBlock2* params = manager->pblock();
    const bool lineOut = params && params->GetInt(vml::lineFxParam::lineOutRenderElement, frameTime) != 0;
    vml::LineFrameCanvases canvases;
    canvases.resize(frameWidth, frameHeight);
    PieceTimes pieces;
    double applySeconds = 0, frames = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Bitmap byPieces = rendered;
        Bitmap byApply = rendered;
        state.ResumeTiming();

        if (!drawPieces(*manager, byPieces, canvases, lineOut, pieces)) {
            state.SkipWithError("edge detection found its channels missing");
            return;
        }
        const auto start = Clock::now();
        manager->Apply(frameTime, &byApply, nullptr, nullptr);
        applySeconds += secondsSince(start);
        benchmark::DoNotOptimize(byPieces.Row(0));
        benchmark::DoNotOptimize(byApply.Row(0));
        frames += 1;
    }
    if (frames == 0)
        return;
    state.counters["detect_seconds"] = pieces.detect / frames;
    state.counters["stamp_seconds"] = pieces.stamp / frames;
    state.counters["composite_seconds"] = pieces.composite / frames;
    state.counters["apply_seconds"] = applySeconds / frames;
    state.counters["plain_seconds"] = plainSeconds;
    state.counters["lines_over_plain"] = plainSeconds > 0 ? applySeconds / frames / plainSeconds : 0.0;
    benchHostCore().setShadingThreads(threads);
}

}  // namespace

BENCHMARK(lineEffect)
    ->ArgName("effect_threads")
    ->Arg(threads)
    ->Arg(1)
    ->Iterations(iterations)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
