#include "renderer/PenStrokeLayer.h"

#include "host/Bitmap.h"
#include "host/RendParams.h"
#include "paint/vmlRasterBase.h"

#include <algorithm>
#include <vector>

namespace vml {

bool compositePenStrokeLayer(vmlRasterBase& canvas, const Bitmap& layer, float alpha, int blendIndex,
                             RendProgressCallback* progress)
{
    const int width = std::min(canvas.width(), layer.Width());
    const int height = std::min(canvas.height(), layer.Height());
    if (width <= 0 || height <= 0)
        return true;
    constexpr float channelMax = 65535.0f;
    std::vector<BMM_Color_64> row(static_cast<std::size_t>(width));
    for (int y = 0; y < height; ++y) {
        layer.GetPixels(0, y, width, row.data());
        for (int x = 0; x < width; ++x) {
            const BMM_Color_64& p = row[static_cast<std::size_t>(x)];
            if (p.a == 0)
                continue;
            const float a = static_cast<float>(p.a) / channelMax;
            const AColor colour(static_cast<float>(p.r) / channelMax / a,
                                static_cast<float>(p.g) / channelMax / a,
                                static_cast<float>(p.b) / channelMax / a, 1.0f);
            canvas.BlendPixel(x, y, colour, a * alpha, blendIndex);
        }
        if (progress && y % 16 == 0 && progress->Progress(y + 16, height) == RENDPROG_ABORT)
            return false;
    }
    return true;
}

}  // namespace vml
