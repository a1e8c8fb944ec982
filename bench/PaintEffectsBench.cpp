// Paint deposit and one bleed pass on a 1920 x 1080 canvas, both canvas kinds.
#include "paint/vmlRaster.h"
#include "paint/vmlRasterRS.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int benchWidth = 1920, benchHeight = 1080;

template <class Canvas> void preparePaint(Canvas& canvas)
{
    canvas.SetBlendSwitch(0);
    canvas.SetWater(0.375f);
    canvas.SetEdge(0.3f);
    canvas.SetWind({0.3f, 0.1f});
    canvas.SetMix(0.3f);
    canvas.SetDry(0.2f);
}

// An area of the canvas the bleed cases wet.
struct WetArea {
    int x, y, width, height;
};
constexpr WetArea quarter{0, 0, benchWidth / 2, benchHeight / 2};
constexpr WetArea patch{860, 440, 200, 200};

// Reloads the canvas and deposits soft wet paint into `area`, in the painter's order.
template <class Canvas> void wetArea(Canvas& canvas, const WetArea& area)
{
    canvas.Load(true);
    preparePaint(canvas);
    for (int y = area.y; y < area.y + area.height; ++y) {
        canvas.SelectRow(y);
        for (int x = area.x; x < area.x + area.width; ++x) {
            canvas.RaiseCoverage(x, 0.5f + 0.5f * static_cast<float>((x ^ y) & 7) / 7.0f);
            canvas.SetPaintColour(AColor(x * 0.0005f, y * 0.0009f, 0.5f, 0.9f));
            canvas.DepositPaint(x, y);
        }
    }
}

template <class Canvas> void setUp(Bitmap& bitmap, Canvas& canvas)
{
    canvas.Init(&bitmap);
    canvas.Load(true);
    for (int y = 0; y < benchHeight; ++y)
        for (int x = 0; x < benchWidth; ++x)
            canvas.SetMask(x, y, 255);
}

// RaiseCoverage, SetPaintColour and DepositPaint per pixel over 256 x 256 pixels that already
// hold wet paint, so the pick-up runs too.
template <class Canvas> void BM_DepositPaint(benchmark::State& state)
{
    Bitmap bitmap(benchWidth, benchHeight);
    Canvas canvas;
    setUp(bitmap, canvas);
    wetArea(canvas, quarter);
    canvas.Bleed(0.2f);
    preparePaint(canvas);
    constexpr int block = 256;
    for (auto _ : state) {
        for (int y = 0; y < block; ++y) {
            canvas.SelectRow(y);
            for (int x = 0; x < block; ++x) {
                canvas.RaiseCoverage(x, 0.8f);
                canvas.SetPaintColour(AColor(0.7f, 0.2f, 0.1f, 0.8f));
                canvas.DepositPaint(x, y);
            }
        }
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * block * block);
}

// One Bleed(0.2) with wet paint on a quarter of the canvas (Bleed) or on a 200 x 200 patch with
// the rest dry (BleedPatch); the paint is laid afresh every eight passes (outside the timing) so
// the passes measured are the early, busy ones.
template <class Canvas> void bleedPasses(benchmark::State& state, const WetArea& area)
{
    Bitmap bitmap(benchWidth, benchHeight);
    Canvas canvas;
    setUp(bitmap, canvas);
    int passes = 0;
    for (auto _ : state) {
        if (passes++ % 8 == 0) {
            state.PauseTiming();
            wetArea(canvas, area);
            state.ResumeTiming();
        }
        benchmark::DoNotOptimize(canvas.Bleed(0.2f));
    }
    state.SetItemsProcessed(state.iterations() * benchWidth * benchHeight);
}

template <class Canvas> void BM_Bleed(benchmark::State& state) { bleedPasses<Canvas>(state, quarter); }
template <class Canvas> void BM_BleedPatch(benchmark::State& state) { bleedPasses<Canvas>(state, patch); }

BENCHMARK(BM_DepositPaint<vml::vmlRaster>)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DepositPaint<vml::vmlRasterRS>)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Bleed<vml::vmlRaster>)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Bleed<vml::vmlRasterRS>)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BleedPatch<vml::vmlRaster>)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BleedPatch<vml::vmlRasterRS>)->Unit(benchmark::kMicrosecond);

}  // namespace
