#include "paint/BrushPreview.h"

#include "host/IParamBlock2.h"
#include "paint/BrushShape.h"
#include "paint/vmlBrush.h"
#include "paint/vmlBrushParamBlock.h"

#include <cmath>
#include <cstddef>

namespace vml {

BrushPreviewShape readBrushPreviewShape(IParamBlock2& block, TimeValue t)
{
    using namespace brushMapParam;
    BrushPreviewShape r;
    r.type = block.GetInt(brushMapType, t);
    r.stretch = block.GetFloat(brushMapStretch, t);
    r.angle = block.GetFloat(brushMapAngle, t);
    r.groove = block.GetFloat(brushMapGroove, t);
    r.grooveNum = block.GetInt(brushMapGrooveNUM, t);
    r.size = block.GetFloat(brushMapSize, t);
    r.sizeRnd = block.GetFloat(brushMapSizeRnd, t);
    r.anti = block.GetFloat(brushMapAnti, t);
    r.hSpace = block.GetFloat(brushMapHSpace, t);
    r.hSpaceRand = block.GetFloat(brushMapHSpaceRand, t);
    r.vSpace = block.GetFloat(brushMapVSpace, t);
    r.vSpaceRand = block.GetFloat(brushMapVSpaceRand, t);
    r.dampStart = block.GetFloat(brushMapDampStart, t);
    r.dampEnd = block.GetFloat(brushMapDampEnd, t);
    return r;
}

std::vector<std::uint8_t> renderBrushPreview(vmlBrush& brush, TimeValue t, int width, int height)
{
    if (width <= 0 || height <= 0)
        return {};
    Interval valid = FOREVER;
    brush.Update(t, valid);
    brush.setVariant(0, 0);
    const BrushShape& shape = brush.shape();

    const auto w = static_cast<std::size_t>(width);
    std::vector<std::uint8_t> image(w * static_cast<std::size_t>(height), 0);
    const float fw = static_cast<float>(width), fh = static_cast<float>(height);
    for (int y = 1; y + 1 < height; ++y) {
        const float v = 1.0f - static_cast<float>(y) / fh;
        std::uint8_t* row = image.data() + static_cast<std::size_t>(y) * w;
        for (int x = 1; x + 1 < width; ++x) {
            const float s = tipShape(shape, static_cast<float>(x) / fw, v, 0);
            row[x] = static_cast<std::uint8_t>(std::trunc((1.0f - s) * 255.0f));
        }
    }
    return image;
}

}  // namespace vml
