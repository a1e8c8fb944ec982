// Coverage, hidden-surface removal and compositing of the scanline renderer's A-buffer.

#include "support/ScanlineTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace {

using namespace test_support;

const Color red(1, 0, 0), green(0, 1, 0), blue(0, 0, 1);

// Orthographic 8 x 8 image, one world unit per pixel: screen x = 4 + x, screen y = 4 - y.
TEST(ScanlineCoverage, EdgeThroughPixelCentreCoversHalfAndMixesWithBackground)
{
    auto ts = TestScene::orthographic(8.0f);
    ts->add("left", rectMesh(-10, -10, 0.5f, 10, -5), ts->material<ConstantMtl>(red));
    const Bitmap bm = rendered(*ts, {.width = 8, .height = 8, .background = blue});
    for (int y = 0; y < 8; ++y) {
        EXPECT_EQ(pixel(bm, 3, y), rgba(1, 0, 0)) << "row " << y;
        EXPECT_EQ(pixel(bm, 4, y), rgba(0.5, 0, 0.5)) << "row " << y;
        EXPECT_EQ(pixel(bm, 5, y), rgba(0, 0, 1)) << "row " << y;
        EXPECT_EQ(channelAt<std::uint8_t>(bm, BMM_CHAN_COVERAGE, 4, y), 128);
    }
}

// A fan of triangles, 50% transparent over a transparent background: a sample covered twice
// (overlap) or never (crack) along the shared edges would change alpha inside the polygon.
TEST(ScanlineCoverage, TrianglesSharingEdgesCoverEverySampleExactlyOnce)
{
    constexpr int size = 32, sides = 9;
    const Point2 centre(0.3f, -0.2f);
    auto mesh = std::make_shared<Mesh>();
    mesh->verts.push_back({centre.x, centre.y, -5.0f});
    std::vector<Point2> rim;
    for (int i = 0; i < sides; ++i) {
        float a = 2.0f * std::numbers::pi_v<float> * static_cast<float>(i) / sides + 0.1f;
        rim.push_back(Point2(centre.x + 12.0f * std::cos(a), centre.y + 12.0f * std::sin(a)));
        mesh->verts.push_back({rim.back().x, rim.back().y, -5.0f});
    }
    for (int i = 0; i < sides; ++i) {
        Face f;
        f.v[0] = 0, f.v[1] = static_cast<DWORD>(1 + i), f.v[2] = static_cast<DWORD>(1 + (i + 1) % sides);
        mesh->faces.push_back(f);
    }
    auto ts = TestScene::orthographic(static_cast<float>(size));
    ts->add("fan", mesh, ts->material<ConstantMtl>(Color(0.5f, 0.5f, 0.5f), Color(0.5f, 0.5f, 0.5f)));
    const Bitmap bm = rendered(*ts, {.width = size, .height = size, .backgroundAlpha = 0.0f});
    // Whether a screen position lies strictly inside the rim polygon.
    auto inside = [&](float sx, float sy) {
        Point2 p(sx - size / 2.0f, size / 2.0f - sy);
        for (int i = 0; i < sides; ++i) {
            Point2 a = rim[i], b = rim[(i + 1) % sides];
            if ((b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x) <= 0.0f)
                return false;
        }
        return true;
    };
    int interior = 0;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            bool all = inside(x, y) && inside(x + 1, y) && inside(x, y + 1) && inside(x + 1, y + 1);
            interior += all;
            if (all) {
                EXPECT_EQ(pixel(bm, x, y), rgba(0.5, 0.5, 0.5, 0.5)) << x << "," << y;
            }
        }
    EXPECT_GT(interior, 300);
    // A square's diagonal runs through four samples of every pixel it crosses: exactly on the edge.
    auto square = TestScene::orthographic(16.0f);
    square->add("square", rectMesh(-8, -8, 8, 8, -5),
                square->material<ConstantMtl>(Color(0.5f, 0.5f, 0.5f), Color(0.5f, 0.5f, 0.5f)));
    const Bitmap sq = rendered(*square, {.backgroundAlpha = 0.0f});
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            ASSERT_EQ(pixel(sq, x, y), rgba(0.5, 0.5, 0.5, 0.5)) << x << "," << y;
}

// A floor one unit below a 90 degree perspective camera, running from behind the camera far into
// the distance: clipped at the near plane, it fills exactly the rows below the horizon.
TEST(ScanlineClipping, FloorThroughTheCameraPlaneFillsTheRowsBelowTheHorizon)
{
    auto ts = TestScene::perspective(90.0f);
    ts->add("floor", quadMesh({-1000, -1, 5}, {1000, -1, 5}, {1000, -1, -1000}, {-1000, -1, -1000}),
            ts->material<ConstantMtl>(green));
    const Bitmap bm = rendered(*ts, {.width = 40, .height = 40});
    // The far edge projects to screen y = 20 + 20 / 1000.
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; x += 3)
            ASSERT_EQ(pixel(bm, x, y), y >= 20 ? rgba(0, 1, 0) : rgba(0, 0, 0)) << x << "," << y;
}

}  // namespace
