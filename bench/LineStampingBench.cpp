// One line element's drawing on a 1920x1080 edge mask of circle outlines and long straight
// edges: width factors, stamping (with and without motion smear) and straight compositing.
#include "host/Bitmap.h"
#include "line/LineCompositing.h"
#include "line/LineDerived.h"
#include "line/LineStamping.h"
#include "line/WidthFactors.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <vector>

namespace {

using namespace vml;

constexpr int width = 1920;
constexpr int height = 1080;

std::vector<std::uint8_t> edgeImage()
{
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * height, 0);
    auto set = [&](int x, int y) {
        if (x >= 0 && x < width && y >= 0 && y < height)
            pixels[static_cast<std::size_t>(y) * width + x] = 1;
    };
    for (int c = 0; c < 40; ++c) {
        const int cx = 100 + (c * 373) % 1720, cy = 80 + (c * 211) % 920;
        const float r = 20.0f + static_cast<float>((c * 53) % 180);
        for (int a = 0; a < 4000; ++a) {
            const float t = static_cast<float>(a) * 6.2831853f / 4000.0f;
            set(cx + static_cast<int>(std::lround(r * std::cos(t))),
                cy + static_cast<int>(std::lround(r * std::sin(t))));
        }
    }
    for (int x = 0; x < width; ++x)
        set(x, 540), set(x, 900);
    for (int y = 0; y < height; ++y)
        set(960, y);
    return pixels;
}

LineSettings lineSettings(float deform, float blur)
{
    LineSettings s;
    s.lineWidth = 1.5f;
    s.lineDeform = deform;
    s.lineBlur = blur;
    s.lineBlurOffset = 50.0f;
    s.lineAlpha = 100.0f;
    LineShape last;
    updateLineDerived(s, last);
    return s;
}

void BM_WidthFactors(benchmark::State& state)
{
    std::vector<std::uint8_t> pixels = edgeImage();
    const EdgeMask mask{pixels.data(), width, height};
    const LineSettings s = lineSettings(50.0f, 0.0f);
    LineCanvas deform;
    for (auto _ : state) {
        computeWidthFactors(s, mask, deform);
        benchmark::DoNotOptimize(deform.pixels.data());
    }
}
BENCHMARK(BM_WidthFactors)->Unit(benchmark::kMillisecond);

// Argument: lineBlur (0: no smear; motion (6, 4) pixels everywhere).
void BM_StampLines(benchmark::State& state)
{
    std::vector<std::uint8_t> pixels = edgeImage();
    const EdgeMask mask{pixels.data(), width, height};
    const LineSettings s = lineSettings(50.0f, static_cast<float>(state.range(0)));
    LineCanvas deform;
    computeWidthFactors(s, mask, deform);
    std::vector<Point2> motion(pixels.size(), Point2(6.0f, 4.0f));
    GBufferViews views;
    views.velocity = {motion.data(), width, height};
    LineCanvas coverage(width, height), fade(width, height);
    for (auto _ : state) {
        coverage.reset(width, height);
        fade.reset(width, height);
        stampLines(s, mask, deform, views, coverage, fade, nullptr);
        benchmark::DoNotOptimize(coverage.pixels.data());
    }
}
BENCHMARK(BM_StampLines)->Arg(0)->Arg(100)->Unit(benchmark::kMillisecond);

void BM_CompositeLines(benchmark::State& state)
{
    std::vector<std::uint8_t> pixels = edgeImage();
    const EdgeMask mask{pixels.data(), width, height};
    const LineSettings s = lineSettings(0.0f, 0.0f);
    LineCanvas deform, coverage(width, height), fade(width, height);
    computeWidthFactors(s, mask, deform);
    stampLines(s, mask, deform, {}, coverage, fade, nullptr);
    Bitmap bitmap(width, height);
    for (auto _ : state) {
        compositeLines(s, coverage, fade, bitmap, {}, false, {}, nullptr);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CompositeLines)->Unit(benchmark::kMillisecond);

}  // namespace
