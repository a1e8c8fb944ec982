#pragma once
// Turns screen polygons into the fragments of one image row. Rows are independent: any row may be
// rasterised on any thread and gives the same fragments.

#include "standalone/scanline/Fragment.h"
#include "standalone/scanline/ScreenPolygon.h"

#include <cstdint>
#include <span>
#include <vector>

namespace standalone::scanline {

// Polygon indices grouped by bands of rows, so a row only looks at polygons that can reach it.
class PolygonBins {
public:
    PolygonBins(const std::vector<ScreenPolygon>& polygons, int height, int rowsPerBand);
    std::span<const std::uint32_t> forRow(int y) const;

private:
    int rowsPerBand_;
    std::vector<std::vector<std::uint32_t>> bands_;
};

// Fragments of row y, in fragmentBefore order. Antialiased: 4 x 4 samples per pixel; otherwise the
// pixel centre alone decides, and a covered pixel is covered whole.
void rasterizeRow(const ScanlineView& view, const std::vector<ScreenPolygon>& polygons,
                  std::span<const std::uint32_t> candidates, int y, bool antialias,
                  std::vector<Fragment>& out);

}  // namespace standalone::scanline
