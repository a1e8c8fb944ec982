#include "paint/BleedSteps.h"
#include "paint/vmlRaster.h"

#include <algorithm>

namespace vml {
namespace {

struct RasterBleed {
    float h, a, b;
};

constexpr EdgeShape rasterEdge{1.0f, 0.4f, 5.0f, 2.5f};
constexpr float maskScale = 1.0f / 255.0f;

// Drains every wet pixel of row y and hands its water to its eight neighbours (rows above and
// below are null at the canvas border). Each source's outflow total waits in its coverage field.
void outflowRow(RasterPixel* above, RasterPixel* row, RasterPixel* below, int y, int width, WetSpans& spans,
                const RasterBleed& k)
{
    RasterPixel* const rows[3] = {above, row, below};
    const int from = spans.first(y), to = spans.last(y);
    int firstSource = width, lastSource = -1;
    for (int x = from; x <= to; ++x) {
        RasterPixel& p = row[x];
        if (p.water == 0.0f)
            continue;
        p.water -= p.water * p.water * k.b + k.a;
        if (p.water < 0.0f) {
            p.water = 0.0f;
            continue;
        }
        const std::array<float, 8> weights = flowWeights(k.h, p.wind);
        const float load = p.water * (static_cast<float>(p.mask) * maskScale);
        const FlowingPaint paint = flowingPaintOf(p);
        float total = 0.0f;
        for (int i = 0; i < 8; ++i) {
            const int nx = x + flowSteps[i].dx;
            RasterPixel* target = rows[flowSteps[i].dy + 1];
            if (!target || nx < 0 || nx >= width || weights[i] < 0.0f)
                continue;
            const float q = weights[i] * load;
            receiveWetPaint(target[nx], paint, q);
            total += q;
        }
        p.coverage = total;
        p.flow += total;
        firstSource = std::min(firstSource, x);
        lastSource = x;
    }
    // The receivers wait for their settle, which comes after this row's outflow.
    if (lastSource >= 0)
        for (int dy = -1; dy <= 1; ++dy)
            if (rows[dy + 1])
                spans.widen(y + dy, firstSource - 1, lastSource + 1);
}

// Settles row y and lets its wet paint tint the colour. The row above is already settled, the
// row below has had its outflow. Shrinks the row's wet span to what still holds water or flow;
// returns whether any pixel still holds water.
bool settleRow(const RasterPixel* above, RasterPixel* row, const RasterPixel* below, int y, int width,
               WetSpans& spans, const RasterBleed& k)
{
    const int from = spans.first(y), to = spans.last(y);
    int stillFirst = width, stillLast = -1;
    bool wet = false;
    for (int x = from; x <= to; ++x) {
        RasterPixel& p = row[x];
        if (p.inWeight > 0.0f)
            settleIncoming(p);
        takeOutflow(p.water, p.flow, p.coverage);
        p.flow = (p.dry * 0.1f + 0.8f) * p.flow;
        if (p.flow != 0.0f || p.water != 0.0f) {
            stillFirst = std::min(stillFirst, x);
            stillLast = x;
        }
        if (p.water == 0.0f)
            continue;
        wet = true;

        float dep = k.h * p.wetColour.a * (static_cast<float>(p.mask) * maskScale);
        float flowSum = p.flow;
        int flowCount = 1;
        if (x > 0)
            flowSum += row[x - 1].flow, ++flowCount;
        if (x + 1 < width)
            flowSum += row[x + 1].flow, ++flowCount;
        if (above)
            flowSum += above[x].flow, ++flowCount;
        if (below)
            flowSum += below[x].flow, ++flowCount;
        dep = shapeDeposit(dep, flowSum / static_cast<float>(flowCount), p.edge, rasterEdge);
        layWetPaint(p.colour, p.wetColour, dep);
    }
    spans.narrow(y, stillFirst, stillLast);
    return wet;
}

}  // namespace

bool vmlRaster::Bleed(float strength)
{
    if (rows_.empty())
        return false;
    const float s = bleedStrength(strength);
    const RasterBleed k{0.5f * s, 0.1f * s, 0.075f * s};

    // One sweep does both passes, the settle trailing the outflow by a row: settling row y needs
    // the outflow of rows y - 1..y + 1 done and nothing after that touches row y, so this gives
    // exactly the two-pass result with half the memory traffic.
    // Pixels outside the wet spans hold no water, flow, incoming paint or outflow: every step
    // would leave them as they are, so they are not visited. An outflow reaches one row beyond
    // the row range, hence the sweep's extra row at either end.
    keepStandingCoverage();
    if (!trackWetRegion_)
        wet_.fill();
    auto rowAt = [&](int y) { return y >= 0 && y < height_ ? rows_[y] : nullptr; };
    const int firstRow = std::max(wet_.firstRow() - 1, 0),
              lastRow = std::min(wet_.lastRow() + 1, height_ - 1);
    bool wet = false;
    for (int y = firstRow; y <= lastRow + 1; ++y) {
        if (y <= lastRow)
            outflowRow(rowAt(y - 1), rowAt(y), rowAt(y + 1), y, width_, wet_, k);
        if (y > firstRow && settleRow(rowAt(y - 2), rowAt(y - 1), rowAt(y), y - 1, width_, wet_, k)) {
            colourChanged(y - 1);
            wet = true;
        }
    }
    wet_.trimRows();
    return wet;
}

}  // namespace vml
