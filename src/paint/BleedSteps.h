#pragma once
// The parts of a bleed pass that both canvas kinds share. Wet is RasterPixel or WetCell: a record
// with water, edge, dry, wind, wetColour, flow and the incoming sums.

#include "host/Color.h"
#include "host/Point2.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace vml {

// Strength as a pass uses it: held to 0..1; anything that is not above 0 (NaN included) is 0.
inline float bleedStrength(float strength) { return strength > 0.0f ? std::min(strength, 1.0f) : 0.0f; }

// The eight neighbours a source flows to, in the order its outflow is summed: left, right, up
// (row - 1), down, up-left, down-right, up-right, down-left.
struct FlowStep {
    int dx, dy;
};
inline constexpr std::array<FlowStep, 8> flowSteps = {
    {{-1, 0}, {1, 0}, {0, -1}, {0, 1}, {-1, -1}, {1, 1}, {1, -1}, {-1, 1}}};

// The weight of each neighbour for base weight h: the wind tilts the flow toward its direction;
// a negative weight means no flow that way.
inline std::array<float, 8> flowWeights(float h, const Point2& wind)
{
    const float vx = wind.x, vy = wind.y;
    return {h - h * vx,        h + h * vx,        h - h * vy,        h + h * vy,
            h - h * (vx + vy), h + h * (vx + vy), h - h * (vy - vx), h + h * (vy - vx)};
}

// What a source hands on, copied out of its record so that writing the neighbours (which the
// compiler cannot tell apart from the source) does not reload it.
struct FlowingPaint {
    float edge;
    AColor colour;
    Point2 wind;
    float dry;
};

template <class Wet> inline FlowingPaint flowingPaintOf(const Wet& source)
{
    return {source.edge, source.wetColour, source.wind, source.dry};
}

// Adds q of the source's wet paint to the target's incoming sums.
template <class Wet> inline void receiveWetPaint(Wet& target, const FlowingPaint& source, float q)
{
    target.inEdge += q * source.edge;
    target.inColour += source.colour * q;
    target.inWind += source.wind * q;
    target.inDry += q * source.dry;
    target.inWeight += q;
}

// Settles the incoming sums (in-weight > 0) into the standing wet paint; arriving paint swells
// the water less where much has recently flowed.
template <class Wet> inline void settleIncoming(Wet& wet)
{
    const float w = wet.water;
    const float d = 1.0f / (wet.inWeight + w);
    wet.edge = (w * wet.edge + wet.inEdge) * d;
    wet.wetColour = (wet.wetColour * w + wet.inColour) * d;
    wet.wind = (wet.wind * w + wet.inWind) * d;
    wet.dry = (w * wet.dry + wet.inDry) * d;
    wet.water = wet.inWeight / (wet.flow * 0.04f + 0.9f) + w;
    wet.inWeight = wet.inEdge = wet.inDry = 0.0f;
    wet.inWind = {};
    wet.inColour = {};
}

// Takes the pass's outflow off the water; what the water cannot cover comes off the flow.
inline void takeOutflow(float& water, float& flow, float& outflow)
{
    if (!(outflow > 0.0f))
        return;
    water -= outflow;
    if (water < 0.0f) {
        flow += water;
        water = 0.0f;
    }
    outflow = 0.0f;
}

// How a deposit from the wet layer is shaped by the mean flow F around the pixel: little flow
// lays little; near `centre` the edge weight darkens (gain), elsewhere it holds paint back.
struct EdgeShape {
    float centre, halfWidth, gain, slope;
};

inline float shapeDeposit(float dep, float meanFlow, float edge, const EdgeShape& shape)
{
    if (meanFlow < 1.0f)
        dep *= meanFlow;
    const float off = meanFlow - shape.centre;
    if (std::fabs(off) < shape.halfWidth) {
        const float e = dep * shape.gain * edge;
        const float r = shape.slope * off;
        dep += e - r * r * e;
    } else {
        dep *= 1.0f - edge * 0.9f;
    }
    return dep;
}

// Lays `dep` of the wet colour over the canvas colour.
inline void layWetPaint(AColor& colour, const AColor& wet, float dep)
{
    colour.r += (wet.r - colour.r) * dep;
    colour.g += (wet.g - colour.g) * dep;
    colour.b += (wet.b - colour.b) * dep;
    colour.a += dep * (1.0f - colour.a);
}

}  // namespace vml
