#include "line/LineCompositing.h"

#include "paint/Blend.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace vml {
namespace {

constexpr float channelMax = 65535.0f;
constexpr int meanRadius = 3;  // the 7 x 7 softening window

float fromChannel(std::uint16_t c) { return static_cast<float>(c) / channelMax; }

// Truncating; values outside 0..1 (and NaN) are held to the channel's range.
std::uint16_t toChannel(float v)
{
    float scaled = v * channelMax;
    scaled = scaled > 0.0f ? scaled : 0.0f;
    scaled = scaled < channelMax ? scaled : channelMax;
    return static_cast<std::uint16_t>(scaled);
}

// Summed-area table of a canvas, one extra row and column of zeros in front.
class AreaSums {
public:
    explicit AreaSums(const LineCanvas& canvas)
        : stride_(static_cast<std::size_t>(canvas.width) + 1),
          sums_(stride_ * (static_cast<std::size_t>(canvas.height) + 1), 0.0)
    {
        for (int y = 0; y < canvas.height; ++y) {
            double rowSum = 0.0;
            for (int x = 0; x < canvas.width; ++x) {
                rowSum += canvas.at(x, y);
                sums_[index(x + 1, y + 1)] = sums_[index(x + 1, y)] + rowSum;
            }
        }
    }
    // Sum over columns x0..x1 and rows y0..y1, inclusive.
    double sum(int x0, int y0, int x1, int y1) const
    {
        return sums_[index(x1 + 1, y1 + 1)] - sums_[index(x0, y1 + 1)] - sums_[index(x1 + 1, y0)] +
               sums_[index(x0, y0)];
    }

private:
    std::size_t index(int x, int y) const { return static_cast<std::size_t>(y) * stride_ + x; }
    std::size_t stride_;
    std::vector<double> sums_;
};

float lineAlphaAt(const LineSettings& s, const LineCanvas& coverage, const LineCanvas& fade,
                  const AreaSums& sums, int x, int y)
{
    const int x0 = std::max(x - meanRadius, 0), x1 = std::min(x + meanRadius, coverage.width - 1);
    const int y0 = std::max(y - meanRadius, 0), y1 = std::min(y + meanRadius, coverage.height - 1);
    const int count = (x1 - x0 + 1) * (y1 - y0 + 1);
    float a = static_cast<float>(sums.sum(x0, y0, x1, y1) / count) * s.lineAlpha * 0.01f;
    for (int j = std::max(y - 1, 0); j <= std::min(y + 1, coverage.height - 1); ++j)
        for (int i = std::max(x - 1, 0); i <= std::min(x + 1, coverage.width - 1); ++i) {
            const float c = coverage.at(i, j);
            a *= 0.7f * c * c + 0.3f;
        }
    return a * fade.at(x, y);
}

Color lineColourAt(const LineSettings& s, const LineMapSample& map, int x, int y, int width, int height)
{
    Color colour(s.lineColor[0], s.lineColor[1], s.lineColor[2]);
    if (s.lineMapEnable == 0 || !map)
        return colour;
    const float u = (static_cast<float>(x) + 0.5f) / static_cast<float>(width);
    const float v = (static_cast<float>(height - y) - 0.5f) / static_cast<float>(height);
    const AColor sample = map(x, y, u, v);
    const float m = sample.a * s.lineMapOpacity * 0.01f;
    return colour * (1.0f - m) + Color(sample) * m;
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
    const AreaSums sums(coverage);
    const int method = blendMethodId(s.lineBlend);
    std::vector<BMM_Color_64> row(static_cast<std::size_t>(width));
    std::vector<BMM_Color_64> elementRow(static_cast<std::size_t>(width));
    std::vector<AColor> layer(static_cast<std::size_t>(width));

    for (int y = 0; y < height; ++y) {
        bitmap.GetPixels(0, y, width, row.data());
        for (int x = 0; x < width; ++x) {
            const float a = lineAlphaAt(s, coverage, fade, sums, x, y);
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
