// The still life at 1920x1080 through the scanline renderer: seconds per frame and shaded
// fragments per second. Compare figures only within one run.

#include "BenchHost.h"
#include "standalone/RenderJob.h"
#include "standalone/SceneDocument.h"
#include "standalone/StandaloneCore.h"

#include <benchmark/benchmark.h>

namespace {

void stillLife(benchmark::State& state)
{
    auto scene = standalone::loadScene(VML_EXAMPLES_DIR "/still_life.json", benchHostCore());
    scene->render.width = 1920;
    scene->render.height = 1080;
    standalone::RenderJobOptions options;
    options.threads = static_cast<int>(state.range(0));
    Bitmap image;
    double shaded = 0, frames = 0;
    for (auto _ : state) {
        standalone::RenderJobResult r = standalone::renderScanline(*scene, image, options);
        if (!r.ok) {
            state.SkipWithError(r.error.c_str());
            break;
        }
        shaded += static_cast<double>(r.stats.fragmentsShaded);
        frames += 1;
    }
    state.counters["fragments_shaded_per_second"] = benchmark::Counter(shaded, benchmark::Counter::kIsRate);
    state.counters["seconds_per_frame"] =
        benchmark::Counter(frames, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

}  // namespace

BENCHMARK(stillLife)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
