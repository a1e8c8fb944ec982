#include "paint/BleedSteps.h"
#include "paint/vmlRasterRS.h"
#include "shell/WorkerPool.h"

#include <vector>

namespace vml {
namespace {

constexpr EdgeShape cellEdge{0.8f, 0.25f, 4.0f, 4.0f};

// Pixel columns (or rows) served by the cells first..last along one axis: a cell's pair of
// pixels and the odd pixel before it, which it serves together with its left neighbour.
struct PixelRange {
    int first, last;
};
PixelRange servedPixels(int first, int last, int pixels)
{
    return {std::max(2 * first - 1, 0), std::min(2 * last + 1, pixels - 1)};
}

}  // namespace

// Drains every wet cell of row cy and hands its water to the eight neighbouring cells, weighted
// by the mask sum of the receiving cell. The outflow total waits in the coverage field of pixel
// (cx, cy).
void vmlRasterRS::outflowCellRow(int cy, float h, float a, float b)
{
    const int columns = width_ >> 1, rows = height_ >> 1;
    const auto stride = static_cast<std::size_t>(wetWidth());
    WetCell* const cellRows[3] = {cy > 0 ? wet_[cy - 1] : nullptr, wet_[cy],
                                  cy + 1 < rows ? wet_[cy + 1] : nullptr};
    const float* const masks = maskSums_.data() + static_cast<std::size_t>(cy) * stride;
    const float* const maskRows[3] = {masks - stride, masks, masks + stride};
    RasterRSPixel* const outflow = rows_[cy];

    WetCell* const row = cellRows[1];
    const int from = active_.first(cy), to = active_.last(cy);
    int firstSource = columns, lastSource = -1;
    for (int cx = from; cx <= to; ++cx) {
        WetCell& c = row[cx];
        if (c.water == 0.0f)
            continue;
        c.water -= c.water * c.water * b + a;
        if (c.water < 0.0f) {
            c.water = 0.0f;
            continue;
        }
        const std::array<float, 8> weights = flowWeights(h, c.wind);
        const float water = c.water;
        const FlowingPaint paint = flowingPaintOf(c);
        float total = 0.0f;
        for (int i = 0; i < 8; ++i) {
            const int nx = cx + flowSteps[i].dx;
            const int k = flowSteps[i].dy + 1;
            if (!cellRows[k] || nx < 0 || nx >= columns || weights[i] < 0.0f)
                continue;
            const float q = weights[i] * water * maskRows[k][nx];
            receiveWetPaint(cellRows[k][nx], paint, q);
            total += q;
        }
        outflow[cx].coverage = total;
        c.flow += total;
        firstSource = std::min(firstSource, cx);
        lastSource = cx;
    }
    // The receivers wait for their settle, which comes after this row's outflow.
    if (lastSource >= 0)
        for (int k = 0; k < 3; ++k)
            if (cellRows[k])
                active_.widen(cy + k - 1, firstSource - 1, lastSource + 1);
}

// Settles the tracked cells of row cy and narrows the row to the cells still holding water;
// returns whether there are any. The stored dry weight is a tenth of the painted one, hence
// dry + 0.8.
bool vmlRasterRS::settleCellRow(int cy)
{
    WetCell* const row = wet_[cy];
    std::uint32_t* const flowPass = flowPass_.data() + cellIndex(0, cy);
    RasterRSPixel* const outflow = rows_[cy];
    const int from = active_.first(cy), to = active_.last(cy);
    int wetFirst = 0, wetLast = -1;
    for (int cx = from; cx <= to; ++cx) {
        WetCell& c = row[cx];
        // The steps it missed while idle come before this pass's.
        decayIdleFlow(c, flowPass[cx], passes_ - 1);
        if (c.inWeight > 0.0f)
            settleIncoming(c);
        takeOutflow(c.water, c.flow, outflow[cx].coverage);
        c.flow = (c.dry + 0.8f) * c.flow;
        flowPass[cx] = passes_;
        if (c.water != 0.0f) {
            wetFirst = wetLast < 0 ? cx : wetFirst;
            wetLast = cx;
        }
    }
    active_.narrow(cy, wetFirst, wetLast);
    return wetLast >= 0;
}

// Lets the settled wet cells tint every pixel they serve; sPrime is strength / 255. Each pixel
// row reads the cells and writes only its own pixels, so the rows go to the workers in bands of
// a fixed height; the flows the rows read are brought up to date first, so that no band writes a
// cell another band reads.
void vmlRasterRS::depositWetRows(float sPrime)
{
    const int cells = wetWidth(), rows = active_.rows();
    const PixelRange wetRows = servedPixels(active_.firstRow(), active_.lastRow(), height_);
    if (wetRows.first > wetRows.last)
        return;

    // The pixel columns that cell row cy (holding water) serves; false when it holds none.
    auto servedColumns = [&](int cy, PixelRange& columns) {
        if (cy >= rows || active_.empty(cy))
            return false;
        const PixelRange served = trackWetRegion_ ? servedPixels(active_.first(cy), active_.last(cy), width_)
                                                  : PixelRange{0, width_ - 1};
        columns = {std::min(columns.first, served.first), std::max(columns.last, served.last)};
        return true;
    };
    // Per pixel row: the pixels to tint (none: first > last) and the cell columns whose flow they
    // read, those serving them and their left and right neighbours.
    struct RowPlan {
        PixelRange columns{0, -1};
        int firstCell = 0, lastCell = -1;
    };
    std::vector<RowPlan> plans(static_cast<std::size_t>(wetRows.last - wetRows.first + 1));
    // Per cell row, the columns whose flow some pixel row reads.
    std::vector<int> catchUpFirst(static_cast<std::size_t>(wetHeight()), cells),
        catchUpLast(static_cast<std::size_t>(wetHeight()), -1);
    for (int y = wetRows.first; y <= wetRows.last; ++y) {
        const CellSpan servingY = servingRows(y);
        PixelRange columns{width_, -1};
        const bool wet0 = servedColumns(servingY.first, columns);
        const bool wet1 = servingY.count == 2 && servedColumns(servingY.first + 1, columns);
        if (!wet0 && !wet1)
            continue;
        const CellSpan left = servingColumns(std::max(columns.first - 1, 0));
        const CellSpan right = servingColumns(std::min(columns.last + 1, width_ - 1));
        RowPlan& plan = plans[static_cast<std::size_t>(y - wetRows.first)];
        plan = {columns, left.first, right.first + right.count - 1};
        for (int py = std::max(y - 1, 0); py <= std::min(y + 1, height_ - 1); ++py) {
            const CellSpan span = servingRows(py);
            for (int cy = span.first; cy < span.first + span.count; ++cy) {
                catchUpFirst[cy] = std::min(catchUpFirst[cy], plan.firstCell);
                catchUpLast[cy] = std::max(catchUpLast[cy], plan.lastCell);
            }
        }
    }
    // Every cell a pixel row reads is among these, so they are also where it looks for water.
    for (int cy = 0; cy < wetHeight(); ++cy)
        for (int cx = catchUpFirst[cy]; cx <= catchUpLast[cy]; ++cx)
            holdsWater_[cellIndex(cx, cy)] = currentCell(cx, cy).water != 0.0f ? 1 : 0;

    constexpr int bandRows = 16;
    const int bands = (wetRows.last - wetRows.first) / bandRows + 1;
    renderWorkers().run(static_cast<std::size_t>(bands), [&](std::size_t band) {
        const int from = wetRows.first + static_cast<int>(band) * bandRows;
        const int to = std::min(from + bandRows - 1, wetRows.last);
        std::vector<float> scratch(3 * static_cast<std::size_t>(cells));
        // Flow of cell columns first..last summed over the serving rows of one pixel row, for
        // three pixel rows in turn: slot py % 3 holds pixel row cached[slot].row.
        struct CachedSums {
            int row = -1, first = 0, last = -1;
        } cached[3];
        auto flowSumsOf = [&](int py, int first, int last) {
            const int slot = py % 3;
            float* sums = scratch.data() + static_cast<std::size_t>(slot) * cells;
            CachedSums& c = cached[slot];
            if (c.row != py || first < c.first || last > c.last) {
                const CellSpan span = servingRows(py);
                const WetCell* row0 = wet_[span.first];
                const WetCell* row1 = span.count == 2 ? wet_[span.first + 1] : nullptr;
                for (int cx = first; cx <= last; ++cx)
                    sums[cx] = row1 ? row0[cx].flow + row1[cx].flow : row0[cx].flow;
                c = {py, first, last};
            }
            return sums;
        };
        const float* flowSums[3];
        int flowRows[3];
        for (int y = from; y <= to; ++y) {
            const RowPlan& plan = plans[static_cast<std::size_t>(y - wetRows.first)];
            if (plan.columns.first > plan.columns.last)
                continue;
            const CellSpan servingY = servingRows(y);
            // Pixel rows y - 1, y, y + 1; flowRows is how many cell rows went into each sum (0: no
            // such pixel row).
            for (int k = 0; k < 3; ++k) {
                const int py = y - 1 + k;
                flowRows[k] = 0;
                flowSums[k] = nullptr;
                if (py < 0 || py >= height_)
                    continue;
                flowRows[k] = servingRows(py).count;
                flowSums[k] = flowSumsOf(py, plan.firstCell, plan.lastCell);
            }
            auto servedFlow = [&](int px, int k, float& sum, int& count) {
                if (px < 0 || px >= width_ || flowRows[k] == 0)
                    return;
                const CellSpan span = servingColumns(px);
                sum += span.count == 2 ? flowSums[k][span.first] + flowSums[k][span.first + 1]
                                       : flowSums[k][span.first];
                count += span.count * flowRows[k];
            };

            const WetCell* const cellRow0 = wet_[servingY.first];
            const WetCell* const cellRow1 = servingY.count == 2 ? wet_[servingY.first + 1] : nullptr;
            const std::uint8_t* const water0 = holdsWater_.data() + cellIndex(0, servingY.first);
            const std::uint8_t* const water1 = cellRow1 ? water0 + cells : water0;
            RasterRSPixel* const pixels = rows_[y];
            const std::uint8_t* const masks = masks_.data() + pixelIndex(0, y);
            colourChanged(y);
            for (int x = plan.columns.first; x <= plan.columns.last; ++x) {
                const CellSpan servingX = servingColumns(x);
                const int last = servingX.first + servingX.count - 1;
                if (!(water0[servingX.first] | water0[last] | water1[servingX.first] | water1[last]))
                    continue;
                const WetCell* serving[4];
                int n = 0;
                for (int cx = servingX.first; cx <= last; ++cx) {
                    serving[n++] = &cellRow0[cx];
                    if (cellRow1)
                        serving[n++] = &cellRow1[cx];
                }

                float edgeSum = 0.0f, alphaSum = 0.0f;
                Color weighted;
                for (int i = 0; i < n; ++i) {
                    const AColor& c = serving[i]->wetColour;
                    edgeSum += serving[i]->edge;
                    alphaSum += c.a;
                    weighted += Color(c) * c.a;
                }
                // Without opacity the deposit is 0: nothing to lay (and no weights to divide by).
                if (!(alphaSum > 0.0f))
                    continue;
                // n is 1, 2 or 4, so multiplying by its inverse is exact.
                const float perCell = n == 4 ? 0.25f : n == 2 ? 0.5f : 1.0f;
                const AColor wet(weighted.r / alphaSum, weighted.g / alphaSum, weighted.b / alphaSum,
                                 alphaSum * perCell);
                float dep = wet.a * sPrime * static_cast<float>(masks[x]);

                float flowSum = 0.0f;
                int flowCount = 0;
                servedFlow(x, 1, flowSum, flowCount);
                servedFlow(x - 1, 1, flowSum, flowCount);
                servedFlow(x + 1, 1, flowSum, flowCount);
                servedFlow(x, 0, flowSum, flowCount);
                servedFlow(x, 2, flowSum, flowCount);
                dep = shapeDeposit(dep, flowSum / static_cast<float>(flowCount), edgeSum * perCell, cellEdge);
                layWetPaint(pixels[x].colour, wet, dep);
            }
        }
    });
}

bool vmlRasterRS::Bleed(float strength)
{
    if (!IsAllocated())
        return false;
    const float s = bleedStrength(strength);
    const int rows = height_ >> 1;
    if (rows <= 0 || (width_ >> 1) <= 0)
        return false;

    // Outflow and settle in one sweep, the settle trailing by a cell row: settling row cy needs
    // the outflow of rows cy - 1..cy + 1 and nothing later touches row cy, so this is exactly the
    // two-pass result. Only the tracked cells are visited, and the rows next to them that an
    // outflow may reach; every other cell holds nothing a pass would act on but its flow, whose
    // decay waits (decayIdleFlow).
    ++passes_;
    wetGridZero_ = false;
    keepStandingCoverage();
    if (!trackWetRegion_)
        active_.fill();
    const int firstRow = std::max(active_.firstRow() - 1, 0),
              lastRow = std::min(active_.lastRow() + 1, rows - 1);
    bool wet = false;
    for (int cy = firstRow; cy <= lastRow + 1; ++cy) {
        if (cy <= lastRow)
            outflowCellRow(cy, 0.4f * s / 1020.0f, 0.21f * s, 0.085f * s);
        if (cy > firstRow)
            wet |= settleCellRow(cy - 1);
    }
    active_.trimRows();
    if (!wet)
        return false;
    depositWetRows(s / 255.0f);
    return true;
}

}  // namespace vml
