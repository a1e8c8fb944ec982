// The four caches: every field is its block parameter; update rereads them exactly when something
// changed or the time left the validity interval.

#include "support/MaterialTestSupport.h"

#include "material/MaterialCacheBlocks.h"
#include "material/vmlMaterialParamBlocks.h"
#include "standalone/StandardMaterial.h"
#include "support/RefTestObjects.h"

#include <gtest/gtest.h>

using namespace test_support;
using namespace vml;

namespace {

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
