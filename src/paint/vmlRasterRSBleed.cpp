#include "paint/BleedSteps.h"
#include "paint/vmlRasterRS.h"

namespace vml {
namespace {

constexpr EdgeShape cellEdge{0.8f, 0.25f, 4.0f, 4.0f};

}  // namespace

// Drains every wet cell of row cy and hands its water to the eight neighbouring cells, weighted
// by the mask sum of the receiving cell. The outflow total waits in the coverage field of pixel
// (cx, cy).
void vmlRasterRS::outflowCellRow(int cy, float h, float a, float b)
{
    const int columns = width_ >> 1, rows = height_ >> 1;
    const auto stride = static_cast<std::size_t>(wetWidth());
    WetCell* const cellRows[3] = {cy > 0 ? wet_[cy - 1].get() : nullptr, wet_[cy].get(),
                                  cy + 1 < rows ? wet_[cy + 1].get() : nullptr};
    const float* const masks = maskSums_.data() + static_cast<std::size_t>(cy) * stride;
    const float* const maskRows[3] = {masks - stride, masks, masks + stride};
    RasterRSPixel* const outflow = rows_[cy].get();

    WetCell* const row = cellRows[1];
    for (int cx = 0; cx < columns; ++cx) {
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
    }
}

// Settles the cells of row cy; returns (and remembers for the deposit) whether any still holds
// water. The stored dry weight is a tenth of the painted one, hence dry + 0.8.
bool vmlRasterRS::settleCellRow(int cy)
{
    const int columns = width_ >> 1;
    WetCell* const row = wet_[cy].get();
    RasterRSPixel* const outflow = rows_[cy].get();
    bool wet = false;
    for (int cx = 0; cx < columns; ++cx) {
        WetCell& c = row[cx];
        if (c.inWeight > 0.0f)
            settleIncoming(c);
        takeOutflow(c.water, c.flow, outflow[cx].coverage);
        c.flow = (c.dry + 0.8f) * c.flow;
        wet |= c.water != 0.0f;
    }
    cellRowWet_[cy] = wet;
    return wet;
}

// Lets the settled wet cells tint every pixel they serve; sPrime is strength / 255.
void vmlRasterRS::depositWetRows(float sPrime)
{
    const int cells = wetWidth();
    flowScratch_.resize(3 * static_cast<std::size_t>(cells));
    // Flow of every cell column summed over the serving rows of one pixel row, for three pixel
    // rows in turn: slot py % 3 holds pixel row cachedRow[slot].
    int cachedRow[3] = {-1, -1, -1};
    auto flowSumsOf = [&](int py) {
        const int slot = py % 3;
        float* sums = flowScratch_.data() + static_cast<std::size_t>(slot) * cells;
        if (cachedRow[slot] != py) {
            const CellSpan span = servingRows(py);
            const WetCell* first = wet_[span.first].get();
            const WetCell* second = span.count == 2 ? wet_[span.first + 1].get() : nullptr;
            for (int cx = 0; cx < cells; ++cx)
                sums[cx] = second ? first[cx].flow + second[cx].flow : first[cx].flow;
            cachedRow[slot] = py;
        }
        return sums;
    };
    const float* flowSums[3];
    int flowRows[3];

    for (int y = 0; y < height_; ++y) {
        const CellSpan servingY = servingRows(y);
        if (!cellRowWet_[servingY.first] && !(servingY.count == 2 && cellRowWet_[servingY.first + 1]))
            continue;

        // Pixel rows y - 1, y, y + 1; flowRows is how many cell rows went into each sum (0: no
        // such pixel row).
        for (int k = 0; k < 3; ++k) {
            const int py = y - 1 + k;
            flowRows[k] = 0;
            flowSums[k] = nullptr;
            if (py < 0 || py >= height_)
                continue;
            flowRows[k] = servingRows(py).count;
            flowSums[k] = flowSumsOf(py);
        }
        auto servedFlow = [&](int px, int k, float& sum, int& count) {
            if (px < 0 || px >= width_ || flowRows[k] == 0)
                return;
            const CellSpan span = servingColumns(px);
            sum += span.count == 2 ? flowSums[k][span.first] + flowSums[k][span.first + 1]
                                   : flowSums[k][span.first];
            count += span.count * flowRows[k];
        };

        const WetCell* const cellRow0 = wet_[servingY.first].get();
        const WetCell* const cellRow1 = servingY.count == 2 ? wet_[servingY.first + 1].get() : nullptr;
        RasterRSPixel* const pixels = rows_[y].get();
        for (int x = 0; x < width_; ++x) {
            const CellSpan servingX = servingColumns(x);
            const WetCell* serving[4];
            int n = 0;
            for (int cx = servingX.first; cx < servingX.first + servingX.count; ++cx) {
                serving[n++] = &cellRow0[cx];
                if (cellRow1)
                    serving[n++] = &cellRow1[cx];
            }
            bool holdsWater = false;
            for (int i = 0; i < n; ++i)
                holdsWater |= serving[i]->water != 0.0f;
            if (!holdsWater)
                continue;

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
            const auto count = static_cast<float>(n);
            const AColor wet(weighted.r / alphaSum, weighted.g / alphaSum, weighted.b / alphaSum,
                             alphaSum / count);
            float dep = wet.a * sPrime * static_cast<float>(pixels[x].mask);

            float flowSum = 0.0f;
            int flowCount = 0;
            servedFlow(x, 1, flowSum, flowCount);
            servedFlow(x - 1, 1, flowSum, flowCount);
            servedFlow(x + 1, 1, flowSum, flowCount);
            servedFlow(x, 0, flowSum, flowCount);
            servedFlow(x, 2, flowSum, flowCount);
            dep = shapeDeposit(dep, flowSum / static_cast<float>(flowCount), edgeSum / count, cellEdge);
            layWetPaint(pixels[x].colour, wet, dep);
        }
    }
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
    // two-pass result.
    cellRowWet_.assign(static_cast<std::size_t>(wetHeight()), 0);
    bool wet = false;
    for (int cy = 0; cy <= rows; ++cy) {
        if (cy < rows)
            outflowCellRow(cy, 0.4f * s / 1020.0f, 0.21f * s, 0.085f * s);
        if (cy > 0)
            wet |= settleCellRow(cy - 1);
    }
    if (!wet)
        return false;
    depositWetRows(s / 255.0f);
    return true;
}

}  // namespace vml
