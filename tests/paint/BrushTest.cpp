// The brush: its procedural tip (falloff, stretch, bristle dots) checked against values
// worked out by hand, and the texture map around it (variants and the painting flag, the sub-map
// mix, bump, persistence, the editor's preview and its change-detection record).

#include "support/BrushTestSupport.h"

#include "host/ChunkReader.h"
#include "host/ChunkWriter.h"
#include "paint/BrushPreview.h"
#include "paint/BrushShape.h"
#include "support/TestShadeContext.h"

#include <cmath>
#include <cstddef>

using namespace test_support;

namespace {

using namespace vml::brushMapParam;
using namespace vml;

class BrushShapeTest : public ::testing::Test {
protected:
    void SetUp() override { vml::fillRandomTables(); }
};

TEST_F(BrushShapeTest, NegativeSoftnessIsCompressedAndVariantCountStaysPositive)
{
    BrushShape s;
    s.anti = 200.0f;  // e = (1 - 2) * 0.9 = -0.9, then -0.9 / (1 + 0.45)
    s.rndNum = 0;
    s.derive();
    EXPECT_NEAR(s.softness, -0.620690f, 1e-5f);
    EXPECT_FLOAT_EQ(s.radiusFactor, 2.5f);
    EXPECT_EQ(s.rndNum, 1);
}

// Bristles: size 5, anti 0 (e = 0.9, ra = 1, edge 0.81), no size spread.
class BristleTest : public BrushShapeTest {
protected:
    static BrushShape bristles(float space, float spaceRand)
    {
        BrushShape s;
        s.anti = 0.0f;
        s.hSpace = s.vSpace = space;
        s.hSpaceRand = s.vSpaceRand = spaceRand;
        s.derive();
        return s;
    }
};

TEST_F(BristleTest, DotCentresFollowTheCellHash)
{
    const BrushShape s = bristles(100.0f, 100.0f);  // cells 110 x 110, dots of radius 5 apart
    // Cell (0, 0), variant 0: h = (31786 * 13319 + 31786 + 13319 + 31786) & 0xFFFF = 6529,
    // r1 = 21396, r2 = 56971; centre ((21396 / 65536 - 0.5) * 110, (56971 / 65536 - 0.5) * 110)
    // = (-19.087524, 40.623932).
    EXPECT_EQ(bristleCoverage(s, -19.087524f / 50.0f, 40.623932f / 50.0f, 0), 1.0f);
    EXPECT_NEAR(bristleCoverage(s, (-19.087524f + 4.75f) / 50.0f, 40.623932f / 50.0f, 0), 0.246655f, 1e-3f);
    EXPECT_EQ(bristleCoverage(s, 0.0f, 0.0f, 0), 0.0f);
    // Cell (-1, 0) reads entry 65535: h = (55535 * 13319 + 31786 + 1024 + 31786) & 0xFFFF = 30429,
    // r1 = 61760, r2 = 16455; centre ((0.942383 - 0.5 - 1) * 110, (0.251083 - 0.5) * 110)
    // = (-61.337891, -27.380829).
    EXPECT_EQ(bristleCoverage(s, -61.337891f / 50.0f, -27.380829f / 50.0f, 0), 1.0f);
}

TEST_F(BristleTest, CellRangeFollowsTheFormulaAndDegenerateSettingsStayBounded)
{
    // trunc((0 - 10 - 5) / 10 + 0.5) = -1 up to trunc((10 + 0 + 5) / 10 + 0.5) = 2.
    vml::BrushCellRange r = vml::bristleCellRange(0.0f, 10.0f, 5.0f);
    EXPECT_EQ(std::pair(r.first, r.end), std::pair(-1, 2));
    // trunc(32 / 10 + 0.5) = 3 up to trunc(62 / 10 + 0.5) = 6.
    r = vml::bristleCellRange(47.0f, 10.0f, 5.0f);
    EXPECT_EQ(std::pair(r.first, r.end), std::pair(3, 6));
    r = vml::bristleCellRange(3.0f, 1.0f, 1.0e6f);  // a million cells either side
    EXPECT_EQ(r.end - r.first, vml::maxBristleCells);
    EXPECT_LE(r.first, 3);
    EXPECT_GT(r.end, 3);
    r = vml::bristleCellRange(1.0e30f, 0.2f, 1.0f);
    EXPECT_LE(r.end - r.first, vml::maxBristleCells);
    r = vml::bristleCellRange(std::nanf(""), 10.0f, 5.0f);
    EXPECT_EQ(r.end - r.first, 0);
    BrushShape s = bristles(0.0f, 0.0f);
    s.anti = 1.0e6f;  // 7500 cells per axis without the cap
    s.derive();
    const float c = bristleCoverage(s, 0.3f, -0.2f, 2);
    EXPECT_TRUE(c >= 0.0f && c <= 1.0f) << c;
    s.size = 5.0f;
    s.hSpace = -20.0f;  // cells of negative width hold no dots
    s.derive();
    EXPECT_EQ(bristleCoverage(s, 0.0f, 0.0f, 0), 0.0f);
}

class BrushMapTest : public test_support::BrushFixture {
protected:
    float at(float u, float v)
    {
        sc.uvw = Point3(u, v, 0.0f);
        return brush.EvalMono(sc);
    }
    vmlBrush brush;
    test_support::TestShadeContext sc;
};

TEST_F(BrushMapTest, SubMapReplacesOrMixesWithTheTipUntilDeleted)
{
    // The plain tip is 1 at the centre and 0 at (0.02, 0.02).
    makePlain(brush);
    ToneMap grey(0.3f);
    brush.SetSubTexmap(0, &grey);
    update(brush);
    EXPECT_GE(grey.updates, 1);
    EXPECT_FLOAT_EQ(at(0.5f, 0.5f), 0.3f);
    EXPECT_FLOAT_EQ(brush.EvalColor(sc).g, 0.3f);
    EXPECT_NEAR(brush.value(0.5f, 0.5f, nullptr), 1.0f, 1e-5f);  // no context, no map
    set(brush, brushMapMapOpacity, 40.0f);
    update(brush);
    EXPECT_NEAR(at(0.5f, 0.5f), 0.72f, 1e-5f);    // 0.6 * 1 + 0.4 * 0.3
    EXPECT_NEAR(at(0.02f, 0.02f), 0.12f, 1e-5f);  // 0.6 * 0 + 0.4 * 0.3
    set(brush, brushMapMapEnable, 0);
    update(brush);
    EXPECT_NEAR(at(0.5f, 0.5f), 1.0f, 1e-5f);
    // A sub-map deleted elsewhere leaves the tip.
    set(brush, brushMapMapEnable, 1);
    set(brush, brushMapMapOpacity, 100.0f);
    auto* doomed = new ToneMap(0.8f);
    brush.SetSubTexmap(0, doomed);
    update(brush);
    EXPECT_FLOAT_EQ(at(0.5f, 0.5f), 0.8f);
    doomed->DeleteThis();
    EXPECT_NEAR(at(0.5f, 0.5f), 1.0f, 1e-5f);
}

TEST_F(BrushMapTest, NormalPerturbIsTheScaledGradientAlongTheSurfaceDerivatives)
{
    makePlain(brush);
    update(brush);
    sc.uvw = Point3(0.875f, 0.5f, 0.0f);  // p = 0.75, q = 0
    sc.duvw = Point3(0.002f, 0.002f, 0.0f);
    sc.dPdu = Point3(0.0f, 0.0f, 2.0f);
    sc.dPdv = Point3(0.0f, 3.0f, 0.0f);
    // S = smooth(x), x = 1 - (p^2 - 0.25) / 0.75 = 0.583333; dS/dx = -(3x^2 - 3x - 0.25) / 0.75
    // = 1.305556; dx/dp = -2p / 0.75 = -2; dp/du = 2: g0 = -5.222222, g1 = 0 (q = 0).
    // dPdu * g0 * 0.02 = (0, 0, 2 * -0.104444).
    const Point3 n = brush.EvalNormalPerturb(sc);
    EXPECT_NEAR(n.y, 0.0f, 1e-3f);
    EXPECT_NEAR(n.z, -0.208889f, 2e-3f);
}

TEST_F(BrushMapTest, SaveAndLoadKeepTheSettings)
{
    set(brush, brushMapType, 0);
    set(brush, brushMapSize, 12.5f);
    set(brush, brushMapAngle, 30.0f);
    set(brush, brushRndNum, 7);
    set(brush, brushCacheDisable, 1);
    update(brush);
    // What the host writes: the brush's own data and, as reference 0, its block.
    ChunkWriter own, block;
    ASSERT_EQ(brush.Save(&own), IO_OK);
    ASSERT_EQ(brush.GetParamBlock(0)->Save(&block), IO_OK);
    vmlBrush loaded;
    update(loaded);  // defaults cached, valid forever
    ChunkReader blockReader(block.Bytes()), ownReader(own.Bytes());
    ASSERT_EQ(loaded.GetParamBlock(0)->Load(&blockReader), IO_OK);
    ASSERT_EQ(loaded.Load(&ownReader), IO_OK);
    update(loaded);
    EXPECT_EQ(loaded.shape().type, 0);
    EXPECT_FLOAT_EQ(loaded.shape().size, 12.5f);
    EXPECT_EQ(loaded.variantCount(), 7);
    EXPECT_TRUE(loaded.cacheDisabled());
    for (float u : {0.3f, 0.5f, 0.62f})
        EXPECT_EQ(loaded.value(u, 0.55f, nullptr), brush.value(u, 0.55f, nullptr)) << u;
}

TEST_F(BrushMapTest, PreviewGreyIsTheTruncatedInverseOfTheTip)
{
    makePlain(brush);
    const std::vector<std::uint8_t> image = renderBrushPreview(brush, 0, 100, 100);
    // (80, 50) samples (0.8, 0.5): p = 0.6, x = 1 - 0.11 / 0.75 = 0.853333, S = 0.912296,
    // (1 - S) * 255 = 22.36.
    EXPECT_EQ(image[50 * 100 + 80], 22);
    EXPECT_EQ(image[50 * 100 + 0], 0);  // the black border
    EXPECT_TRUE(renderBrushPreview(brush, 0, 0, 10).empty());
}

TEST_F(BrushMapTest, PreviewDrawsVariantZeroWithoutTheMap)
{
    // Plain tip stretched by 20 with full randomness.
    makePlain(brush);
    set(brush, brushMapStretch, 20.0f);
    set(brush, brushMapStretchRnd, 100.0f);
    ToneMap grey(0.5f);
    brush.SetSubTexmap(0, &grey);
    update(brush);
    vmlBrush::setStrokePainting(true);
    brush.setVariant(5, 3);
    const std::vector<std::uint8_t> image = renderBrushPreview(brush, 0, 100, 100);
    EXPECT_EQ(brush.variantIndex(), 0);
    // (75, 50): p = 0.5 stretched to 1 gives S = 0 (variant 3 would give 0.088347, grey 232).
    EXPECT_EQ(image[50 * 100 + 75], 255);
    EXPECT_EQ(image[50 * 100 + 50], 0);  // the tip, not the grey map
}

}  // namespace
