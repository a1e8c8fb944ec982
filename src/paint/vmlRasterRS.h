#pragma once
// The light canvas: colour at full resolution, the wet-paint layer at half resolution in both
// directions. Wet cell (cx, cy) serves the 2 x 2 block of pixels (2cx..2cx+1, 2cy..2cy+1); an
// odd pixel column x is also served by the cell to its right while x >> 1 is below the last wet
// column (width >> 1) - 1, and likewise an odd row by the cell below. Wet paint flows only
// between cells up to that last wet column and row.

#include "paint/CanvasPixels.h"
#include "paint/RasterRows.h"
#include "paint/WetSpans.h"

#include <cstdint>

namespace vml {

class vmlRasterRS final : public RasterRows<RasterRSPixel> {
public:
    bool Init(Bitmap* bitmap) override;
    int Load(bool replace) override;
    int LoadColour(const Bitmap* source) override;
    void ResetDirty() override;
    // Stores the value held to 1..255: a pixel of this kind never has mask 0.
    void SetMask(int x, int y, int value) override;
    bool Bleed(float strength) override;
    bool IsAllocated() const override { return RasterRows::IsAllocated() && !wet_.empty(); }
    void DepositPaint(int x, int y) override { DepositPaintCovered(x, y, selectedPixel(x).coverage); }
    void DepositPaintCovered(int x, int y, float coverage) override;

    // The wet layer keeps more of the wind, less of the mix and a tenth of the dry weight.
    void SetWind(const Point2& wind) override { vmlRasterBase::SetWind(wind * 1.4f); }
    void SetMix(float mix) override { vmlRasterBase::SetMix(mix * 0.9f); }
    void SetDry(float dry) override { vmlRasterBase::SetDry(dry * 0.1f); }

    // Wet grid size: ceil(n / 2) in each direction.
    int wetWidth() const { return (width_ >> 1) + (width_ & 1); }
    int wetHeight() const { return (height_ >> 1) + (height_ & 1); }
    // Last pixel column and row, and the last wet column and row that take part in the flow.
    int lastColumn() const { return width_ - 1; }
    int lastRow() const { return height_ - 1; }
    int lastWetColumn() const { return (width_ >> 1) - 1; }
    int lastWetRow() const { return (height_ >> 1) - 1; }

    // The cells serving a pixel along one axis: `count` (1 or 2) cells from `first`.
    struct CellSpan {
        int first;
        int count;
    };
    CellSpan servingColumns(int x) const { return servingCells(x, lastWetColumn()); }
    CellSpan servingRows(int y) const { return servingCells(y, lastWetRow()); }

    // The cell as the next pass or deposit sees it, its flow brought up to date.
    WetCell cellAt(int cx, int cy) const
    {
        assert(cx >= 0 && cx < wetWidth() && cy >= 0 && cy < wetHeight());
        WetCell cell = wet_[cy][cx];
        std::uint32_t pass = flowPass_[cellIndex(cx, cy)];
        decayIdleFlow(cell, pass, passes_);
        return cell;
    }

    // Off, every bleed pass walks the whole wet grid and every pixel row that a wet cell serves,
    // as if any cell might be wet: the reference the tracking is checked against. On by default.
    void trackWetRegion(bool on) { trackWetRegion_ = on; }

    std::uint8_t maskAt(int x, int y) const
    {
        assert(insideCanvas(x, y));
        return masks_[pixelIndex(x, y)];
    }

protected:
    void allocateStorage() override;
    void freeStorage() override;

private:
    static CellSpan servingCells(int i, int lastWet)
    {
        return {i >> 1, (i & 1) && (i >> 1) < lastWet ? 2 : 1};
    }
    void clearWetGrid();
    std::size_t cellIndex(int cx, int cy) const { return static_cast<std::size_t>(cy) * wetWidth() + cx; }
    std::size_t pixelIndex(int x, int y) const { return static_cast<std::size_t>(y) * width_ + x; }
    // Sum of the masks of the pixels a cell covers (0..1020), kept up to date by SetMask so the
    // outflow need not read four pixels per neighbour.
    float& maskSum(int cx, int cy) { return maskSums_[cellIndex(cx, cy)]; }

    // A cell outside the tracked region holds no water, incoming paint or outflow, so all a pass
    // would do to it is multiply its flow by (dry + 0.8). Those steps wait until the flow is
    // read: `pass` is the number of passes whose step the cell's flow has had, and this applies
    // the missing ones up to `now`, in order, so the flow comes out as if each pass had run.
    static void decayIdleFlow(WetCell& cell, std::uint32_t& pass, std::uint32_t now)
    {
        if (pass != now)
            catchUpFlow(cell, pass, now);
    }
    static void catchUpFlow(WetCell& cell, std::uint32_t& pass, std::uint32_t now);
    // The cell with its flow up to date.
    WetCell& currentCell(int cx, int cy)
    {
        WetCell& cell = wet_[cy][cx];
        decayIdleFlow(cell, flowPass_[cellIndex(cx, cy)], passes_);
        return cell;
    }
    // Coverage a stroke left standing (neither deposited nor cleared) on pixel (x, y) reads as
    // the outflow of cell (x, y) in the next pass; those cells join the tracked region before the
    // dirty spans that locate such pixels are forgotten.
    void keepStandingCoverage();

    void rebuildMaskSums();
    // The wet colour the paint at (x, y) would pick up from its serving cells; false when they
    // hold no wet paint. meanInWeight receives their mean in-weight.
    bool servingWetColour(int x, int y, AColor& wet, float& meanInWeight) const;
    void outflowCellRow(int cy, float h, float a, float b);
    bool settleCellRow(int cy);
    void depositWetRows(float strength);

    LargeArray<WetCell> wetStorage_;
    std::vector<WetCell*> wet_;  // rows of wetStorage_
    // True from the allocation (zero-filled) until a deposit or bleed writes a cell: the first
    // load of a new canvas then need not touch every page of the grid to clear it.
    bool wetGridZero_ = false;
    // Every pixel's mask (1..255), row by row.
    std::vector<std::uint8_t> masks_;
    std::vector<float> maskSums_;
    // The cells of the flow grid (up to the last wet column and row) that may hold water,
    // incoming paint or outflow. After a pass: exactly the cells that hold water.
    WetSpans active_;
    bool trackWetRegion_ = true;
    // Passes run since the grid was cleared, and per cell the passes its flow has had.
    std::uint32_t passes_ = 0;
    std::vector<std::uint32_t> flowPass_;
    // Per cell: 1 when it holds water. Written by each bleed's deposit for the cells it reads,
    // so that its pixels find the dry ones (most of them) without loading the cells.
    std::vector<std::uint8_t> holdsWater_;
};

}  // namespace vml
