#include "app/BlendChart.h"

#include "host/ColorSpace.h"
#include "paint/Blend.h"
#include "paint/vmlRaster.h"

#include <new>

namespace app {

namespace {

constexpr int columns = 4;

AColor baseAt(int u)  // hue ramp, full saturation, slightly darkened towards the right
{
    float f = static_cast<float>(u) / (blendChartTile - 1);
    return AColor(HSVtoRGB({f, 0.85f, 1.0f - 0.35f * f}), 1.0f);
}

AColor topAt(int v)  // from a cool dark blue through mid grey to a warm light orange
{
    float f = static_cast<float>(v) / (blendChartTile - 1);
    Color dark(0.05f, 0.10f, 0.35f), mid(0.5f, 0.5f, 0.5f), light(1.0f, 0.85f, 0.55f);
    Color c = f < 0.5f ? dark + (mid - dark) * (f * 2.0f) : mid + (light - mid) * (f * 2.0f - 1.0f);
    return AColor(c, 1.0f);
}

}  // namespace

bool paintBlendChart(Bitmap& bitmap)
{
    const int size = columns * blendChartTile + (columns + 1) * blendChartGap;
    bitmap.Allocate(size, size);
    vml::vmlRaster canvas;
    try {
        canvas.Init(&bitmap);
    } catch (const std::bad_alloc&) {
        return false;
    }
    canvas.Load(true);
    for (int position = 0; position < vml::blendMethodCount; ++position) {
        int x0 = blendChartGap + (position % columns) * (blendChartTile + blendChartGap);
        int y0 = blendChartGap + (position / columns) * (blendChartTile + blendChartGap);
        for (int v = 0; v < blendChartTile; ++v)
            for (int u = 0; u < blendChartTile; ++u) {
                canvas.SetPixel(x0 + u, y0 + v, baseAt(u));
                canvas.BlendPixel(x0 + u, y0 + v, topAt(v), 1.0f, position);
            }
    }
    canvas.Store();
    return true;
}

}  // namespace app
