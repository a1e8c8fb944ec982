// Stroke placement without a frame: the jittered grid and its corner test, the seed a record
// gets, and the record itself.

#include "material/StrokePlacement.h"
#include "host/NormalCompression.h"
#include "renderer/NodeRecords.h"
#include "shell/RandomTables.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

namespace {

using vml::StrokeCell;
using vml::StrokeGrid;

// The seed as the tables combine, for a cell already folded to 0..65535.
std::uint16_t tableSeed(std::uint32_t ax, std::uint32_t ay, std::uint32_t step)
{
    const std::uint32_t b = vml::randomTableA[ax];
    return static_cast<std::uint16_t>((vml::randomTableB[ay] * (b + 1) + vml::randomTableA[step] + b) &
                                      0xFFFF);
}

class StrokePlacement : public ::testing::Test {
protected:
    void SetUp() override
    {
        vml::fillRandomTables();
        frame.width = 320, frame.height = 240, frame.nodes = &nodes;
        sample.where = {IPoint2{10, 20}, Point2(0.5f, 0.5f), 3, 11, -5.0f};
        sample.normal = Point3(0, 0, 2);
        sample.color = Color(0.5f, 0.25f, 1.0f);
        sample.transparency = Color(0.25f, 0.25f, 0.25f);
    }
    vml::vmlObjBrush record(StrokeCell cell = {5, 7})
    {
        return vml::makeStrokeRecord(settings, frame, sample, cell, Point2(10.5f, 20.25f), nullptr);
    }
    vml::NodeRecords nodes;
    vml::StrokeFrame frame;
    vml::StrokePlacementSettings settings;
    vml::ShadingSample sample;
};

TEST_F(StrokePlacement, EachCornerIsFoundInExactlyOnePixelTheOneThatHoldsIt)
{
    frame.inMtlEdit = true;  // the editor's grid is centred
    const StrokeGrid editor = vml::strokeGrid(settings, frame, 3);
    EXPECT_FLOAT_EQ(editor.originX, 160.0f - 0.001f);
    EXPECT_FLOAT_EQ(editor.originY, 120.0f - 0.001f);
    EXPECT_FLOAT_EQ(editor.cellsPerPixel, 0.26f);
    for (const StrokeGrid grid : {editor, StrokeGrid{-1234.567f, 3.3f, 0.5f}, StrokeGrid{0.0f, 0.0f, 1.0f}}) {
        const float k = grid.cellsPerPixel;
        std::set<std::pair<int, int>> cells;
        int found = 0;
        for (int y = 0; y < 240; ++y) {
            for (int x = 0; x < 320; ++x) {
                const auto c = vml::findStrokeCorner(grid, IPoint2{x, y});
                if (!c)
                    continue;
                ++found;
                EXPECT_TRUE(cells.emplace(c->cell.x, c->cell.y).second) << "corner found twice";
                // The corner lies on the pixel's square.
                EXPECT_NEAR(c->position.x, x + 0.5f, 0.5f + 1e-3f);
                EXPECT_NEAR(c->position.y, y + 0.5f, 0.5f + 1e-3f);
                EXPECT_NEAR(c->position.x, (c->cell.x + 1) / k + grid.originX, 1e-3f);
            }
        }
        // Every corner of the window: between floor and ceil of (size x k) per axis.
        EXPECT_GE(found, static_cast<int>(std::floor(320 * k - 1) * std::floor(240 * k - 1)));
        EXPECT_LE(found, static_cast<int>(std::ceil(320 * k + 1) * std::ceil(240 * k + 1)));
    }
    // Finer than a pixel: one corner per pixel at most; no positive pitch: none.
    EXPECT_TRUE(vml::findStrokeCorner(StrokeGrid{0.3f, 0.7f, 10.0f}, IPoint2{4, 4}).has_value());
    for (float k : {0.0f, -0.26f, std::nanf(""), INFINITY})
        EXPECT_FALSE(vml::findStrokeCorner(StrokeGrid{0.0f, 0.0f, k}, IPoint2{3, 7}).has_value()) << k;
}

TEST_F(StrokePlacement, SeedsFoldNegativeCellsRemapBackFacesAndStepWithTheAnimation)
{
    EXPECT_EQ(record({-1, -1}).seed, tableSeed(65535, 65535, 0));
    constexpr StrokeCell back = vml::backFaceCell({5, 7});
    static_assert(back.x == 4101 && back.y == 4089);
    EXPECT_EQ(record(back).seed, tableSeed(4101, 4089, 0));
    frame.frameNumber = 10.5f;
    EXPECT_EQ(record().seed, tableSeed(5, 7, 0)) << "without auto random the seed never changes";
    settings.baseRndAuto = true, settings.baseRndInterval = 3;
    frame.frameNumber = 2.5f;
    EXPECT_EQ(record().seed, tableSeed(5, 7, 0));
    frame.frameNumber = 3.5f;
    EXPECT_EQ(record().seed, tableSeed(5, 7, 1));
    // The grid's jitter moves with the step too.
    const StrokeGrid step1 = vml::strokeGrid(settings, frame, 3);
    frame.frameNumber = 0.5f;
    EXPECT_NE(vml::strokeGrid(settings, frame, 3).originX, step1.originX);
}

TEST_F(StrokePlacement, TheRecordCarriesTheSampleTheCornerAndTheDepthOffset)
{
    vml::vmlObjBrush r = record();
    EXPECT_EQ(r.size(), 56u);
    EXPECT_EQ(r.depthKey, -5.0f);
    EXPECT_EQ(r.x, 10.5f);
    EXPECT_EQ(r.y, 20.25f);
    EXPECT_EQ(r.nodeId, 3);
    EXPECT_EQ(r.face, 11);
    EXPECT_EQ(r.color, (std::array<std::uint8_t, 4>{127, 63, 255, 191}));
    EXPECT_EQ(r.normal, CompressNormal(Point3(0, 0, 1)));
    // Out-of-range colours saturate instead of wrapping around a byte.
    sample.color = Color(1.5f, -0.2f, std::nanf("")), sample.transparency = Color(1.5f, 1.5f, 1.5f);
    EXPECT_EQ(record().color, (std::array<std::uint8_t, 4>{255, 0, 0, 0}));
    settings.brushOfs = 0.75f, settings.brushOfsRnd = 2.0f;
    EXPECT_EQ(record().depthKey, -5.0f) << "offsets only when enabled";
    settings.brushOfsEnable = true, settings.brushOfsRnd = 0.0f;
    EXPECT_EQ(record().depthKey, -5.0f + 0.75f);
    settings.brushOfsRnd = 2.0f;
    r = record();
    EXPECT_FLOAT_EQ(r.depthKey, -5.0f + (vml::lcgNext(r.seed) / 65536.0f - 0.5f) * 2.0f + 0.75f);
    // Pooled copies keep everything; equal depths order by cell row, column, node, face.
    alignas(vml::vmlObjBrush) unsigned char storage[sizeof(vml::vmlObjBrush)];
    auto* copy = dynamic_cast<vml::vmlObjBrush*>(r.copyTo(storage));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->seed, r.seed);
    EXPECT_EQ(copy->cell.y, 7);
    vml::vmlObjBrush later = r;
    later.cell = {0, 8};
    EXPECT_LT(r.orderKey(), later.orderKey());
    later = r, later.face = 12;
    EXPECT_LT(r.orderKey(), later.orderKey());
}

}  // namespace
