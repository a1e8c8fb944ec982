#pragma once
// Where the canvas's pixels lie on the screen of the full render: pixel (x, y) has screen
// coordinate u = (x0 + x + 0.5) x scale.x, v = (y0 - y - 0.5) x scale.y, (0, 0) bottom-left.

#include "host/Point2.h"
#include "host/RendParams.h"

namespace vml {

struct ScreenMapping {
    Point2 scale;
    float x0 = 0.0f;
    float y0 = 0.0f;

    // A region-crop render: the canvas is the region of a renderWidth x renderHeight image.
    static ScreenMapping regionCrop(int renderWidth, int renderHeight, int regionMinX, int regionMinY);
    // A blow-up render: the canvas shows the region magnified by `factor`.
    static ScreenMapping blowUp(int canvasWidth, int canvasHeight, Point2 factor, int renderHeight,
                                int regionMinX, int regionMinY);
    // Any other render: the canvas is the whole image.
    static ScreenMapping whole(int canvasWidth, int canvasHeight);
    // The mapping for the render type, from the render size and the frame's region and factors.
    static ScreenMapping forRender(RendType type, int renderWidth, int renderHeight, int canvasWidth,
                                   int canvasHeight, const FrameRendParams& frame);

    Point2 screenUV(int x, int y) const
    {
        return {(x0 + static_cast<float>(x) + 0.5f) * scale.x, (y0 - static_cast<float>(y) - 0.5f) * scale.y};
    }
};

}  // namespace vml
