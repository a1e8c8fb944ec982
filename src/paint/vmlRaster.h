#pragma once
// The full canvas: colour and wet-paint layer both at full resolution, one RasterPixel per pixel.

#include "paint/CanvasPixels.h"
#include "paint/RasterRows.h"

namespace vml {

class vmlRaster final : public RasterRows<RasterPixel> {
public:
    int Load(bool replace) override;
    int LoadColour(const Bitmap* source) override;
    // Stores the value held to 0..255.
    void SetMask(int x, int y, int value) override;
    bool Bleed(float strength) override;
    // y is ignored: the deposit works on the selected row.
    void DepositPaint(int x, int y) override;

protected:
    void allocateStorage() override;
    void freeStorage() override;

private:
    // Per row, the columns that may hold wet state (water, flow or incoming paint); every pixel
    // outside holds none, so a bleed pass skips it without reading it. Empty: (width, -1).
    void widenWetSpan(int y, int from, int to);
    void clearWetSpans();

    std::vector<int> wetFirst_, wetLast_;
};

}  // namespace vml
