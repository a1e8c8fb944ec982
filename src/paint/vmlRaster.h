#pragma once
// The full canvas: colour and wet-paint layer both at full resolution, one RasterPixel per pixel.

#include "paint/CanvasPixels.h"
#include "paint/RasterRows.h"
#include "paint/WetSpans.h"

namespace vml {

class vmlRaster final : public RasterRows<RasterPixel> {
public:
    bool Init(Bitmap* bitmap) override;
    int Load(bool replace) override;
    int LoadColour(const Bitmap* source) override;
    void ResetDirty() override;
    // Stores the value held to 0..255.
    void SetMask(int x, int y, int value) override;
    bool Bleed(float strength) override;
    // y is ignored: the deposit works on the selected row.
    void DepositPaint(int x, int y) override { DepositPaintCovered(x, y, selectedPixel(x).coverage); }
    void DepositPaintCovered(int x, int y, float coverage) override;

    // Off, every bleed pass walks the whole canvas as if any pixel might be wet: the reference
    // the wet-span tracking is checked against. On by default.
    void trackWetRegion(bool on) { trackWetRegion_ = on; }

    std::uint8_t maskAt(int x, int y) const { return pixel(x, y).mask; }

protected:
    void allocateStorage() override;
    void freeStorage() override;

private:
    // Coverage a stroke left standing (neither deposited nor cleared) reads as outflow in the
    // next pass; such pixels join the wet spans before the dirty spans that locate them are
    // forgotten.
    void keepStandingCoverage();

    // Per row, the columns that may hold wet state (water, flow, incoming paint or outflow);
    // every pixel outside holds none, so a bleed pass skips it without reading it.
    WetSpans wet_;
    bool trackWetRegion_ = true;
};

}  // namespace vml
