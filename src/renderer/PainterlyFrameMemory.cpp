#include "renderer/PainterlyFrameMemory.h"

#include "host/Color.h"
#include "paint/CanvasPixels.h"
#include "renderer/PixelSample.h"
#include "renderer/SampleGrid.h"

#include <cstdint>

namespace vml {

std::vector<PainterlyPixelBytes> painterlyBytesPerPixel(const RendererSettings& settings, int gbufferBytes)
{
    std::vector<PainterlyPixelBytes> parts;
    if (settings.saveMemory) {
        // Full-resolution colour records and masks, and per 2 x 2 block a wet cell with its mask
        // sum and flow pass count.
        parts.push_back(
            {"paint canvas", double(sizeof(RasterRSPixel) + sizeof(std::uint8_t)) +
                                 double(sizeof(WetCell) + sizeof(float) + sizeof(std::uint32_t)) / 4.0});
    } else {
        parts.push_back({"paint canvas", double(sizeof(RasterPixel))});
    }
    parts.push_back({"sample list heads", double(sizeof(SampleGrid::Index))});
    parts.push_back({"samples", kSamplesPerPixel * double(sizeof(PixelSample) + sizeof(SampleGrid::Index))});
    parts.push_back({"strokes", kStrokeBytesPerPixel});
    if (settings.multipassEnable)
        parts.push_back({"multipass G-buffer copy", double(gbufferBytes)});
    if (settings.penStrokeEnable)
        parts.push_back({"pen stroke bitmap", double(sizeof(BMM_Color_64))});
    return parts;
}

}  // namespace vml
