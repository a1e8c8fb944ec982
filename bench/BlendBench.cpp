// Blend, one benchmark per method; the argument is the list position 0..15.
#include "paint/Blend.h"

#include <benchmark/benchmark.h>

#include <array>
#include <string>

namespace {

void BM_Blend(benchmark::State& state)
{
    const int methodId = vml::blendMethodId(static_cast<int>(state.range(0)));
    // A spread of bases and tops so every branch of the switching methods is taken.
    std::array<Color, 64> bases, tops;
    for (int i = 0; i < 64; ++i) {
        bases[i] = Color(i / 63.0f, (i * 7 % 64) / 63.0f, (i * 13 % 64) / 63.0f);
        tops[i] = Color((i * 29 % 64) / 63.0f, (63 - i) / 63.0f, (i * 5 % 64) / 63.0f);
    }
    int i = 0;
    for (auto _ : state) {
        Color base = bases[i];
        vml::Blend(base, tops[i], 0.75f, methodId);
        benchmark::DoNotOptimize(base);
        i = (i + 1) & 63;
    }
    state.SetItemsProcessed(state.iterations());
    state.SetLabel("id " + std::to_string(methodId));
}
BENCHMARK(BM_Blend)->DenseRange(0, vml::blendMethodCount - 1);

}  // namespace
