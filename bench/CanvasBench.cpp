// Canvas transfers to and from a 1920 x 1080 bitmap for both canvas kinds.
#include "paint/vmlRaster.h"
#include "paint/vmlRasterRS.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int benchWidth = 1920, benchHeight = 1080;

// A bitmap with a gradient and half-transparent pixels, so the composite load takes both paths.
Bitmap makeBitmap()
{
    Bitmap bitmap(benchWidth, benchHeight);
    for (int y = 0; y < benchHeight; ++y) {
        BMM_Color_64* row = bitmap.Row(y);
        for (int x = 0; x < benchWidth; ++x) {
            const auto v = static_cast<std::uint16_t>(x * 34);
            row[x] = {v, static_cast<std::uint16_t>(y * 60), 30000,
                      static_cast<std::uint16_t>((x & 1) ? 32768 : 0)};
        }
    }
    return bitmap;
}

template <class Canvas> void BM_Load(benchmark::State& state)
{
    Bitmap bitmap = makeBitmap();
    Canvas canvas;
    canvas.Init(&bitmap);
    const bool replace = state.range(0) != 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(canvas.Load(replace));
    state.SetItemsProcessed(state.iterations() * benchWidth * benchHeight);
    state.SetLabel(replace ? "replace" : "composite");
}

template <class Canvas> void BM_Store(benchmark::State& state)
{
    Bitmap bitmap = makeBitmap();
    Canvas canvas;
    canvas.Init(&bitmap);
    canvas.Load(true);
    for (auto _ : state) {
        canvas.Store();
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * benchWidth * benchHeight);
}

BENCHMARK(BM_Load<vml::vmlRaster>)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Load<vml::vmlRasterRS>)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Store<vml::vmlRaster>)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Store<vml::vmlRasterRS>)->Unit(benchmark::kMillisecond);

}  // namespace
