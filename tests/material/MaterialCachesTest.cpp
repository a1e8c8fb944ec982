// The four caches: every field is its block parameter, in the design's order; update rereads them
// exactly when something changed or the time left the validity interval.

#include "MaterialTestSupport.h"

#include "host/RefTestObjects.h"
#include "material/MaterialCacheBlocks.h"
#include "material/vmlMaterialParamBlocks.h"
#include "paint/Blend.h"
#include "standalone/StandardMaterial.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

using namespace vml;
using materialtest::ToneMap;

namespace {

// One cached field: its parameter and where the record keeps it (exactly one pointer is set).
template <class Rec> struct Field {
    ParamID id;
    float Rec::*f = nullptr;
    std::int32_t Rec::*i = nullptr;
    Color Rec::*c = nullptr;

    Field(ParamID p, float Rec::*m) : id(p), f(m) {}
    Field(ParamID p, std::int32_t Rec::*m) : id(p), i(m) {}
    Field(ParamID p, Color Rec::*m) : id(p), c(m) {}

    std::size_t offset() const
    {
        static const Rec r{};
        const auto* base = reinterpret_cast<const char*>(&r);
        if (f)
            return std::size_t(reinterpret_cast<const char*>(&(r.*f)) - base);
        if (i)
            return std::size_t(reinterpret_cast<const char*>(&(r.*i)) - base);
        return std::size_t(reinterpret_cast<const char*>(&(r.*c)) - base);
    }
    std::size_t size() const { return c ? sizeof(Color) : 4; }
};

using B = vmlMaterial::BaseCache;
using R = vmlMaterial::BrushCache;
using S = vmlMaterial::StrokeCache;
using P = vmlMaterial::PaintCache;

// The records in the design's order.
const std::vector<Field<B>> baseFields = {
    {1, &B::shading},
    {2, &B::hiColor},
    {3, &B::hiBlend},
    {4, &B::hiLevel},
    {5, &B::hiGross},
    {9, &B::hiAniso},
    {10, &B::hiOrient},
    {7, &B::hiMapEnable},
    {6, &B::hiMapOpacity},
    {13, &B::bumpEnable},
    {14, &B::bumpAmount},
    {16, &B::reflecEnable},
    {17, &B::reflecAmount},
    {19, &B::baseMatColorEnable},
    {20, &B::baseMatColor},
    {24, &B::baseMatBlend},
    {25, &B::baseMatAlpha},
    {23, &B::baseMatMapEnable},
    {21, &B::baseMatMapOpacity},
    {26, &B::baseHiddenFace},
    {27, &B::baseRndAuto},
    {28, &B::baseRndInterval},
    {29, &B::baseRndMoveDetect},
    {30, &B::hiSharp},
    {31, &B::brushOfsEnable},
    {32, &B::brushOfs},
    {33, &B::brushOfsRnd},
    {34, &B::brushNoSideDrop},
};
const std::vector<Field<R>> brushFields = {
    {1, &R::brushOpacity},
    {2, &R::brushSize},
    {3, &R::brushSizeRnd},
    {4, &R::brushSizeGeom},
    {5, &R::brushAngle},
    {6, &R::brushAngleRnd},
    {7, &R::brushAngleFit},
    {8, &R::brushAngleFitOfs},
    {9, &R::brushDensity},
    {10, &R::brushRough},
    {11, &R::brushGeometry},
    {12, &R::brushFine},
    {13, &R::brushFineRnd},
    {14, &R::brushFadeSize},
    {15, &R::brushFadeSizeThre},
    {16, &R::brushFadeSizeRnd},
    {20, &R::brushFadeSizeLinear},
    {17, &R::brushFadeAlpha},
    {18, &R::brushFadeAlphaThre},
    {19, &R::brushFadeAlphaRnd},
    {21, &R::brushFadeAlphaLinear},
    {22, &R::brushZScaleEnable},
    {23, &R::brushZScaleStart},
    {24, &R::brushZScaleEnd},
    {25, &R::brushOfsScrX},
    {26, &R::brushOfsScrXRnd},
    {27, &R::brushOfsScrY},
    {28, &R::brushOfsScrYRnd},
    {29, &R::brushOfsNorm},
    {30, &R::brushOfsNormRnd},
};
const std::vector<Field<S>> strokeFields = {
    {0, &S::strokeLength},          {1, &S::strokeLengthRnd},      {2, &S::strokeLengthGeom},
    {3, &S::strokeAngle},           {4, &S::strokeAngleRnd},       {5, &S::strokeAngleFit},
    {6, &S::strokeAngleFitOfs},     {7, &S::strokeOffset},         {8, &S::strokeOffsetRnd},
    {9, &S::strokeDeformAmp},       {10, &S::strokeDeformAmpRnd},  {11, &S::strokeDeformFreq},
    {12, &S::strokeDeformFreqRnd},  {13, &S::strokeDeformPhase},   {14, &S::strokeDeformPhaseRnd},
    {15, &S::strokeRough},          {16, &S::strokeRoughRnd},      {17, &S::strokeRake},
    {18, &S::strokeDampSizeSt},     {19, &S::strokeDampSizeStPos}, {20, &S::strokeDampSizeEd},
    {21, &S::strokeDampSizeEdPos},  {22, &S::strokeDampSizeRnd},   {23, &S::strokeDampAlphaSt},
    {24, &S::strokeDampAlphaStPos}, {25, &S::strokeDampAlphaEd},   {26, &S::strokeDampAlphaEdPos},
    {27, &S::strokeDampAlphaRnd},   {28, &S::strokeSpace},         {29, &S::strokeSpaceRnd},
};
const std::vector<Field<P>> paintFields = {
    {1, &P::paintBlendMethod},
    {2, &P::paintBlendAmount},
    {3, &P::paintColorType},
    {4, &P::paintColorR},
    {5, &P::paintColorG},
    {6, &P::paintColorB},
    {7, &P::paintBlur},
    {8, &P::paintBlurRnd},
    {9, &P::paintBlurBound},
    {10, &P::paintBlurBoundRnd},
    {11, &P::paintMix},
    {12, &P::paintMixRnd},
    {13, &P::paintWind},
    {14, &P::paintWindRnd},
    {15, &P::paintWindAngle},
    {20, &P::paintDry},
    {21, &P::paintDryRnd},
    {16, &P::paintMonoEnable},
    {17, &P::paintMonoAmount},
    {24, &P::paintConEnable},
    {25, &P::paintConAmount},
    {22, &P::paintWhiteTransEnable},
    {23, &P::paintWhiteTransAmount},
};

template <class Rec> void expectDesignOrder(const std::vector<Field<Rec>>& fields, const char* what)
{
    std::size_t expected = 0;
    for (const Field<Rec>& field : fields) {
        EXPECT_EQ(field.offset(), expected) << what << " parameter " << field.id;
        expected += field.size();
    }
    EXPECT_EQ(expected, sizeof(Rec)) << what;
}

// Sets every field's parameter to a value of its own (booleans flipped from the default), updates,
// and expects each value in its field.
template <class Rec>
void expectEveryFieldCached(vmlMaterial& m, IParamBlock2& block, const std::vector<Field<Rec>>& fields,
                            const Rec& (vmlMaterial::*cache)() const)
{
    for (const Field<Rec>& field : fields) {
        const ParamID id = field.id;
        const float k = static_cast<float>(id);
        if (field.f)
            ASSERT_TRUE(block.SetValue(id, 0, 3.25f + k)) << id;
        else if (field.c)
            ASSERT_TRUE(block.SetValue(id, 0, Color(0.01f * k, 0.02f * k, 0.03f * k))) << id;
        else if (block.GetParameterType(id) == TYPE_BOOL)
            ASSERT_TRUE(block.SetValue(id, 0, block.GetInt(id) ? 0 : 1)) << id;
        else
            ASSERT_TRUE(block.SetValue(id, 0, 7 + id)) << id;
    }
    Interval valid = FOREVER;
    m.Update(0, valid);
    const Rec& rec = (m.*cache)();
    for (const Field<Rec>& field : fields) {
        const ParamID id = field.id;
        const float k = static_cast<float>(id);
        if (field.f)
            EXPECT_FLOAT_EQ(rec.*field.f, 3.25f + k) << id;
        else if (field.c)
            EXPECT_EQ(rec.*field.c, Color(0.01f * k, 0.02f * k, 0.03f * k)) << id;
        else
            EXPECT_EQ(rec.*field.i, block.GetInt(id)) << id;
        if (field.i && block.GetParameterType(id) != TYPE_BOOL) {
            EXPECT_EQ(rec.*field.i, 7 + id) << id;
        }
    }
}

class MaterialCaches : public materialtest::MaterialFixture {};

TEST_F(MaterialCaches, RecordsKeepTheDesignsFieldOrder)
{
    expectDesignOrder(baseFields, "base");
    expectDesignOrder(brushFields, "brush");
    expectDesignOrder(strokeFields, "stroke");
    expectDesignOrder(paintFields, "paint");
}

TEST_F(MaterialCaches, EveryCachedParameterReachesItsField)
{
    auto m = make();
    expectEveryFieldCached(*m, *m->baseBlock(), baseFields, &vmlMaterial::baseCache);
    expectEveryFieldCached(*m, *m->brushBlock(), brushFields, &vmlMaterial::brushCache);
    // strokeDeformPhaseRnd (id 14) would be 17.25, inside 0..100.
    expectEveryFieldCached(*m, *m->strokeBlock(), strokeFields, &vmlMaterial::strokeCache);
    expectEveryFieldCached(*m, *m->paintBlock(), paintFields, &vmlMaterial::paintCache);
}

TEST_F(MaterialCaches, DeformPhaseRandomOutsideItsRangeBecomesZero)
{
    auto m = make();
    struct Case {
        float stored, cached;
    };
    for (Case c : {Case{100.0f, 100.0f}, Case{100.9f, 100.9f}, Case{101.0f, 0.0f}, Case{250.0f, 0.0f},
                   Case{-0.5f, 0.0f}, Case{0.0f, 0.0f}}) {
        m->strokeBlock()->SetValue(strokeParam::strokeDeformPhaseRnd, 0, c.stored);
        update(*m);
        EXPECT_FLOAT_EQ(m->strokeCache().strokeDeformPhaseRnd, c.cached) << c.stored;
        // The block keeps what was stored.
        EXPECT_FLOAT_EQ(m->strokeBlock()->GetFloat(strokeParam::strokeDeformPhaseRnd), c.stored);
    }
}

TEST_F(MaterialCaches, BlendPositionsSelectMethodIds)
{
    auto m = make();
    m->baseBlock()->SetValue(baseParam::hiBlend, 0, 6);
    m->baseBlock()->SetValue(baseParam::baseMatBlend, 0, 7);
    m->paintBlock()->SetValue(paintParam::paintBlendMethod, 0, 15);
    update(*m);
    EXPECT_EQ(m->baseCache().hiBlend, 6) << "the cache keeps the list position";
    EXPECT_EQ(blendMethodId(m->baseCache().hiBlend), 57);
    EXPECT_EQ(blendMethodId(m->baseCache().baseMatBlend), 56);
    EXPECT_EQ(blendMethodId(m->paintCache().paintBlendMethod), 65);
}

TEST_F(MaterialCaches, UpdateRereadsOnlyAfterAChangeOrOutsideTheValidity)
{
    auto m = make();
    ToneMap map;
    m->SetSubTexmap(vmlMaterial::hiMapSlot, &map);
    Interval valid = FOREVER;
    m->Update(0, valid);
    EXPECT_EQ(valid, FOREVER) << "nothing is animated";
    EXPECT_EQ(m->ivalid(), FOREVER);
    const int reads = map.updates;
    EXPECT_EQ(reads, 1);
    update(*m, 9600);
    EXPECT_EQ(map.updates, reads) << "valid caches are not read again";

    // A block change empties the validity; the next update reads the new value.
    m->baseBlock()->SetValue(baseParam::shading, 0, 25.0f);
    EXPECT_TRUE(m->ivalid().Empty());
    update(*m);
    EXPECT_FLOAT_EQ(m->baseCache().shading, 25.0f);
    EXPECT_EQ(map.updates, reads + 1);

    // A change of a map or of the base material does too.
    map.NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
    EXPECT_TRUE(m->ivalid().Empty());
    update(*m);
    EXPECT_FALSE(m->ivalid().Empty());
    static_cast<StdMat2*>(m->baseMaterial())->SetDiffuse(Color(1, 0, 0), 0);
    EXPECT_TRUE(m->ivalid().Empty());
    update(*m);

    // Setting a map or the base material does.
    ToneMap other;
    m->SetSubTexmap(vmlMaterial::hiLevelMapSlot, &other);
    EXPECT_TRUE(m->ivalid().Empty());
    update(*m);
    standalone::StandardMaterial porcelain;
    m->SetSubMtl(0, &porcelain);
    EXPECT_TRUE(m->ivalid().Empty());
    EXPECT_EQ(m->Validity(0), FOREVER) << "Validity updates";
}

TEST_F(MaterialCaches, AnimatedParametersNarrowTheValidity)
{
    auto m = make();
    IParamBlock2* b = m->brushBlock();
    ASSERT_TRUE(b->SetKey(brushParam::brushSize, 0, 10.0f));
    ASSERT_TRUE(b->SetKey(brushParam::brushSize, 4800, 30.0f));
    Interval valid = FOREVER;
    m->Update(2400, valid);
    EXPECT_FLOAT_EQ(m->brushCache().brushSize, 20.0f);
    EXPECT_TRUE(valid.InInterval(2400));
    EXPECT_FALSE(valid.InInterval(3600)) << "the value changes there";
    update(*m, 3600);
    EXPECT_FLOAT_EQ(m->brushCache().brushSize, 25.0f);
    update(*m, 9600);
    EXPECT_FLOAT_EQ(m->brushCache().brushSize, 30.0f);
}

TEST_F(MaterialCaches, MessageFromAReferenceIsPassedToTheMaterialsDependents)
{
    auto m = make();
    RecordingTarget watcher(1);
    watcher.ReplaceReference(0, m.get());
    ToneMap map;
    m->SetSubTexmap(vmlMaterial::baseMatMapSlot, &map);
    watcher.received.clear();
    map.NotifyDependents(FOREVER, PART_TEXMAP, vmlMaterialNotifyAllMessage, FALSE);
    ASSERT_EQ(watcher.count(REFMSG_CHANGE), 1);
    EXPECT_EQ(watcher.received.back().from, m.get());
    // Other messages do not travel unless the sender propagates them.
    watcher.received.clear();
    map.NotifyDependents(FOREVER, PART_TEXMAP, REFMSG_USER + 1, FALSE);
    EXPECT_EQ(watcher.count(REFMSG_CHANGE), 0);
    watcher.DeleteAllRefsFromMe();
}

TEST_F(MaterialCaches, ResetReturnsToTheDefaults)
{
    auto m = make();
    ToneMap bump;
    standalone::StandardMaterial porcelain;
    m->SetSubTexmap(vmlMaterial::bumpMapSlot, &bump);
    m->SetSubMtl(0, &porcelain);
    m->brushBlock()->SetValue(brushParam::brushSize, 0, 55.0f);
    m->SetGBufferID(9);
    m->Reset();
    update(*m);
    EXPECT_EQ(m->bumpMap(), nullptr);
    EXPECT_FALSE(bump.HasDependent(m.get()));
    ASSERT_NE(m->baseMaterial(), nullptr);
    EXPECT_NE(m->baseMaterial(), &porcelain);
    EXPECT_TRUE(isBrushTexture(m->brushMap()));
    EXPECT_EQ(m->brushCache(), materialBlockDefaults().brush);
    EXPECT_EQ(m->baseCache(), materialBlockDefaults().base);
    EXPECT_EQ(m->GetGBufferID(), 1u);
    EXPECT_EQ(m->savedBrush(), nullptr);
    EXPECT_TRUE(core.messages().empty()) << "a reset repairs nothing";
}

}  // namespace
