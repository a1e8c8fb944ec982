// What the material asks of the host renderer: its parts' requirements, and while the painterly
// renderer renders, its own bit and transparency exactly when hidden-face removal is off.

#include "support/MaterialTestSupport.h"

#include "material/vmlMaterialParamBlocks.h"
#include "standalone/StandardMaterial.h"

#include <gtest/gtest.h>

using namespace test_support;

using namespace vml;

namespace {

class UvMap final : public test_support::ToneMap {
public:
    ULONG Requirements(int) override { return MTLREQ_UV; }
};

class MaterialRequirements : public test_support::MaterialFixture {
protected:
    void SetUp() override
    {
        MaterialFixture::SetUp();
        m = make();
        test_support::setParam(base, "twoSided", 1);
        m->SetSubMtl(0, &base);
    }
    void TearDown() override
    {
        m.reset();
        MaterialFixture::TearDown();
    }

    void setHiddenFace(bool on)
    {
        m->baseBlock()->SetValue(baseParam::baseHiddenFace, 0, on ? 1 : 0);
        update(*m);
    }
    void setBaseOpacity(float percent) { test_support::setParam(base, "opacity", percent); }

    standalone::StandardMaterial base;
    std::unique_ptr<vmlMaterial> m;
};

TEST_F(MaterialRequirements, DuringAPainterlyFrameHiddenFaceRemovalDecidesTransparency)
{
    vmlRenderer renderer(false);
    currentRenderer = &renderer;

    setHiddenFace(true);
    setBaseOpacity(50.0f);
    ULONG req = m->Requirements(-1);
    EXPECT_TRUE(req & vmlMaterialRenderRequirement);
    EXPECT_FALSE(req & MTLREQ_TRANSP) << "never with hidden-face removal on";
    EXPECT_TRUE(req & MTLREQ_2SIDE);

    setHiddenFace(false);
    setBaseOpacity(100.0f);
    req = m->Requirements(-1);
    EXPECT_TRUE(req & vmlMaterialRenderRequirement);
    EXPECT_TRUE(req & MTLREQ_TRANSP) << "always with it off";

    // Before any update the block answers.
    auto fresh = make();
    fresh->baseBlock()->SetValue(baseParam::baseHiddenFace, 0, 0);
    EXPECT_TRUE(fresh->Requirements(-1) & MTLREQ_TRANSP);
    currentRenderer = nullptr;
}

}  // namespace
