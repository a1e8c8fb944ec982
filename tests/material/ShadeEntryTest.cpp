// The shade entry as an ordinary material (no painterly frame in progress) and its parts: the
// highlight curve, the wrapper context with its scaled lights, and the context pool.

#include "material/HighlightCurve.h"
#include "material/ShadeContextPool.h"
#include "material/VmlmatShadeContext.h"
#include "shell/Locks.h"
#include "support/ShadingTestSupport.h"

#include <algorithm>
#include <atomic>
#include <thread>

namespace {

using namespace test_support;
using vml::highlightAmount;
namespace base = vml::baseParam;

TEST(HighlightCurve, BranchPoints)
{
    // Level 50: L' = 0.75, half 0.375. At or above L' the intensity passes through.
    EXPECT_FLOAT_EQ(*highlightAmount(0.8f, 50, 40), 0.8f);
    EXPECT_FLOAT_EQ(*highlightAmount(0.3f, 0, 0), 0.3f) << "level 0 (a level map alone): L' = 0";
    // Sharpness 50: band half-width 0.375 x 0.505. Above it L', below it nothing.
    EXPECT_FLOAT_EQ(*highlightAmount(0.6f, 50, 50), 0.75f);
    EXPECT_FALSE(highlightAmount(0.1f, 50, 50).has_value());
    // Inside: the formula's values worked out by hand; the middle is half of L'.
    EXPECT_NEAR(*highlightAmount(0.45f, 50, 50), 0.60166f, 1e-4f);
    EXPECT_NEAR(*highlightAmount(0.3f, 50, 50), 0.14834f, 1e-4f);
    EXPECT_NEAR(*highlightAmount(0.375f, 50, 50), 0.375f, 1e-6f);
    // Level above 100 saturates at L' = 1; sharpness 0 makes the band linear.
    EXPECT_NEAR(*highlightAmount(0.5f, 200, 30), 0.5f, 1e-6f);
    EXPECT_NEAR(*highlightAmount(0.2f, 50, 0), 0.2f, 1e-6f);
    // Sharpness 100: sharp = 0.01, the band 0.375 +- 0.00375, narrow but not empty.
    EXPECT_FALSE(highlightAmount(0.371f, 50, 100).has_value());
    EXPECT_FLOAT_EQ(*highlightAmount(0.379f, 50, 100), 0.75f);
    EXPECT_NEAR(*highlightAmount(0.375f, 50, 100), 0.375f, 1e-6f);
    // Beyond 100 the band would close to 0 / 0 at its middle.
    EXPECT_NEAR(*highlightAmount(0.375f, 50, 102), 0.375f, 1e-6f);
}

TEST(VmlmatShadeContext, WrapsTheHostLightsScaledWithTheirFlagsAndKeepsItsOwnOutput)
{
    FlatLight a(Color(1, 1, 1)), b(Color(0.5f, 0.5f, 0.5f));
    b.affectDiffuse = FALSE, b.ambientOnly = TRUE;
    test_support::TestShadeContext host;
    host.setLights({&a, &b});
    host.out.gbufId = 9;
    vml::VmlmatShadeContext w;
    ASSERT_TRUE(w.bind(host, 0.25f));
    ASSERT_NE(w.Light(1), &b);
    EXPECT_FALSE(w.Light(1)->affectDiffuse);
    EXPECT_TRUE(w.Light(1)->ambientOnly);
    EXPECT_EQ(w.Light(2), nullptr);
    Color c;
    Point3 dir;
    float dotNL = 0, coef = 0;
    EXPECT_TRUE(w.Light(1)->Illuminate(w, Point3(0, 0, 1), c, dir, dotNL, coef));
    EXPECT_EQ(c, Color(0.125f, 0.125f, 0.125f));
    w.SetGBufferID(4);
    w.SetNormal(Point3(0, 1, 0));
    EXPECT_EQ(host.out.gbufId, 9) << "the output record is the wrapper's own";
    EXPECT_EQ(host.normal, Point3(0, 1, 0)) << "everything else is the host's";
    // Same light count: the array stays; another count: a new one.
    const vml::VmlmatLightDesc* lights = w.lightArray();
    host.setLights({&b, &a});
    ASSERT_TRUE(w.bind(host, 1.0f));
    EXPECT_EQ(w.lightArray(), lights);
    host.setLights({&a, &b, &a});
    ASSERT_TRUE(w.bind(host, 1.0f));
    EXPECT_EQ(w.lightCapacity(), 3);
}

TEST(ShadeContextPool, EachThreadBorrowsItsOwnContextsAndReusesThem)
{
    std::vector<std::thread> workers;
    std::atomic<int> clashes{0}, grown{0};
    for (int t = 0; t < 4; ++t) {
        workers.emplace_back([t, &clashes, &grown] {
            test_support::TestShadeContext host;
            for (int i = 0; i < 2000; ++i) {
                vml::VmlmatShadeContext* w = vml::acquireShadeContext();
                vml::VmlmatShadeContext* nested = vml::acquireShadeContext();
                w->bind(host, 1.0f);
                w->mtlNum = t * 10000 + i;  // another borrower would overwrite the mark
                std::this_thread::yield();
                clashes += w->mtlNum != t * 10000 + i || nested == w ? 1 : 0;
                vml::releaseShadeContext(nested);
                vml::releaseShadeContext(w);
            }
            // Two at a time at most, so two contexts, handed out again in the same order.
            grown += vml::shadeContextPoolSize() != 2 ? 1 : 0;
            vml::VmlmatShadeContext* a = vml::acquireShadeContext();
            vml::releaseShadeContext(a);
            clashes += vml::acquireShadeContext() != a ? 1 : 0;
            vml::releaseShadeContext(a);
        });
    }
    for (auto& w : workers)
        w.join();
    EXPECT_EQ(clashes.load(), 0);
    EXPECT_EQ(grown.load(), 0) << "no more contexts than samples shaded at once on a thread";
}

class MaterialShade : public ShadingFixture {
protected:
    void SetUp() override
    {
        ShadingFixture::SetUp();
        material = make();
        material->SetSubMtl(0, &lit);
        sc.ambientLight = Color(0.1f, 0.1f, 0.1f);
        sc.addLight(&light);
    }
    template <class T> void set(ParamID id, T v) { material->baseBlock()->SetValue(id, 0, v); }
    Color shade()
    {
        update(*material);
        material->Shade(sc);
        return sc.out.c;
    }
    static void expectColor(const Color& a, const Color& b)
    {
        EXPECT_NEAR(a.r, b.r, 1e-5f);
        EXPECT_NEAR(a.g, b.g, 1e-5f);
        EXPECT_NEAR(a.b, b.b, 1e-5f);
    }
    LitMtl lit;
    FlatLight light{Color(0.6f, 0.6f, 0.6f)};
    PixelContext sc;
    std::unique_ptr<vml::vmlMaterial> material;
};

TEST_F(MaterialShade, TheColourIsWorkedOnStraightAndReturnedPremultiplied)
{
    test_support::ConstantMtl translucent(Color(0.2f, 0.3f, 0.1f), Color(0.5f, 1.0f, 0.0f));
    material->SetSubMtl(0, &translucent);
    set(base::baseMatColorEnable, 1);
    set(base::baseMatColor, Color(1, 1, 1));
    set(base::baseMatAlpha, 50.0f);
    // Straight (0.4, 0.3, 0.1): red divided by 1 - 0.5, green left undivided at t = 1. Half way
    // to white (0.7, 0.65, 0.55), then times 1 - t again.
    expectColor(shade(), Color(0.35f, 0.0f, 0.55f));
    EXPECT_EQ(sc.out.t, Color(0.5f, 1.0f, 0.0f));
    EXPECT_EQ(sc.out.gbufId, 1) << "the material's effects id";
}

TEST_F(MaterialShade, BumpTiltsTheNormalWhileShadingAndRestoresIt)
{
    struct TiltMap : test_support::ToneMap {
        Point3 EvalNormalPerturb(ShadeContext&) override { return Point3(1, 0, 0); }
    } tilt;
    material->SetSubTexmap(vml::vmlMaterial::bumpMapSlot, &tilt);  // switches bumpEnable on
    set(base::bumpAmount, 50);
    const Point3 tilted = Normalize(Point3(0.5f, 0, 1));
    shade();
    EXPECT_EQ(sc.Normal(), Point3(0, 0, 1));
    sc.backFace = TRUE;  // the perturbation turns with the face
    shade();
    set(base::bumpEnable, 0);
    shade();
    ASSERT_EQ(lit.normalsSeen.size(), 3u);
    EXPECT_NEAR(lit.normalsSeen[0].x, tilted.x, 1e-5f);
    EXPECT_NEAR(lit.normalsSeen[1].x, -tilted.x, 1e-5f);
    EXPECT_EQ(lit.normalsSeen[2], Point3(0, 0, 1));
    EXPECT_EQ(sc.Normal(), Point3(0, 0, 1));
}

}  // namespace
