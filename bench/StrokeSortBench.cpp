// Filing and depth-sorting one pass's worth of stroke records: 1,000,000 records whose depths
// arrive ascending, descending or in random order. Each iteration resets the list (keeping its
// chunks), files every record and sorts; the time is per pass, in seconds.
#include "renderer/StrokeList.h"
#include "renderer/StrokePaintContext.h"
#include "renderer/vmlStrokeRecord.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <new>
#include <random>
#include <vector>

namespace {

// The size and shape of the material's stroke record.
class BenchStroke final : public vml::vmlStrokeRecord {
public:
    explicit BenchStroke(float depth, std::uint32_t i)
        : vmlStrokeRecord(depth), x(static_cast<float>(i % 1920)), y(static_cast<float>(i / 1920)),
          face(static_cast<std::int32_t>(i))
    {}
    BenchStroke(const BenchStroke&) = default;
    void paint(vml::StrokePaintContext&) override {}
    std::size_t size() const override { return sizeof(BenchStroke); }
    vmlStrokeRecord* copyTo(void* storage) const override { return new (storage) BenchStroke(*this); }
    std::uint64_t orderKey() const override
    {
        return (std::uint64_t{static_cast<std::uint32_t>(face)} << 32) | static_cast<std::uint32_t>(node);
    }

    float x, y;
    std::int32_t node = 1;
    std::uint16_t seed = 0;
    std::uint8_t colour[4] = {};
    std::int32_t face;
    std::uint32_t normal = 0;
    const void* material = nullptr;
};

enum Order { ascending, descending, random };
constexpr std::uint32_t strokeCount = 1'000'000;

std::vector<float> depths(Order order)
{
    std::vector<float> d(strokeCount);
    std::mt19937 rng(2012);
    std::uniform_real_distribution<float> any(-500.0f, -1.0f);
    for (std::uint32_t i = 0; i < strokeCount; ++i) {
        const float t = static_cast<float>(i) / strokeCount;
        d[i] = order == ascending    ? -500.0f + 499.0f * t
               : order == descending ? -1.0f - 499.0f * t
                                     : any(rng);
    }
    return d;
}

void BM_FileAndSortStrokes(benchmark::State& state)
{
    const auto order = static_cast<Order>(state.range(0));
    const std::vector<float> d = depths(order);
    vml::StrokeList list;
    for (auto _ : state) {
        if (!list.reset())
            state.SkipWithError("stroke arenas could not be set up");
        for (std::uint32_t i = 0; i < strokeCount; ++i)
            list.fileStroke(BenchStroke(d[i], i));
        list.sortByDepth();
        benchmark::DoNotOptimize(&list.stroke(0));
    }
    state.SetItemsProcessed(state.iterations() * strokeCount);
    state.SetLabel(order == ascending ? "ascending" : order == descending ? "descending" : "random");
}
BENCHMARK(BM_FileAndSortStrokes)
    ->Arg(ascending)
    ->Arg(descending)
    ->Arg(random)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();

}  // namespace
