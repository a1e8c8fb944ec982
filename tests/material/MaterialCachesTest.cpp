// The four caches: every field is its block parameter; update rereads them exactly when something
// changed or the time left the validity interval.

#include "support/MaterialTestSupport.h"

#include "material/MaterialCacheBlocks.h"
#include "material/MaterialPresetFile.h"
#include "material/vmlMaterialParamBlocks.h"
#include "standalone/StandardMaterial.h"
#include "support/RefTestObjects.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <span>
#include <vector>

using namespace test_support;

using namespace vml;
using test_support::ToneMap;

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
};

using B = vmlMaterial::BaseCache;

const std::vector<Field<B>> baseFields = {{1, &B::shading},
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
                                          {34, &B::brushNoSideDrop}};
// The preset file's own key table maps the other three records independently of the cache code.
template <class Rec> std::vector<Field<Rec>> presetFields(std::span<const PresetKey<Rec>> keys)
{
    std::vector<Field<Rec>> out;
    for (const PresetKey<Rec>& k : keys)
        k.floatField ? out.emplace_back(k.param, k.floatField) : out.emplace_back(k.param, k.intField);
    return out;
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

class MaterialCaches : public test_support::MaterialFixture {};

TEST_F(MaterialCaches, DeformPhaseRandomOutsideItsRangeBecomesZero)
{
    auto m = make();
    struct Case {
        float stored, cached;
    };
    for (Case c : {Case{100.9f, 100.9f}, Case{101.0f, 0.0f}, Case{-0.5f, 0.0f}}) {
        m->strokeBlock()->SetValue(strokeParam::strokeDeformPhaseRnd, 0, c.stored);
        update(*m);
        EXPECT_FLOAT_EQ(m->strokeCache().strokeDeformPhaseRnd, c.cached) << c.stored;
        // The block keeps what was stored.
        EXPECT_FLOAT_EQ(m->strokeBlock()->GetFloat(strokeParam::strokeDeformPhaseRnd), c.stored);
    }
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

    // So do a change of a map or of the base material, and setting either.
    map.NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
    EXPECT_TRUE(m->ivalid().Empty());
    update(*m);
    static_cast<StdMat2*>(m->baseMaterial())->SetDiffuse(Color(1, 0, 0), 0);
    EXPECT_TRUE(m->ivalid().Empty());
    update(*m);
    ToneMap other;
    m->SetSubTexmap(vmlMaterial::hiLevelMapSlot, &other);
    EXPECT_TRUE(m->ivalid().Empty());
    standalone::StandardMaterial porcelain;
    m->SetSubMtl(0, &porcelain);
    EXPECT_TRUE(m->ivalid().Empty());
    EXPECT_EQ(m->Validity(0), FOREVER) << "Validity updates";
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

}  // namespace
