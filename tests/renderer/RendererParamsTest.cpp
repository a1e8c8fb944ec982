// vmlRenderer's parameters: the block against its table, the cached copies, the rollouts' logic,
// the element compatibility, and save, load and clone.

#include "renderer/RenderParamDlgProc.h"
#include "renderer/RenderVersionDlgProc.h"
#include "renderer/RendererSettings.h"
#include "renderer/vmlRendererParamBlocks.h"
#include "support/RendererTestSupport.h"

#include "host/ChunkReader.h"
#include "host/ChunkWriter.h"
#include "host/IParamBlock2.h"
#include "renderer/LineFxRenderElement.h"

#include <cmath>
#include <string>

namespace {

using namespace test_support;
using vml::vmlRenderer;

using RendererParams = HostFixture;

TEST_F(RendererParams, TheBlocksAreValidWithDefaultsInTheirRanges)
{
    ParamBlockDesc2& desc = vml::vmlRendererParamsBlock();
    EXPECT_TRUE(desc.Validate().empty());
    for (ParamID id = 0; id < desc.Count(); ++id) {
        const ParamDef* def = desc.GetParamDef(id);
        ASSERT_NE(def, nullptr) << id;
        SCOPED_TRACE(def->name);
        EXPECT_FALSE(text(def->labelId).empty());
        if (def->hasRange) {
            EXPECT_GE(def->defNumber[0], def->rangeMin);
            EXPECT_LE(def->defNumber[0], def->rangeMax);
        }
    }
    // The registry's descriptor makes a renderer with its inner renderer.
    std::unique_ptr<ReferenceTarget> made(core.findClass("vmlRenderer")->Create(TRUE));
    auto* fromDesc = dynamic_cast<vmlRenderer*>(made.get());
    ASSERT_NE(fromDesc, nullptr);
    EXPECT_NE(fromDesc->innerRenderer(), nullptr);
}

TEST_F(RendererParams, CachedCopiesFollowTheBlockAndTheRenderKind)
{
    vmlRenderer r;
    IParamBlock2& pb = *r.paramBlock();
    pb.SetValue(vml::rendererBrushScaleAmount, 0, 150);
    EXPECT_EQ(vml::readRendererSettings(&pb, false).brushScale, 1.0f) << "scaling is off";
    pb.SetValue(vml::rendererBrushScaleEnable, 0, 1);
    pb.SetValue(vml::rendererPenStrokeEnable, 0, 1);
    pb.SetValue(vml::rendererMultipassEnable, 0, 1);
    pb.SetValue(vml::rendererPenStrokeAlpha, 0, 40.0f);
    vml::RendererSettings s = vml::readRendererSettings(&pb, false);
    EXPECT_FLOAT_EQ(s.brushScale, 1.5f);
    EXPECT_FLOAT_EQ(s.brushScaleInverse, 1.0f / 1.5f);
    EXPECT_TRUE(s.penStrokeEnable);
    EXPECT_TRUE(s.multipassEnable);
    EXPECT_FLOAT_EQ(s.penStrokeAlpha, 0.4f);

    s = vml::readRendererSettings(&pb, true);
    EXPECT_EQ(s.brushScale, 1.0f);
    EXPECT_EQ(s.brushScaleInverse, 1.0f);
    EXPECT_FALSE(s.penStrokeEnable);
    EXPECT_FALSE(s.multipassEnable);

    // Values no rollout would allow (a damaged scene) are held to the ranges.
    pb.SetValue(vml::rendererBrushScaleAmount, 0, 0);
    pb.SetValue(vml::rendererBrushCacheSize, 0, 0);
    pb.SetValue(vml::rendererPenStrokeBlend, 0, 40);
    s = vml::readRendererSettings(&pb, false);
    EXPECT_FLOAT_EQ(s.brushScale, 0.1f);
    EXPECT_TRUE(std::isfinite(s.brushScaleInverse));
    EXPECT_EQ(s.brushCacheSize, 16);
    EXPECT_EQ(s.penStrokeBlend, 15);

    r.ResetParams();
    EXPECT_EQ(pb.GetInt(vml::rendererBrushScaleAmount), 100);
    EXPECT_EQ(pb.GetInt(vml::rendererPenStrokeEnable), 0);
}

TEST_F(RendererParams, SummaryShowsTheStrokeCountAndSettings)
{
    vmlRenderer r;
    IParamBlock2& pb = *r.paramBlock();
    pb.SetValue(vml::rendererBrushCacheEnable, 0, 0);
    {
        vml::RenderParamDlgProc summary(r);
        summary.open();
        EXPECT_EQ(r.summaryRollout(), &summary);
        EXPECT_EQ(summary.value(1050), "0");
        EXPECT_EQ(summary.value(1051), text(1081));
        EXPECT_EQ(summary.value(1052), text(1080));
        summary.setStrokeCount(12345);
        EXPECT_EQ(summary.value(1050), "12345");
    }
    EXPECT_EQ(r.summaryRollout(), nullptr) << "closing forgets the rollout";

    pb.SetValue(vml::rendererBrushScaleEnable, 0, 1);
    for (auto [amount, shown] : {std::pair{150, "150%"}, std::pair{110, "110%"}, std::pair{29, "29%"}}) {
        pb.SetValue(vml::rendererBrushScaleAmount, 0, amount);
        vml::RenderParamDlgProc summary(r);
        summary.open();
        EXPECT_EQ(summary.value(1051), shown);
    }
}

TEST_F(RendererParams, OnlyTheThreeElementClassesAreCompatible)
{
    vmlRenderer r;
    vml::LineFxRenderElement line;
    EXPECT_TRUE(r.IsCompatible(&line));
    EXPECT_FALSE(r.IsCompatible(nullptr));

    class Foreign : public vml::LineFxRenderElement {
    public:
        explicit Foreign(Class_ID id) : id_(id) {}
        Class_ID ClassID() override { return id_; }

    private:
        Class_ID id_;
    };
    Foreign a(Class_ID(0x54022254, 0x03200624)), b(Class_ID(0x54022257, 0x08140726)),
        c(Class_ID(0x54022257, 0x03200205));
    EXPECT_TRUE(r.IsCompatible(&a));
    EXPECT_TRUE(r.IsCompatible(&b));
    EXPECT_FALSE(r.IsCompatible(&c));
}

TEST_F(RendererParams, SaveWritesTheInnerRendererChunkAndLoadReadsAnyOrder)
{
    vmlRenderer r;
    ChunkWriter writer;
    ASSERT_EQ(r.Save(&writer), IO_OK);
    ASSERT_EQ(writer.Status(), IO_OK);
    {
        ChunkReader reader(writer.Bytes());
        ASSERT_EQ(reader.OpenChunk(), IO_OK);
        EXPECT_EQ(reader.CurChunkID(), vmlRenderer::innerRendererChunk);
        reader.CloseChunk();
        EXPECT_EQ(reader.OpenChunk(), IO_END) << "no filter chunks without a filter";
    }

    // Filter chunks before the inner renderer's, and an unknown one: the loaded renderer makes
    // its inner renderer and cannot paste.
    ChunkWriter saved;
    saved.BeginChunk(0x7777);
    saved.EndChunk();
    saved.BeginChunk(vmlRenderer::filterClassChunk);
    writeValue(&saved, ULONG(0x1234));
    writeValue(&saved, ULONG(0x5678));
    saved.EndChunk();
    saved.BeginChunk(vmlRenderer::filterDataChunk);
    writeValue(&saved, ULONG(1));
    saved.EndChunk();
    saved.BeginChunk(vmlRenderer::innerRendererChunk);
    saved.EndChunk();
    ASSERT_EQ(saved.Status(), IO_OK);
    vmlRenderer loaded(false);
    EXPECT_EQ(loaded.innerRenderer(), nullptr);
    EXPECT_TRUE(loaded.clipboardUsable());
    ChunkReader reader(saved.Bytes());
    EXPECT_EQ(loaded.Load(&reader), IO_OK);
    EXPECT_NE(loaded.innerRenderer(), nullptr);
    EXPECT_FALSE(loaded.clipboardUsable());

    // A filter class chunk too short for its two words ends the load with the error.
    ChunkWriter broken;
    broken.BeginChunk(vmlRenderer::filterClassChunk);
    writeValue(&broken, ULONG(0x1234));
    broken.EndChunk();
    broken.BeginChunk(vmlRenderer::innerRendererChunk);
    broken.EndChunk();
    ChunkReader brokenReader(broken.Bytes());
    vmlRenderer failed(false);
    EXPECT_EQ(failed.Load(&brokenReader), IO_ERROR);
    EXPECT_FALSE(failed.clipboardUsable());
}

TEST_F(RendererParams, CloneCopiesTheBlocksTheMapAndTheInnerRenderer)
{
    vmlRenderer r;
    IParamBlock2& pb = *r.paramBlock();
    pb.SetValue(vml::rendererBlurstrAmount, 0, 42);
    ConstantMap map(0.25f);
    pb.SetValue(vml::rendererBlurstrMap, 0, static_cast<ReferenceTarget*>(&map));
    TestNode node("box");
    INode* nodes[] = {&node};
    r.addNodes(nodes, 3);

    std::unique_ptr<ReferenceTarget> copyHolder(r.Clone());
    auto* copy = dynamic_cast<vmlRenderer*>(copyHolder.get());
    ASSERT_NE(copy, nullptr);
    IParamBlock2* cpb = copy->paramBlock();
    ASSERT_NE(cpb, nullptr);
    EXPECT_NE(cpb, &pb);
    EXPECT_EQ(cpb->GetOwner(), copy);
    EXPECT_EQ(cpb->GetInt(vml::rendererBlurstrAmount), 42);
    EXPECT_EQ(cpb->Count(vml::rendererMultipassNode), 1);
    EXPECT_EQ(cpb->GetReferenceTarget(vml::rendererMultipassNode, 0, 0), &node);
    EXPECT_EQ(cpb->GetInt(vml::rendererMultipassId, 0, 0), 3);
    ASSERT_NE(copy->bleedStrengthMap(), nullptr);
    EXPECT_NE(copy->bleedStrengthMap(), &map);
    EXPECT_EQ(cpb->GetReferenceTarget(vml::rendererBlurstrMap), copy->bleedStrengthMap());
    EXPECT_NE(copy->innerRenderer(), nullptr);
    EXPECT_NE(copy->innerRenderer(), r.innerRenderer());
    for (int i = 1; i < 3; ++i)
        EXPECT_NE(copy->GetParamBlock(i), r.GetParamBlock(i));

    // The copy's settings are its own.
    cpb->SetValue(vml::rendererBlurstrAmount, 0, 7);
    EXPECT_EQ(pb.GetInt(vml::rendererBlurstrAmount), 42);
    pb.SetValue(vml::rendererBlurstrMap, 0, nullptr);
}

}  // namespace
