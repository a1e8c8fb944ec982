#pragma once
// Helpers for the paint-effect tests: a canvas filled with one colour and full bleed strength,
// synthetic coverage discs, and a deposit loop in the stroke painter's calling order.

#include "support/CanvasTestSupport.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace test_support {

// Helpers over the system's own types, which they name as the system does.
using namespace vml;

struct PaintSettings {
    float water = 0, edge = 0, mix = 0, dry = 0;
    Point2 wind;
    int blendSwitch = 0, blendMethod = 0;
    float blendAmount = 100;
};

// A canvas bound to its own bitmap, every pixel `background` with mask 255.
template <class Canvas> struct PaintCanvas {
    Bitmap bitmap;
    Canvas canvas;

    PaintCanvas(int width, int height, const AColor& background) : bitmap(width, height)
    {
        canvas.Init(&bitmap);
        canvas.Load(true);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                canvas.SetPixel(x, y, background);
                canvas.SetMask(x, y, 255);
            }
    }
};

inline void setPaint(vmlRasterBase& canvas, const PaintSettings& s)
{
    canvas.SetBlendSwitch(s.blendSwitch);
    canvas.SetBlendMethod(s.blendMethod);
    canvas.SetBlendAmount(s.blendAmount);
    canvas.SetWater(s.water);
    canvas.SetEdge(s.edge);
    canvas.SetWind(s.wind);
    canvas.SetMix(s.mix);
    canvas.SetDry(s.dry);
}

// Coverage 1 out to radius - 1, falling linearly to 0 at `radius`.
inline void stampDisc(vmlRasterBase& canvas, float cx, float cy, float radius)
{
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x) {
            const float d = std::hypot(x - cx, y - cy);
            const float coverage = std::clamp(radius - d, 0.0f, 1.0f);
            if (coverage > 0.0f)
                canvas.StampCoverage(x, y, coverage);
        }
}

// Deposits `colour` with alpha x coverage into every covered pixel, the way the painter walks a
// stroke: dirty rows, their spans, covered pixels only.
inline void depositCovered(vmlRasterBase& canvas, const AColor& colour)
{
    int first = 0, last = -1;
    canvas.GetDirtyRows(first, last);
    for (int y = first; y <= last; ++y) {
        int from = 0, to = -1;
        canvas.SelectRow(y);
        canvas.GetRowSpan(from, to, y);
        for (int x = from; x <= to; ++x) {
            const float coverage = canvas.GetCoverage(x);
            if (coverage <= 0.0f)
                continue;
            canvas.SetPaintColour(AColor(colour.r, colour.g, colour.b, colour.a * coverage));
            canvas.DepositPaint(x, y);
        }
    }
    canvas.ResetDirty();
}

// Runs Bleed(0.2) as the renderer's bleed phase does; returns the passes that reported paint.
inline int bleedToEnd(vmlRasterBase& canvas, int maxPasses = 81)
{
    int passes = 0;
    while (passes < maxPasses && canvas.Bleed(0.2f))
        ++passes;
    return passes;
}

inline void expectColourNear(const AColor& actual, const AColor& expected, float tolerance)
{
    EXPECT_NEAR(actual.r, expected.r, tolerance);
    EXPECT_NEAR(actual.g, expected.g, tolerance);
    EXPECT_NEAR(actual.b, expected.b, tolerance);
    EXPECT_NEAR(actual.a, expected.a, tolerance);
}

}  // namespace test_support
