#include "line/LineStamp.h"
#include "line/LineDepth.h"
#include "line/LineDerived.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

namespace {

using namespace vml;

LineSettings derived(float width, float stretch = 0.0f, float angle = 0.0f)
{
    LineSettings s;
    s.lineWidth = width;
    s.lineStretch = stretch;
    s.lineAngle = angle;
    LineShape last;
    updateLineDerived(s, last);
    return s;
}

TEST(LineDerived, ReportsChangesOfRadiusStretchAndAngleOnly)
{
    LineShape last;
    LineSettings raw;
    raw.lineWidth = 1.5f;
    raw.lineZAlphaMinValue = 20.0f;
    raw.lineZAlphaMaxValue = 70.0f;
    LineSettings s = raw;
    EXPECT_TRUE(updateLineDerived(s, last));
    EXPECT_FLOAT_EQ(s.fadeNear, 0.2f);
    EXPECT_FLOAT_EQ(s.fadeSpan, 0.5f);
    raw.lineZAlphaMaxValue = 90.0f;  // not part of the stamp's shape
    s = raw;
    EXPECT_FALSE(updateLineDerived(s, last));
    raw.lineAngle = 30.0f;
    s = raw;
    EXPECT_TRUE(updateLineDerived(s, last));
}

TEST(StampValue, FallsFromFullToZeroOverTheRings)
{
    struct Case {
        const char* what;
        float width, stretch, angle, dx, dy, g, expected;
    };
    // Width 1.5: rings at 1.075, 3.075 and 5.075. Width 0: radius 3.2, never full. Stretch 100:
    // radius 3.1217055 + 4.7, the 0.5 ring at 5.8217055, or 5.8217055 / 11 along the narrow axis.
    const Case cases[] = {
        {"centre", 1.5f, 0, 0, 0.0f, 0.0f, 1, 1.0f},
        {"inner ring", 1.5f, 0, 0, 1.07f, 0.0f, 1, 1.0f},
        {"mid ring below", 1.5f, 0, 0, 0.0f, 3.075f, 1, 0.5f},
        {"mid ring left", 1.5f, 0, 0, -3.075f, 0.0f, 1, 0.5f},
        {"between: 1 - (4.305625 - 1.155625) * 0.5 / 8.3", 1.5f, 0, 0, 2.075f, 0.0f, 1, 0.810241f},
        {"outer ring", 1.5f, 0, 0, 5.075f, 0.0f, 1, 0.0f},
        {"diagonal past the outer ring", 1.5f, 0, 0, 3.6f, 3.6f, 1, 0.0f},
        {"width 0 centre: 1 - 0.64 * 0.5 / 2.08", 0.0f, 0, 0, 0.0f, 0.0f, 1, 0.846154f},
        {"width 0 mid ring", 0.0f, 0, 0, 1.2f, 0.0f, 1, 0.5f},
        {"width 0 outer ring", 0.0f, 0, 0, 0.0f, 3.2f, 1, 0.0f},
        {"stretch +100 along x", 1.5f, 100, 0, 5.8217055f, 0.0f, 1, 0.5f},
        {"stretch +100 along y", 1.5f, 100, 0, 0.0f, 0.5292460f, 1, 0.5f},
        {"stretch +100 past y", 1.5f, 100, 0, 0.0f, 0.72f, 1, 0.0f},
        {"stretch -100 along y", 1.5f, -100, 0, 0.0f, 5.8217055f, 1, 0.5f},
        {"stretch -100 along x", 1.5f, -100, 0, 0.5292460f, 0.0f, 1, 0.5f},
        {"stretch +100 turned 90", 1.5f, 100, 90, 0.5292460f, 0.0f, 1, 0.5f},
        {"factor 2 moves the mid ring to 3.825", 1.5f, 0, 0, 3.825f, 0.0f, 2, 0.5f},
        {"factor 0.5 moves it to 2.7", 1.5f, 0, 0, 0.0f, 2.7f, 0.5f, 0.5f},
        // Width 0.4 grown by 2 (e = 0.2): within 0.2 of the centre every point takes the centre
        // value 1 - 0.09 * 0.5 / 2.98; squaring d - e without holding it at 0 dips it to 0.978.
        {"grown thin centre", 0.4f, 0, 0, 0.0f, 0.0f, 2, 0.984899f},
        {"grown thin near the centre", 0.4f, 0, 0, 0.1f, 0.0f, 2, 0.984899f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_NEAR(stampValue(derived(c.width, c.stretch, c.angle), c.dx, c.dy, c.g), c.expected, 1e-4f);
    }
}

// Drawing skips the offsets outside stampExtent, so it must hold every offset the stamp raises,
// and to be worth it should not be much wider than the stamp itself.
TEST(StampExtent, HoldsEveryOffsetTheStampRaisesAndLittleMore)
{
    for (float width : {0.0f, 1.5f, 20.0f, 100.0f})
        for (float stretch : {-100.0f, -35.0f, 0.0f, 60.0f, 100.0f})
            for (float angle : {0.0f, 17.0f, 90.0f, 135.0f, -250.0f})
                for (float g : {0.3f, 1.0f, 2.0f}) {
                    const LineSettings s = derived(width, stretch, angle);
                    const StampExtent box = stampExtent(s, g);
                    SCOPED_TRACE(std::to_string(width) + " " + std::to_string(stretch) + " " +
                                 std::to_string(angle) + " " + std::to_string(g));
                    // Offsets off the pixel grid, finer for the narrower stamps.
                    const float step = width <= 20.0f ? 0.25f : 1.0f;
                    const int reach =
                        static_cast<int>((s.lineWidth + (g - 1.0f) * s.baseWidth + 3.0f) / step);
                    float widest = 0.0f, tallest = 0.0f;
                    for (int j = -reach; j <= reach; ++j)
                        for (int i = -reach; i <= reach; ++i) {
                            const float dx = (static_cast<float>(i) + 0.3f) * step;
                            const float dy = (static_cast<float>(j) - 0.6f) * step;
                            if (stampValue(s, dx, dy, g) <= 0.0f)
                                continue;
                            widest = std::max(widest, std::fabs(dx));
                            tallest = std::max(tallest, std::fabs(dy));
                        }
                    EXPECT_LE(widest, box.x);
                    EXPECT_LE(tallest, box.y);
                    // The pixel of room, and what the sampling may miss.
                    EXPECT_GE(widest + 1.1f + 2.0f * step, box.x);
                    EXPECT_GE(tallest + 1.1f + 2.0f * step, box.y);
                }
}

TEST(LineDepth, ScaleNarrowsAndFadeRunsWithDistance)
{
    LineSettings s;
    s.lineZMin = 100.0f;
    s.lineZMax = 1000.0f;
    EXPECT_NEAR(lineDepthScale(s, 1.5f, 1000.0f), 1.5f * 101.0f / 1001.0f, 1e-6f);
    EXPECT_NEAR(lineDepthScale(s, 1.0f, 400.0f), 101.0f / 401.0f, 1e-6f);
    EXPECT_EQ(lineDepthScale(s, 1.5f, 50.0f), 1.5f);
    // Reversed range: nearer than zmin narrows, held at zmax.
    s.lineZMin = 1000.0f;
    s.lineZMax = 100.0f;
    EXPECT_NEAR(lineDepthScale(s, 1.0f, 500.0f), 501.0f / 1001.0f, 1e-6f);
    EXPECT_EQ(lineDepthScale(s, 1.0f, 2000.0f), 1.0f);

    LineSettings raw;
    raw.lineZAlphaMin = 100.0f;
    raw.lineZAlphaMax = 1000.0f;
    raw.lineZAlphaMinValue = 10.0f;
    raw.lineZAlphaMaxValue = 90.0f;
    LineShape last;
    updateLineDerived(raw, last);
    EXPECT_NEAR(lineDepthFade(raw, 50.0f), 0.9f, 1e-6f);    // 1 - 0.1
    EXPECT_NEAR(lineDepthFade(raw, 550.0f), 0.5f, 1e-6f);   // 1 - (0.5 * 0.8 + 0.1)
    EXPECT_NEAR(lineDepthFade(raw, 4000.0f), 0.1f, 1e-6f);  // 1 - 0.9
}

}  // namespace
