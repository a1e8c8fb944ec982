#include "line/LineCompositing.h"

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

float lineAlphaAt(const LineSettings& s, const LineCanvas& fade, const SoftenedCoverage& softened, int x,
                  int y)
{
    const float a = softened.mean(x, y) * s.lineAlpha * 0.01f;
    return softened.sharpen(x, y, a) * fade.at(x, y);
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
                    const LineMapSample& map, RendProgressCallback* progress)
{
    const int width = bitmap.Width(), height = bitmap.Height();
    if (!bitmap.HasStorage() || coverage.width != width || coverage.height != height || fade.width != width ||
        fade.height != height)
        return true;
    const SoftenedCoverage softened(coverage);
    const int method = blendMethodId(s.lineBlend);
    std::vector<BMM_Color_64> row(static_cast<std::size_t>(width));
    std::vector<BMM_Color_64> elementRow(static_cast<std::size_t>(width));
    std::vector<AColor> layer(static_cast<std::size_t>(width));

    for (int y = 0; y < height; ++y) {
        bitmap.GetPixels(0, y, width, row.data());
        for (int x = 0; x < width; ++x) {
            const float a = lineAlphaAt(s, fade, softened, x, y);
            AColor& line = layer[static_cast<std::size_t>(x)];
            if (!(a > 0.0f)) {
                line = AColor(0.0f, 0.0f, 0.0f, 0.0f);
                continue;
            }
            BMM_Color_64& p = row[static_cast<std::size_t>(x)];
            Color colour(fromChannel(p.r), fromChannel(p.g), fromChannel(p.b));
            Blend(colour, lineColourAt(s, map, x, y, width, height), a, method);
            colour.ClampMinMax();
            p = {toChannel(colour.r), toChannel(colour.g), toChannel(colour.b),
                 toChannel(1.0f - (1.0f - fromChannel(p.a)) * (1.0f - a))};
            line = AColor(colour, std::min(a, 1.0f));
        }
        if (!lineOutRenderElement)
            bitmap.PutPixels(0, y, width, row.data());
        for (Bitmap* element : lineElementBitmaps)
            if (element && element->HasStorage())
                compositeLayerRow(*element, y, layer, elementRow);
        if (y % 4 == 0 && progress && progress->Progress(height + y, 2 * height) == RENDPROG_ABORT)
            return false;
    }
    return true;
}

}  // namespace vml
