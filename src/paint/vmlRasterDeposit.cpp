#include "paint/DepositSteps.h"
#include "paint/vmlRaster.h"

namespace vml {

void vmlRaster::DepositPaintCovered(int x, int, float coverage)
{
    RasterPixel& p = selectedPixel(x);
    const CanvasPaintState& state = paint_;
    const float water = depositWater(state.water);
    AColor paint = state.colour;

    blendPaintWithCanvas(paint, p.colour, state);

    if (state.mix > 0.0f && (p.water != 0.0f || p.inWeight != 0.0f)) {
        const AColor wet = p.inWeight != 0.0f
                               ? combinedWetColour(p.wetColour, p.water, p.inColour, p.inWeight)
                               : p.wetColour;
        pickUpWetColour(paint, wet, (p.inWeight + p.flow) * state.mix, state.mix);
    }

    if (coverage > 0.0f)
        displaceWetPaint(p, coverage);
    if (coverage * water > 0.0f) {
        feedWetPaint(p, static_cast<float>(p.mask) * coverage * water * 0.039215f, paint, state);
        wet_.widen(selectedY_, x, x);
    }

    depositDirect(p.colour, paint, water);
    p.coverage = 0.0f;
}

}  // namespace vml
