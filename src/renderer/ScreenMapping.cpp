#include "renderer/ScreenMapping.h"

namespace vml {

namespace {

// 1 / n, or 0 for an empty extent (nothing maps onto it).
float reciprocal(float n) { return n > 0.0f ? 1.0f / n : 0.0f; }

}  // namespace

ScreenMapping ScreenMapping::regionCrop(int renderWidth, int renderHeight, int regionMinX, int regionMinY)
{
    return {{reciprocal(static_cast<float>(renderWidth)), reciprocal(static_cast<float>(renderHeight))},
            static_cast<float>(regionMinX),
            static_cast<float>(renderHeight - regionMinY)};
}

ScreenMapping ScreenMapping::blowUp(int canvasWidth, int canvasHeight, Point2 factor, int renderHeight,
                                    int regionMinX, int regionMinY)
{
    return {{reciprocal(static_cast<float>(canvasWidth) * factor.x),
             reciprocal(static_cast<float>(canvasHeight) * factor.y)},
            static_cast<float>(regionMinX) * factor.x,
            static_cast<float>(renderHeight - regionMinY) * factor.y};
}

ScreenMapping ScreenMapping::whole(int canvasWidth, int canvasHeight)
{
    return {{reciprocal(static_cast<float>(canvasWidth)), reciprocal(static_cast<float>(canvasHeight))},
            0.0f,
            static_cast<float>(canvasHeight)};
}

ScreenMapping ScreenMapping::forRender(RendType type, int renderWidth, int renderHeight, int canvasWidth,
                                       int canvasHeight, const FrameRendParams& frame)
{
    switch (type) {
    case RENDTYPE_REGIONCROP: return regionCrop(renderWidth, renderHeight, frame.regxmin, frame.regymin);
    case RENDTYPE_BLOWUP:
        return blowUp(canvasWidth, canvasHeight, frame.blowupFactor, renderHeight, frame.regxmin,
                      frame.regymin);
    default: return whole(canvasWidth, canvasHeight);
    }
}

}  // namespace vml
