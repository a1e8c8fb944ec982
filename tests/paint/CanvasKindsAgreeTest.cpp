#include "support/PaintTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace vml;
using namespace test_support;

constexpr int size = 64;
const AColor paper(0.9f, 0.9f, 0.85f, 1);

struct Picture {
    double r = 0, g = 0, b = 0;  // mean colour
    int painted = 0;             // pixels visibly off the paper
    double cx = 0, cy = 0;       // centre of the painted pixels
};

// Four overlapping strokes of blurred, mixed, wind-blown paint, bled to the end.
template <class Canvas> Picture paintAndBleed()
{
    PaintCanvas<Canvas> c(size, size, paper);
    PaintSettings s;
    s.water = 0.375f;  // blur 50 %: b = 0.5, W = (b^2 + b) / 2
    s.edge = 0.3f;
    s.wind = {0.3f, 0.1f};
    s.mix = 0.3f;
    s.dry = 0.2f;
    struct Disc {
        float x, y, r;
        AColor colour;
    };
    const Disc discs[] = {{16, 16, 6, AColor(0.8f, 0.1f, 0.1f, 1)},
                          {40, 20, 8, AColor(0.1f, 0.2f, 0.8f, 1)},
                          {28, 40, 7, AColor(0.1f, 0.6f, 0.2f, 1)},
                          {46, 46, 5, AColor(0.15f, 0.1f, 0.1f, 1)}};
    for (const Disc& d : discs) {
        setPaint(c.canvas, s);
        stampDisc(c.canvas, d.x, d.y, d.r);
        depositCovered(c.canvas, d.colour);
    }
    bleedToEnd(c.canvas);

    Picture p;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const AColor px = c.canvas.GetPixel(x, y);
            p.r += px.r, p.g += px.g, p.b += px.b;
            const float off =
                std::max({std::fabs(px.r - paper.r), std::fabs(px.g - paper.g), std::fabs(px.b - paper.b)});
            if (off > 0.02f) {
                ++p.painted;
                p.cx += x, p.cy += y;
            }
        }
    p.r /= size * size, p.g /= size * size, p.b /= size * size;
    p.cx /= std::max(p.painted, 1), p.cy /= std::max(p.painted, 1);
    return p;
}

TEST(CanvasKinds, SameStrokesGiveSimilarPictures)
{
    const Picture full = paintAndBleed<vmlRaster>();
    const Picture half = paintAndBleed<vmlRasterRS>();

    // The half-resolution layer is its own simulation (water per 2 x 2 cell, its own drain, flow
    // and deposit constants, wind x 1.4), tuned to look alike rather than to match pixel for
    // pixel; its paint moves a whole cell, two pixels, per pass, so a bled blot's outline may lie
    // a pixel or two further out or in. The blots here bleed to a radius of about 13 pixels, where
    // a one-pixel band is 2/13, about 15 % of the area: allow two bands, 30 %, on the painted
    // area, and the same share of the change painting made to each channel's mean. The cell grid
    // and the stronger wind may move the painted region's centre by about half a cell: allow 1.5
    // pixels, far less than the distance between the blots.
    const double shiftR = std::fabs(full.r - paper.r), shiftG = std::fabs(full.g - paper.g),
                 shiftB = std::fabs(full.b - paper.b);
    ASSERT_GT(shiftR, 0.02);  // the strokes did change the picture
    EXPECT_NEAR(half.r, full.r, 0.3 * shiftR);
    EXPECT_NEAR(half.g, full.g, 0.3 * shiftG);
    EXPECT_NEAR(half.b, full.b, 0.3 * shiftB);
    ASSERT_GT(full.painted, 400);
    EXPECT_NEAR(half.painted, full.painted, 0.3 * full.painted);
    EXPECT_NEAR(half.cx, full.cx, 1.5);
    EXPECT_NEAR(half.cy, full.cy, 1.5);
    RecordProperty("fullPainted", full.painted);
    RecordProperty("halfPainted", half.painted);
}

}  // namespace
