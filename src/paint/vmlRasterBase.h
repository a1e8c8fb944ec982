#pragma once
// The abstract canvas: the floating-point picture that strokes are painted onto, bound to a host
// bitmap of the same size. Two kinds implement it (vmlRaster, vmlRasterRS); every caller works
// through these operations only. The order of the virtual operations is the canvas's slot order.
//
// Coordinates: operations that address a pixel directly (BlendPixel, SetPixel, GetPixel,
// GetCoverage, GetCoverageAt, ClearCoverage) are on the painter's per-pixel path and check
// bounds only with assert; callers pass coordinates inside the canvas. Row selection, coverage
// raising, spans and masks ignore coordinates outside the canvas.

#include "host/Bitmap.h"
#include "host/Color.h"
#include "host/Point2.h"

#include <span>
#include <vector>

namespace vml {

// The renderer's hooks into canvas allocation. beforeAllocation runs before every allocation (the
// row-pointer array and each row) and may throw to abandon it (std::bad_alloc: it failed);
// allocationProgress follows each allocated row.
struct CanvasAllocationObserver {
    virtual ~CanvasAllocationObserver() = default;
    virtual void beforeAllocation() = 0;
    virtual void allocationProgress(int row, int rowCount) = 0;
};

// What the painter sets before it deposits a stroke (slots 23-31).
struct CanvasPaintState {
    AColor colour;
    int blendSwitch = 0;    // nonzero: the deposit first blends the paint with the canvas
    int blendMethod = 0;    // list position 0..15, see blendMethodId
    float blendAmount = 0;  // percent
    float water = 0;
    float edge = 0;
    Point2 wind;
    float mix = 0;
    float dry = 0;
};

class vmlRasterBase {
public:
    vmlRasterBase() = default;
    virtual ~vmlRasterBase() = default;
    vmlRasterBase(const vmlRasterBase&) = delete;
    vmlRasterBase& operator=(const vmlRasterBase&) = delete;

    // 0. Sizes the canvas to the bitmap (0 x 0 when it is null or has no storage) and binds it.
    // Rows of an unchanged size are kept with their content. Allocation failure (or an exception
    // from the observer) frees the canvas and propagates; otherwise returns true.
    virtual bool Init(Bitmap* bitmap);
    // 1. Frees all storage and forgets the bitmap; the canvas becomes 0 x 0.
    virtual void Free();
    // 2. Reads the bound bitmap: composited over the canvas, or replacing it when `replace`.
    // Every working field except the mask is reset, the dirty state emptied. Returns the height.
    virtual int Load(bool replace) = 0;
    // 3. Clamps the canvas to 0..1 in place (NaN becomes 0), writes it into the bound bitmap and refreshes
    // the bitmap's window.
    virtual void Store() = 0;
    // What Store does to the canvas, without writing the bitmap: the renderer's intermediate
    // stores when no window shows the bitmap. The canvas is then exactly as after Store.
    virtual void ClampColours() = 0;
    // 4. Copies `source`'s RGB into the canvas with alpha 0 and resets as Load does.
    virtual int LoadColour(const Bitmap* source) = 0;
    // 5. Composites the canvas onto `output` (unless skipMain) and onto each line render
    // element's bitmap. Null bitmaps, bitmaps without storage and bitmaps of another size than
    // the canvas are skipped.
    virtual void WriteOutput(Bitmap* output, std::span<Bitmap* const> lineElementBitmaps, bool skipMain) = 0;
    // 6. Blends `colour` into the pixel with the method at list position methodIndex, then
    // alpha <- 1 - (1 - alpha)(1 - amount). Amount 0 changes nothing.
    virtual void BlendPixel(int x, int y, const AColor& colour, float amount, int methodIndex) = 0;
    virtual void SetPixel(int x, int y, const AColor& colour) = 0;  // 7
    virtual AColor GetPixel(int x, int y) const = 0;                // 8
    virtual void SelectRow(int y) = 0;                              // 9
    // 10. Selects row y and widens the dirty row range to include it.
    virtual void SelectRowTracked(int y) = 0;
    // 11. Empties the column range of every row in the dirty row range, then the row range.
    virtual void ResetDirty();
    // 12. Raises the coverage of pixel x of the selected row to `value` when that is larger; the
    // first nonzero coverage of a pixel widens its row's dirty column range.
    virtual void RaiseCoverage(int x, float value) = 0;
    // RaiseCoverage(x + i, values[i] x scale) for the `count` pixels from x on, skipping zero
    // values; answers how many were nonzero. The painter's dab rows take one call each.
    virtual int RaiseCoverageRun(int x, const float* values, int count, float scale);
    // 13. SelectRowTracked(y), then RaiseCoverage(x, value).
    virtual void StampCoverage(int x, int y, float value);
    virtual float GetCoverage(int x) const = 0;                   // 14, selected row
    virtual float GetCoverageAt(int x, int y) const = 0;          // 15
    virtual void GetDirtyRows(int& first, int& last) const;       // 16, empty: (height, -1)
    virtual void GetRowSpan(int& first, int& last, int y) const;  // 17, empty: (width, -1)
    // 18. The pixel's bleed strength 0..255.
    virtual void SetMask(int x, int y, int value) = 0;
    // 19. One pass of the wet-paint simulation; true while any pixel still took paint.
    virtual bool Bleed(float strength) = 0;
    virtual bool IsAllocated() const = 0;  // 20
    // 21. Deposits the paint state into pixel x of the selected row (y is that row; the
    // half-resolution canvas uses it to find the pixel's wet cell) and sets its coverage to 0.
    virtual void DepositPaint(int x, int y) = 0;
    // DepositPaint with the pixel's coverage taken to be `coverage`: for a painter that keeps a
    // stroke's coverage itself and never raised the pixel's own, which is 0 and stays 0.
    virtual void DepositPaintCovered(int x, int y, float coverage) = 0;
    virtual void ClearCoverage(int x) = 0;  // 22, selected row

    // 23-31. Paint state of the stroke about to be deposited.
    virtual void SetPaintColour(const AColor& colour) { paint_.colour = colour; }
    virtual void SetBlendSwitch(int on) { paint_.blendSwitch = on; }
    virtual void SetBlendMethod(int position) { paint_.blendMethod = position; }
    virtual void SetBlendAmount(float percent) { paint_.blendAmount = percent; }
    virtual void SetWater(float water) { paint_.water = water; }
    virtual void SetEdge(float edge) { paint_.edge = edge; }
    virtual void SetWind(const Point2& wind) { paint_.wind = wind; }
    virtual void SetMix(float mix) { paint_.mix = mix; }
    virtual void SetDry(float dry) { paint_.dry = dry; }

    int width() const { return width_; }
    int height() const { return height_; }
    Bitmap* boundBitmap() const { return bitmap_; }
    const CanvasPaintState& paintState() const { return paint_; }
    // Not owned; null (the default) switches the hooks off.
    void setAllocationObserver(CanvasAllocationObserver* observer) { observer_ = observer; }

protected:
    // Pixel storage of the concrete kind, sized width_ x height_; freeStorage also drops the
    // row selection.
    virtual void allocateStorage() = 0;
    virtual void freeStorage() = 0;

    void beforeAllocation() const;
    void reportAllocation(int row, int rowCount) const;

    bool insideCanvas(int x, int y) const { return x >= 0 && x < width_ && y >= 0 && y < height_; }
    void trackRow(int y);
    void widenRowSpan(int y, int x);
    // Every row's column range and the row range become empty.
    void clearDirtyState();

    int width_ = 0, height_ = 0;
    Bitmap* bitmap_ = nullptr;
    int selectedY_ = -1;
    CanvasPaintState paint_;

private:
    void allocateDirtyArrays();

    int firstDirtyRow_ = 0, lastDirtyRow_ = -1;
    std::vector<int> firstDirtyColumn_, lastDirtyColumn_;
    CanvasAllocationObserver* observer_ = nullptr;
};

}  // namespace vml
