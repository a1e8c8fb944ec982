// Brush tip evaluation, the painter's per-pixel cost without the brush cache: one 64 x 64 tile
// of the default brush (bristles, groove) and of a plain single tip per iteration.
#include "paint/BrushShape.h"
#include "shell/RandomTables.h"

#include <benchmark/benchmark.h>

namespace {

void evaluateTile(benchmark::State& state, const vml::BrushShape& shape)
{
    vml::fillRandomTables();
    constexpr int n = 64;
    for (auto _ : state) {
        float sum = 0.0f;
        for (int j = 0; j < n; ++j)
            for (int i = 0; i < n; ++i)
                sum += vml::tipShape(shape, static_cast<float>(i) / n, static_cast<float>(j) / n, 2);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * n * n);
}

void BM_DefaultBrushTile(benchmark::State& state) { evaluateTile(state, vml::BrushShape{}); }

void BM_PlainTipTile(benchmark::State& state)
{
    vml::BrushShape shape;
    shape.type = 0;
    shape.groove = 0.0f;
    shape.derive();
    evaluateTile(state, shape);
}

}  // namespace

BENCHMARK(BM_DefaultBrushTile);
BENCHMARK(BM_PlainTipTile);
