// What the material asks of the host renderer: its parts' requirements, and while the painterly
// renderer renders, its own bit and transparency exactly when hidden-face removal is off.

#include "support/MaterialTestSupport.h"

#include "material/vmlMaterialParamBlocks.h"
#include "standalone/StandardMaterial.h"

#include <gtest/gtest.h>

using namespace test_support;
using namespace vml;

namespace {

class MaterialRequirements : public test_support::MaterialFixture {};

TEST_F(MaterialRequirements, DuringAPainterlyFrameHiddenFaceRemovalDecidesTransparency)
{
    vmlRenderer renderer(false);
    currentRenderer = &renderer;
    standalone::StandardMaterial base;
    test_support::setParam(base, "twoSided", 1);
    auto m = make();
    m->SetSubMtl(0, &base);
    // Hidden-face removal on with a half-transparent base, then off with an opaque one.
    for (bool hidden : {true, false}) {
        m->baseBlock()->SetValue(baseParam::baseHiddenFace, 0, hidden ? 1 : 0);
        update(*m);
        test_support::setParam(base, "opacity", hidden ? 50.0f : 100.0f);
        const ULONG req = m->Requirements(-1);
        EXPECT_TRUE(req & vmlMaterialRenderRequirement);
        EXPECT_EQ((req & MTLREQ_TRANSP) != 0, !hidden)
            << "never with hidden-face removal on, always with it off";
        EXPECT_TRUE(!hidden || (req & MTLREQ_2SIDE));
    }
    // Before any update the block answers.
    auto fresh = make();
    fresh->baseBlock()->SetValue(baseParam::baseHiddenFace, 0, 0);
    EXPECT_TRUE(fresh->Requirements(-1) & MTLREQ_TRANSP);
    currentRenderer = nullptr;
}

}  // namespace
