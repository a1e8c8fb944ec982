#include "paint/DepositSteps.h"
#include "paint/vmlRasterRS.h"

namespace vml {

bool vmlRasterRS::servingWetColour(int x, int y, AColor& wet, float& meanInWeight) const
{
    const CellSpan columns = servingColumns(x), rows = servingRows(y);
    float water = 0.0f, inWeight = 0.0f, alphaSum = 0.0f;
    AColor incoming;
    Color weighted, plain;
    for (int cy = rows.first; cy < rows.first + rows.count; ++cy) {
        for (int cx = columns.first; cx < columns.first + columns.count; ++cx) {
            const WetCell& cell = wet_[cy][cx];
            water += cell.water;
            inWeight += cell.inWeight;
            incoming += cell.inColour;
            const AColor& c = cell.wetColour;
            alphaSum += c.a;
            weighted += Color(c) * c.a;
            plain += Color(c);
        }
    }
    const auto n = static_cast<float>(columns.count * rows.count);
    const float meanWater = water / n;
    meanInWeight = inWeight / n;
    if (meanWater == 0.0f && meanInWeight == 0.0f)
        return false;

    const AColor meanIncoming(incoming.r / n, incoming.g / n, incoming.b / n, incoming.a / n);
    // RGB weighted by wet alpha; cells without any opacity fall back to the plain mean rather
    // than dividing by zero.
    const Color rgb = alphaSum > 0.0f
                          ? Color(weighted.r / alphaSum, weighted.g / alphaSum, weighted.b / alphaSum)
                          : Color(plain.r / n, plain.g / n, plain.b / n);
    const AColor cellMean(rgb, alphaSum / n);

    if (meanWater == 0.0f)
        wet = AColor(meanIncoming.r / meanInWeight, meanIncoming.g / meanInWeight,
                     meanIncoming.b / meanInWeight, meanIncoming.a / meanInWeight);
    else if (meanInWeight == 0.0f)
        wet = cellMean;
    else
        wet = combinedWetColour(cellMean, meanWater, meanIncoming, meanInWeight);
    // The marker in-weight of a water-free deposit (below) brings no paint; wet "paint" without
    // any opacity is that marker or what it settled into, and picking it up would pull the paint
    // toward black.
    return wet.a > 0.0f;
}

void vmlRasterRS::DepositPaintCovered(int x, int y, float coverage)
{
    assert(y == selectedY_);
    wetGridZero_ = false;
    RasterRSPixel& p = selectedPixel(x);
    const int cx = x >> 1, cy = y >> 1;
    WetCell& cell = wet_[cy][cx];
    const CanvasPaintState& state = paint_;
    const float water = depositWater(state.water);
    AColor paint = state.colour;

    blendPaintWithCanvas(paint, p.colour, state);

    if (state.mix > 0.0f) {
        AColor wet;
        float meanInWeight = 0.0f;
        if (servingWetColour(x, y, wet, meanInWeight))
            pickUpWetColour(paint, wet, (meanInWeight + currentCell(cx, cy).flow) * state.mix, state.mix);
    }

    if (coverage > 0.0f)
        displaceWetPaint(cell, coverage);
    if (coverage * water > 0.0f)
        feedWetPaint(cell, static_cast<float>(masks_[pixelIndex(x, y)]) * coverage * water * 0.0294112f,
                     paint, state);
    else
        cell.inWeight += 0.000001f;
    // Either way the cell has incoming weight for the next settle; cells beyond the flow grid
    // never settle.
    if (cx <= lastWetColumn() && cy <= lastWetRow())
        active_.widen(cy, cx, cx);

    depositDirect(p.colour, paint, water);
    p.coverage = 0.0f;
}

}  // namespace vml
