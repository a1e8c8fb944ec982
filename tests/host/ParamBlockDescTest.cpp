#include "host/ClassDesc2.h"
#include "host/IParamBlock2.h"
#include "host/ParamBlockDesc2.h"
#include "support/RefTestObjects.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

using namespace test_support;

namespace {

class TestClassDesc : public ClassDesc2 {
public:
    int IsPublic() override { return TRUE; }
    ReferenceTarget* Create(BOOL) override { return new RecordingTarget(3); }
    const char* ClassName() override { return "test"; }
    SClass_ID SuperClassID() override { return MATERIAL_CLASS_ID; }
    Class_ID ClassID() override { return Class_ID(1, 2); }
};

bool mentions(const std::vector<std::string>& problems, const std::string& what)
{
    return std::any_of(problems.begin(), problems.end(),
                       [&](const std::string& p) { return p.find(what) != std::string::npos; });
}

TEST(ParamBlockDesc2, LooksParametersUpByIdNameAndPosition)
{
    ParamBlockDesc2 desc(0, "parameters", 600, P_AUTO_CONSTRUCT, 0);
    desc.addInt(0, "elemID", 0, 0, 999, 700)
        .addBool(17, "normal", false, 716, P_ANIMATABLE)
        .addWorld(16, "edgeDepthThreshold", 100.0f, 0.0f, 10000.0f, 717, P_ANIMATABLE)
        .addOwnerRef(7, "lineMap", TYPE_TEXMAP, 2, 623)
        .addTable(12, "multipassNode", TYPE_INODE_TAB, 0, 1021);
    EXPECT_TRUE(desc.Validate().empty());
    EXPECT_EQ(desc.IDtoIndex(17), 1);  // declaration order, not id order
    EXPECT_EQ(desc.IndextoID(4), 12);
    EXPECT_EQ(desc.IndextoID(5), -1);
    EXPECT_EQ(desc.IDtoIndex(99), -1);
    ASSERT_NE(desc.FindParam("edgeDepthThreshold"), nullptr);
    EXPECT_EQ(desc.FindParam("edgeDepthThreshold")->id, 16);
    EXPECT_EQ(desc.FindParam("nothing"), nullptr);
}

TEST(ParamBlockDesc2, ValidateReportsInconsistentParameters)
{
    auto def = [](ParamID id, const char* name, ParamType2 type, int flags) {
        ParamDef d;
        d.id = id;
        d.name = name;
        d.type = type;
        d.flags = flags;
        return d;
    };
    ParamBlockDesc2 desc(1, "broken", 0, 0);
    desc.add(def(1, "label", TYPE_STRING, P_ANIMATABLE))
        .addFloat(2, "inverted", 5.0f, 10.0f, 0.0f, 0)
        .addInt(3, "outside", 200, 0, 100, 0)
        .addTable(4, "animatedTable", TYPE_FLOAT_TAB, 0, 0, P_ANIMATABLE)
        .add(def(5, "ownerFloat", TYPE_FLOAT, P_OWNERS_REF));
    const auto problems = desc.Validate();
    EXPECT_EQ(problems.size(), 5u);
    EXPECT_TRUE(mentions(problems, "\"label\": only single numeric"));
    EXPECT_TRUE(mentions(problems, "\"inverted\": range minimum above maximum"));
    EXPECT_TRUE(mentions(problems, "\"outside\": default outside the range"));
    EXPECT_TRUE(mentions(problems, "\"animatedTable\": only single numeric"));
    EXPECT_TRUE(mentions(problems, "\"ownerFloat\": an owner's reference"));
}

TEST(ClassDesc2, AttachesDescriptorsOnceAndBuildsAutoBlocksIntoTheOwnersSlots)
{
    TestClassDesc cd;
    ParamBlockDesc2 base(0, "base", 0, P_AUTO_CONSTRUCT, 2), manual(3, "manual", 0, 0, 0);
    base.addFloat(1, "shading", 100.0f, 0.0f, 100.0f, 111);
    base.SetClassDesc(&cd);
    manual.SetClassDesc(&cd);
    base.SetClassDesc(&cd);
    EXPECT_EQ(cd.NumParamBlockDescs(), 2);
    EXPECT_EQ(base.GetClassDesc(), &cd);
    EXPECT_EQ(cd.GetParamBlockDesc(1), &manual);
    EXPECT_EQ(cd.GetParamBlockDesc(2), nullptr);
    EXPECT_EQ(cd.GetParamBlockDescByID(3), &manual);
    EXPECT_EQ(cd.GetParamBlockDescByID(1), nullptr);
    std::unique_ptr<ReferenceTarget> created(cd.Create(FALSE));
    auto* owner = static_cast<RecordingTarget*>(created.get());
    cd.MakeAutoParamBlocks(owner);
    auto* block = dynamic_cast<IParamBlock2*>(owner->GetReference(2));
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(owner->GetReference(0), nullptr);  // not auto-constructed
    EXPECT_EQ(block->GetDesc(), &base);
    EXPECT_EQ(block->GetOwner(), owner);
    EXPECT_TRUE(owner->owns(block));
    EXPECT_EQ(block->GetFloat(1), 100.0f);
    // A change in the block reaches its owner, naming the parameter.
    block->SetValue(1, 0, 50.0f);
    ASSERT_FALSE(owner->received.empty());
    EXPECT_EQ(owner->received.back().from, block);
    EXPECT_EQ(owner->received.back().message, REFMSG_CHANGE);
    EXPECT_EQ(block->LastNotifyParamID(), 1);
}

}  // namespace
