#include "line/LineCompositing.h"

#include "line/LineBands.h"
#include "line/LineCoverageSoftening.h"
#include "paint/Blend.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace vml {
namespace {

constexpr float channelMax = 65535.0f;

float fromChannel(std::uint16_t c) { return static_cast<float>(c) / channelMax; }

// Truncating; values outside 0..1 (and NaN) are held to the channel's range.
std::uint16_t toChannel(float v)
{
    float scaled = v * channelMax;
    scaled = scaled > 0.0f ? scaled : 0.0f;
    scaled = scaled < channelMax ? scaled : channelMax;
    return static_cast<std::uint16_t>(scaled);
}

void compositeLayerRow(Bitmap& target, int y, const std::vector<AColor>& layer,
                       std::vector<BMM_Color_64>& buffer)
{
    const int n = target.GetPixels(0, y, static_cast<int>(layer.size()), buffer.data());
    for (int x = 0; x < n; ++x) {
        const AColor& line = layer[static_cast<std::size_t>(x)];
        BMM_Color_64& p = buffer[static_cast<std::size_t>(x)];
        const float la = line.a;
        const float keep = 1.0f - la;
        p = {toChannel(line.r * la + fromChannel(p.r) * keep),
             toChannel(line.g * la + fromChannel(p.g) * keep),
             toChannel(line.b * la + fromChannel(p.b) * keep),
             toChannel(1.0f - (1.0f - fromChannel(p.a)) * keep)};
    }
    if (n > 0)
        target.PutPixels(0, y, n, buffer.data());
}

}  // namespace

bool compositeLines(const LineSettings& s, const LineCanvas& coverage, const LineCanvas& fade, Bitmap& bitmap,
                    std::span<Bitmap* const> lineElementBitmaps, bool lineOutRenderElement,
                    const LineMapSample& map, RendProgressCallback* progress, ArenaHooks* memory)
{
    const int width = bitmap.Width(), height = bitmap.Height();
    if (!bitmap.HasStorage() || coverage.width != width || coverage.height != height || fade.width != width ||
        fade.height != height)
        return true;
    const SoftenedCoverage softened(coverage, memory);
    const int method = blendMethodId(s.lineBlend);
    bool anyElement = false;
    for (Bitmap* element : lineElementBitmaps)
        anyElement = anyElement || (element && element->HasStorage());

    auto compositeBand = [&](int y0, int y1) {
        checkAllocation(memory, AllocationSite::lineBuffer);
        std::vector<BMM_Color_64> copy(lineOutRenderElement ? static_cast<std::size_t>(width) : 0);
        std::vector<BMM_Color_64> elementRow(anyElement ? static_cast<std::size_t>(width) : 0);
        std::vector<AColor> layer(anyElement ? static_cast<std::size_t>(width) : 0);
        std::vector<float> means(static_cast<std::size_t>(width));
        for (int y = y0; y < y1; ++y) {
            // Lines kept out of the bitmap are blended over a copy of its row.
            BMM_Color_64* row = bitmap.Row(y);
            if (lineOutRenderElement) {
                bitmap.GetPixels(0, y, width, copy.data());
                row = copy.data();
            }
            if (anyElement)
                std::fill(layer.begin(), layer.end(), AColor(0.0f, 0.0f, 0.0f, 0.0f));
            softened.meanRow(y, means.data());
            for (int x = 0; x < width; ++x) {
                // No coverage in the window: the line alpha is 0 (the most common case by far).
                const float m = means[static_cast<std::size_t>(x)];
                if (m == 0.0f)
                    continue;
                const float a = softened.sharpen(x, y, m * s.lineAlpha * 0.01f) * fade.at(x, y);
                if (!(a > 0.0f))
                    continue;
                BMM_Color_64& p = row[x];
                Color colour(fromChannel(p.r), fromChannel(p.g), fromChannel(p.b));
                Blend(colour, lineColourAt(s, map, x, y, width, height), a, method);
                colour.ClampMinMax();
                p = {toChannel(colour.r), toChannel(colour.g), toChannel(colour.b),
                     toChannel(1.0f - (1.0f - fromChannel(p.a)) * (1.0f - a))};
                if (anyElement)
                    layer[static_cast<std::size_t>(x)] = AColor(colour, std::min(a, 1.0f));
            }
            for (Bitmap* element : lineElementBitmaps)
                if (element && element->HasStorage())
                    compositeLayerRow(*element, y, layer, elementRow);
        }
    };

    // A map is evaluated through one shade context, so its rows are composited in order on this
    // thread. Progress is reported, and an abort answered, between batches of bands.
    const bool inOrder = s.lineMapEnable != 0 && map;
    const int batchRows = progress ? lineBandRows * 8 : height;
    for (int y0 = 0; y0 < height; y0 += batchRows) {
        if (progress && progress->Progress(height + y0, 2 * height) == RENDPROG_ABORT)
            return false;
        const int y1 = std::min(y0 + batchRows, height);
        if (inOrder)
            compositeBand(y0, y1);
        else
            forEachLineBand(y0, y1, compositeBand);
    }
    return true;
}

}  // namespace vml
