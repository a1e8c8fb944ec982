#include "paint/BrushPreview.h"

#include "host/DialogService.h"
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

bool BrushPreviewImage::redraw(vmlBrush& brush, TimeValue t, HWND page, int id, bool force)
{
    IParamBlock2* block = brush.GetParamBlock(0);
    if (!block)
        return false;
    const BrushPreviewShape shape = readBrushPreviewShape(*block, t);
    const bool changed = !drawn_ || !(shape == last_);
    if (changed) {
        last_ = shape;
        drawn_ = true;
        const std::vector<std::uint8_t> grey = renderBrushPreview(brush, t, width_, height_);
        image_.Allocate(width_, height_);
        for (int y = 0; y < height_; ++y) {
            BMM_Color_64* row = image_.Row(y);
            for (int x = 0; row && x < width_; ++x) {
                const auto level = static_cast<std::uint16_t>(
                    grey[std::size_t(y) * std::size_t(width_) + std::size_t(x)] * 257);
                row[x] = BMM_Color_64{level, level, level, 0xFFFF};
            }
        }
    }
    if (changed || force)
        if (DialogService* ui = GetDialogService(); ui && page)
            ui->SetImage(page, id, &image_);
    return changed;
}

}  // namespace vml
