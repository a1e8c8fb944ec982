// Coverage, hidden-surface removal and compositing of the scanline renderer's A-buffer.

#include "ScanlineTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace {

using namespace scanlinetest;

const Color red(1, 0, 0), green(0, 1, 0), blue(0, 0, 1);

// Orthographic 8 x 8 image, one world unit per pixel: screen x = 4 + x, screen y = 4 - y.
TEST(ScanlineCoverage, EdgeThroughPixelCentreCoversHalfAndMixesWithBackground)
{
    auto ts = TestScene::orthographic(8.0f);
    ts->add("left", rectMesh(-10, -10, 0.5f, 10, -5), ts->material<ConstantMtl>(red));
    Bitmap bm;
    RenderSetup s;
    s.width = s.height = 8;
    s.background = blue;
    ASSERT_EQ(render(*ts, bm, s), 1);

    for (int y = 0; y < 8; ++y) {
        EXPECT_EQ(pixel(bm, 3, y), (BMM_Color_64{65535, 0, 0, 65535})) << "row " << y;
        EXPECT_EQ(pixel(bm, 4, y), (BMM_Color_64{q16(0.5), 0, q16(0.5), 65535})) << "row " << y;
        EXPECT_EQ(pixel(bm, 5, y), (BMM_Color_64{0, 0, 65535, 65535})) << "row " << y;
        EXPECT_EQ(channelAt<std::uint8_t>(bm, BMM_CHAN_COVERAGE, 3, y), 255);
        EXPECT_EQ(channelAt<std::uint8_t>(bm, BMM_CHAN_COVERAGE, 4, y), 128);
        EXPECT_EQ(channelAt<std::uint8_t>(bm, BMM_CHAN_COVERAGE, 5, y), 0);
    }
}

TEST(ScanlineCoverage, WithoutAntialiasingThePixelCentreDecides)
{
    for (float edge : {0.4f, 0.6f}) {
        auto ts = TestScene::orthographic(8.0f);
        ts->add("left", rectMesh(-10, -10, edge, 10, -5), ts->material<ConstantMtl>(red));
        Bitmap bm;
        RenderSetup s;
        s.width = s.height = 8;
        s.antialias = false;
        s.background = blue;
        ASSERT_EQ(render(*ts, bm, s), 1);
        bool covered = edge > 0.5f;  // pixel 4's centre is at screen x 4.5, world x 0.5
        EXPECT_EQ(pixel(bm, 4, 2),
                  covered ? (BMM_Color_64{65535, 0, 0, 65535}) : (BMM_Color_64{0, 0, 65535, 65535}));
        EXPECT_EQ(channelAt<std::uint8_t>(bm, BMM_CHAN_COVERAGE, 4, 2), covered ? 255 : 0);
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
    Bitmap bm;
    RenderSetup s;
    s.width = s.height = size;
    s.backgroundAlpha = 0.0f;
    ASSERT_EQ(render(*ts, bm, s), 1);

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
            if (all) {
                ++interior;
                EXPECT_EQ(pixel(bm, x, y), (BMM_Color_64{q16(0.5), q16(0.5), q16(0.5), q16(0.5)}))
                    << x << "," << y;
            }
        }
    EXPECT_GT(interior, 300);
}

// The diagonal of this square runs through four samples of every pixel it crosses: each must go
// to exactly one of the two triangles.
TEST(ScanlineCoverage, SamplesExactlyOnASharedEdgeBelongToOneTriangle)
{
    auto ts = TestScene::orthographic(16.0f);
    ts->add("square", rectMesh(-8, -8, 8, 8, -5),
            ts->material<ConstantMtl>(Color(0.5f, 0.5f, 0.5f), Color(0.5f, 0.5f, 0.5f)));
    Bitmap bm;
    RenderSetup s;
    s.backgroundAlpha = 0.0f;
    ASSERT_EQ(render(*ts, bm, s), 1);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            ASSERT_EQ(pixel(bm, x, y), (BMM_Color_64{q16(0.5), q16(0.5), q16(0.5), q16(0.5)}))
                << x << "," << y;
}

// Orthographic 16 x 16, one unit per pixel: screen x = 8 + x.
std::unique_ptr<TestScene> nearAndFar(bool nearFirst, Color nearT = Color())
{
    auto ts = TestScene::orthographic(16.0f);
    auto* farMtl = ts->material<ConstantMtl>(red);
    auto* nearMtl = ts->material<ConstantMtl>(green * (1.0f - nearT.g), nearT);
    auto addFar = [&] { ts->add("far", rectMesh(-8, -8, 8, 8, -10), farMtl); };
    auto addNear = [&] { ts->add("near", rectMesh(-8, -8, 0.5f, 8, -5), nearMtl); };
    if (nearFirst)
        addNear(), addFar();
    else
        addFar(), addNear();
    return ts;
}

TEST(ScanlineDepth, NearSurfaceHidesFarOneWhateverTheSubmissionOrder)
{
    Bitmap images[2];
    for (int order = 0; order < 2; ++order) {
        auto ts = nearAndFar(order == 1);
        RenderSetup s;
        s.background = blue;
        ASSERT_EQ(render(*ts, images[order], s), 1);
        const Bitmap& bm = images[order];
        EXPECT_EQ(pixel(bm, 3, 5), (BMM_Color_64{0, 65535, 0, 65535}));
        EXPECT_EQ(pixel(bm, 12, 5), (BMM_Color_64{65535, 0, 0, 65535}));
        // Pixel 8 is half near, half far: the far face shows only on the samples the near one
        // leaves, and no background leaks through.
        EXPECT_EQ(pixel(bm, 8, 5), (BMM_Color_64{q16(0.5), q16(0.5), 0, 65535}));
    }
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            ASSERT_EQ(pixel(images[0], x, y), pixel(images[1], x, y)) << x << "," << y;
}

TEST(ScanlineDepth, FragmentsBehindOpaqueOnesAreNotShaded)
{
    auto ts = TestScene::orthographic(16.0f);
    ts->add("far", rectMesh(-8, -8, 8, 8, -10), ts->material<ConstantMtl>(red));
    ts->add("near", rectMesh(-8, -8, 8, 8, -5), ts->material<ConstantMtl>(green));
    standalone::ScanlineRenderer renderer;
    Bitmap bm;
    ASSERT_EQ(renderOpen(renderer, *ts, bm, {}), 1);
    EXPECT_EQ(renderer.stats().fragments, 2u * 16 * 16 + 2u * 16);  // the diagonals give two each
    EXPECT_EQ(renderer.stats().fragmentsShaded, 16u * 16 + 16u);
    EXPECT_EQ(pixel(bm, 7, 7), (BMM_Color_64{0, 65535, 0, 65535}));
}

// In pixel column 8 the near face covers the left half and the far one only the left quarter:
// the far face is hidden there although the pixel is not opaque, so it is never shaded.
TEST(ScanlineDepth, FragmentWhoseSamplesAreAllHiddenIsNotShaded)
{
    auto ts = TestScene::orthographic(16.0f);
    int farShades = 0;
    ts->add("far", rectMesh(-8, -8, 0.25f, 8, -10),
            ts->material<ProbeMtl>([&](ShadeContext&) { ++farShades; }));
    ts->add("near", rectMesh(-8, -8, 0.5f, 8, -5), ts->material<ConstantMtl>(green));
    Bitmap bm;
    ASSERT_EQ(render(*ts, bm), 1);
    EXPECT_EQ(farShades, 0);
    EXPECT_EQ(pixel(bm, 8, 3), (BMM_Color_64{0, q16(0.5), 0, 65535}));
}

TEST(ScanlineCompositing, HalfTransparentRedOverBlue)
{
    auto ts = nearAndFar(false, Color(0.5f, 0.5f, 0.5f));
    ts->scene.findNode("near")->setMtl(ts->material<ConstantMtl>(Color(0.5f, 0, 0), Color(0.5f, 0.5f, 0.5f)));
    ts->scene.findNode("far")->setMtl(ts->material<ConstantMtl>(blue));
    Bitmap bm;
    ASSERT_EQ(render(*ts, bm), 1);
    EXPECT_EQ(pixel(bm, 3, 5), (BMM_Color_64{q16(0.5), 0, q16(0.5), 65535}));
    EXPECT_EQ(pixel(bm, 12, 5), (BMM_Color_64{0, 0, 65535, 65535}));
}

TEST(ScanlineCompositing, TransparentBackgroundGivesPremultipliedAlpha)
{
    auto ts = TestScene::orthographic(16.0f);
    ts->add("glass", rectMesh(-8, -8, 0, 8, -5),
            ts->material<ConstantMtl>(Color(0.5f, 0, 0), Color(0.5f, 0.5f, 0.5f)));
    Bitmap bm;
    RenderSetup s;
    s.background = Color(0.2f, 0.9f, 0.4f);
    s.backgroundAlpha = 0.0f;
    ASSERT_EQ(render(*ts, bm, s), 1);
    EXPECT_EQ(pixel(bm, 3, 5), (BMM_Color_64{q16(0.5), 0, 0, q16(0.5)}));
    EXPECT_EQ(pixel(bm, 12, 5), BMM_Color_64{});
}

// A floor one unit below a 90 degree perspective camera, running from behind the camera far into
// the distance: clipped at the near plane, it fills exactly the rows below the horizon.
TEST(ScanlineClipping, FloorThroughTheCameraPlaneFillsTheRowsBelowTheHorizon)
{
    auto ts = TestScene::perspective(90.0f);
    auto floor = std::make_shared<Mesh>();
    floor->verts = {{-1000, -1, 5}, {1000, -1, 5}, {1000, -1, -1000}, {-1000, -1, -1000}};
    Face a, b;
    a.v[0] = 0, a.v[1] = 1, a.v[2] = 2;
    b.v[0] = 0, b.v[1] = 2, b.v[2] = 3;
    floor->faces = {a, b};
    ts->add("floor", floor, ts->material<ConstantMtl>(green));
    Bitmap bm;
    RenderSetup s;
    s.width = s.height = 40;
    ASSERT_EQ(render(*ts, bm, s), 1);
    // The far edge projects to screen y = 20 + 20 / 1000.
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; x += 3) {
            BMM_Color_64 expected = y >= 20 ? BMM_Color_64{0, 65535, 0, 65535} : BMM_Color_64{0, 0, 0, 65535};
            ASSERT_EQ(pixel(bm, x, y), expected) << x << "," << y;
        }
}

}  // namespace
