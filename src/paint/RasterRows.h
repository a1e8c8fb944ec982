#pragma once
// The full-resolution pixel rows and every canvas operation that touches only their colour,
// and coverage, shared by both canvas kinds. Pixel is RasterPixel or RasterRSPixel: a record that
// starts with `AColor colour` and has `float coverage`.
// The rows lie in one large block; the painter fetches a row pointer once per row.

#include "host/LargeBlock.h"
#include "paint/vmlRasterBase.h"

#include <cassert>
#include <cstdint>
#include <memory>
#include <vector>

namespace vml {

template <class Pixel> class RasterRows : public vmlRasterBase {
public:
    int Load(bool replace) override;
    void Store() override;
    void ClampColours() override;
    int LoadColour(const Bitmap* source) override;
    void WriteOutput(Bitmap* output, std::span<Bitmap* const> lineElementBitmaps, bool skipMain) override;
    void BlendPixel(int x, int y, const AColor& colour, float amount, int methodIndex) override;
    void SetPixel(int x, int y, const AColor& colour) override
    {
        pixel(x, y).colour = colour;
        colourChanged(y);
    }
    AColor GetPixel(int x, int y) const override { return pixel(x, y).colour; }
    void SelectRow(int y) override;
    void SelectRowTracked(int y) override;
    void RaiseCoverage(int x, float value) override;
    int RaiseCoverageRun(int x, const float* values, int count, float scale) override;
    float GetCoverage(int x) const override { return selectedPixel(x).coverage; }
    float GetCoverageAt(int x, int y) const override { return pixel(x, y).coverage; }
    void ClearCoverage(int x) override { selectedPixel(x).coverage = 0.0f; }
    bool IsAllocated() const override { return !rows_.empty(); }

    // The whole record of a pixel inside the canvas.
    const Pixel& pixelAt(int x, int y) const { return pixel(x, y); }

protected:
    void allocateStorage() override;
    void freeStorage() override;

    Pixel& pixel(int x, int y)
    {
        assert(insideCanvas(x, y));
        return rows_[y][x];
    }
    const Pixel& pixel(int x, int y) const
    {
        assert(insideCanvas(x, y));
        return rows_[y][x];
    }
    Pixel& selectedPixel(int x)
    {
        assert(selected_ && x >= 0 && x < width_);
        return selected_[x];
    }
    const Pixel& selectedPixel(int x) const
    {
        assert(selected_ && x >= 0 && x < width_);
        return selected_[x];
    }

    // Row y's colours may have left [0, 1] since the last clamp. Every colour write marks its
    // row (the painter's through SelectRow), so a clamp can pass over the other rows.
    void colourChanged(int y) { unclamped_[static_cast<std::size_t>(y)] = 1; }

    LargeArray<Pixel> storage_;
    std::vector<Pixel*> rows_;
    Pixel* selected_ = nullptr;

private:
    enum class LoadMode { composite, replace, colourOnly };
    // Runs band(first, last) over the rows in bands of a fixed height on the render workers;
    // each band touches only its own rows.
    template <class Band> void forEachRowBand(const Band& band);
    void loadRows(const Bitmap* source, LoadMode mode);

    std::vector<std::uint8_t> unclamped_;  // per row: 1 when colourChanged since the last clamp
};

struct RasterPixel;
struct RasterRSPixel;
extern template class RasterRows<RasterPixel>;
extern template class RasterRows<RasterRSPixel>;

}  // namespace vml
