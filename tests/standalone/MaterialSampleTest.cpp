// The material-editor sample: its framing and lights, the editor flag along the scanline path, and
// the materials of a scene a user can name.

#include "support/ScanlineTestSupport.h"

#include "standalone/MaterialSample.h"
#include "standalone/StandardMaterial.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using namespace test_support;
using standalone::SampleShape;

Bitmap renderSample(standalone::Scene& sample)
{
    standalone::ScanlineRenderer renderer;
    Bitmap bm;
    const standalone::RenderJobResult result = standalone::renderMaterialSample(sample, renderer, bm);
    EXPECT_TRUE(result.ok) << result.error;
    return bm;
}

float meanLuma(const Bitmap& bm, int x0, int y0, int x1, int y1)
{
    double sum = 0.0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const BMM_Color_64 p = pixel(bm, x, y);
            sum += (0.2126 * p.r + 0.7152 * p.g + 0.0722 * p.b) / 65535.0;
        }
    return static_cast<float>(sum / ((x1 - x0) * (y1 - y0)));
}

// Each light, switched off, darkens its own side of a matte sphere far more than the other.
TEST(MaterialSample, KeyLightsTheUpperLeftAndFillTheRightOverAMidGreyGround)
{
    standalone::StandardMaterial matte;
    matte.SetDiffuse(Color(0.8f, 0.8f, 0.8f), 0);
    matte.SetAmbient(Color(), 0);
    auto sample = standalone::makeMaterialSample(matte, SampleShape::sphere, 64);
    const BMM_Color_64 corner = pixel(renderSample(*sample), 0, 0);
    EXPECT_EQ(corner.r, q16(standalone::kSampleBackground.r));
    EXPECT_TRUE(corner.g == corner.r && corner.b == corner.r);
    auto contribution = [&](const char* light) {
        Bitmap bm = renderSample(*sample);
        const float upperLeft = meanLuma(bm, 14, 14, 26, 26), right = meanLuma(bm, 46, 26, 54, 38);
        sample->findNode(light)->light->on = false;
        bm = renderSample(*sample);
        sample->findNode(light)->light->on = true;
        return std::pair(upperLeft - meanLuma(bm, 14, 14, 26, 26), right - meanLuma(bm, 46, 26, 54, 38));
    };
    const auto [keyUpperLeft, keyRight] = contribution("Key light");
    const auto [fillUpperLeft, fillRight] = contribution("Fill light");
    EXPECT_GT(keyUpperLeft, 2.0f * keyRight);
    EXPECT_GT(fillRight, 2.0f * fillUpperLeft);
    EXPECT_GT(keyUpperLeft, fillRight) << "the key is the stronger light";
}

// The flag reaches the frame's global context and every shading context; an ordinary render of
// the same scene has it clear everywhere.
TEST(MaterialSample, RendersWithTheMaterialEditorFlagThroughTheWholePath)
{
    int shaded = 0, editorShades = 0;
    ProbeMtl probe([&](ShadeContext& sc) {
        ++shaded;
        editorShades += sc.InMtlEditor() ? 1 : 0;
    });
    std::vector<bool> contextFlags;
    FrameHook hook([&](int, RenderGlobalContext* gc) { contextFlags.push_back(gc->inMtlEdit != FALSE); });
    auto sample = standalone::makeMaterialSample(probe, SampleShape::box, 32);
    renderSample(*sample);
    EXPECT_GT(shaded, 100);
    EXPECT_EQ(editorShades, shaded);
    EXPECT_EQ(contextFlags, (std::vector<bool>{true, true}));
    shaded = editorShades = 0;
    contextFlags.clear();
    Bitmap bm;
    EXPECT_TRUE(standalone::renderScanline(*sample, bm).ok);
    EXPECT_GT(shaded, 100);
    EXPECT_EQ(editorShades, 0);
    EXPECT_EQ(contextFlags, (std::vector<bool>{false, false}));
}

// A material holding others, as wrappers and multi-materials do.
struct HolderMtl : ConstantMtl {
    HolderMtl() : ConstantMtl(Color(1, 1, 1)) {}
    int NumSubMtls() override { return static_cast<int>(subs.size()); }
    Mtl* GetSubMtl(int i) override { return subs[static_cast<std::size_t>(i)]; }
    std::vector<Mtl*> subs;
};

}  // namespace
