// The brush texture map: update, variants and the painting flag, the sub-map mix,
// bump, copies and persistence.

#include "support/BrushTestSupport.h"

#include "host/ChunkReader.h"
#include "host/ChunkWriter.h"
#include "support/TestShadeContext.h"

#include <memory>

using namespace test_support;

namespace {

using namespace vml::brushMapParam;
using test_support::ToneMap;
using vml::vmlBrush;

class BrushMapTest : public test_support::BrushFixture {
protected:
    // Plain tip stretched by 20 with full randomness: at (0.75, 0.5) variant 0 gives 0 and
    // variant 3 gives 0.088347 (worked out in BrushShapeTest).
    void stretchRandomly()
    {
        makePlain(brush);
        set(brush, brushMapStretch, 20.0f);
        set(brush, brushMapStretchRnd, 100.0f);
    }
    float at(float u, float v)
    {
        sc.uvw = Point3(u, v, 0.0f);
        return brush.EvalMono(sc);
    }
    vmlBrush brush;
    test_support::TestShadeContext sc;
};

TEST_F(BrushMapTest, UpdateSeesChangesInsideTheCachedInterval)
{
    update(brush);
    set(brush, brushRndNum, 3);
    set(brush, brushCacheDisable, 1);
    set(brush, brushMapAngleRnd, 45.0f);
    update(brush);
    EXPECT_EQ(brush.variantCount(), 3);
    EXPECT_TRUE(brush.cacheDisabled());
    EXPECT_FLOAT_EQ(brush.angleRandomDegrees(), 45.0f);
    brush.Reset();
    update(brush);
    EXPECT_EQ(brush.variantCount(), 5);
}

TEST_F(BrushMapTest, VariantIndexWrapsByCount)
{
    update(brush);  // 5 variants
    brush.setVariant(77, 13);
    EXPECT_EQ(brush.variantSeed(), 77);
    EXPECT_EQ(brush.variantIndex(), 3);
    brush.setVariant(0xFFFF, -1);
    EXPECT_EQ(brush.variantIndex(), 4);
    set(brush, brushRndNum, 3);
    update(brush);
    EXPECT_EQ(brush.variantIndex(), 1);  // 4 mod 3
    set(brush, brushRndNum, 0);          // outside the range: still one variant
    update(brush);
    EXPECT_EQ(brush.variantCount(), 1);
    EXPECT_EQ(brush.variantIndex(), 0);
}

TEST_F(BrushMapTest, VariantsApplyOnlyWhilePaintingAndWithMoreThanOne)
{
    stretchRandomly();
    update(brush);
    for (int i = 0; i < 5; ++i) {
        brush.setVariant(static_cast<std::uint16_t>(100 + i), i);
        EXPECT_EQ(brush.value(0.75f, 0.5f, nullptr), 0.0f) << i;
    }
    vmlBrush::setStrokePainting(true);
    brush.setVariant(9, 3);
    EXPECT_NEAR(brush.value(0.75f, 0.5f, nullptr), 0.088347f, 1e-4f);

    set(brush, brushRndNum, 1);
    update(brush);
    for (int i = 0; i < 10; ++i) {
        brush.setVariant(static_cast<std::uint16_t>(i * 4099), i);
        EXPECT_EQ(brush.value(0.75f, 0.5f, nullptr), 0.0f) << i;
    }
}

TEST_F(BrushMapTest, SubMapReplacesOrMixesWithTheTipUntilDeleted)
{
    // The plain tip is 1 at the centre and 0 at (0.02, 0.02).
    makePlain(brush);
    ToneMap grey(0.3f);
    brush.SetSubTexmap(0, &grey);
    update(brush);
    EXPECT_GE(grey.updates, 1);
    EXPECT_FLOAT_EQ(at(0.5f, 0.5f), 0.3f);
    EXPECT_FLOAT_EQ(at(0.02f, 0.02f), 0.3f);
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

TEST_F(BrushMapTest, CloneCopiesSettingsAndOwnsACopyOfTheMap)
{
    ToneMap grey(0.4f);
    set(brush, brushMapSize, 7.5f);
    brush.SetSubTexmap(0, &grey);
    std::unique_ptr<ReferenceTarget> made(brush.Clone());
    auto* copy = dynamic_cast<vmlBrush*>(made.get());
    ASSERT_NE(copy, nullptr);
    update(*copy);
    EXPECT_FLOAT_EQ(copy->shape().size, 7.5f);
    auto* copiedMap = dynamic_cast<ToneMap*>(copy->GetSubTexmap(0));
    ASSERT_NE(copiedMap, nullptr);
    EXPECT_NE(copiedMap, &grey);
    EXPECT_TRUE(copy->owns(copiedMap));
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

}  // namespace
