#pragma once
// The full canvas: colour and wet-paint layer both at full resolution, one RasterPixel per pixel.

#include "paint/CanvasPixels.h"
#include "paint/RasterRows.h"

namespace vml {

class vmlRaster final : public RasterRows<RasterPixel> {
public:
    // Stores the value held to 0..255.
    void SetMask(int x, int y, int value) override;
    bool Bleed(float strength) override;
    // y is ignored: the deposit works on the selected row.
    void DepositPaint(int x, int y) override;
};

}  // namespace vml
