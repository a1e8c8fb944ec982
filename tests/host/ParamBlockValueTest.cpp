#include "host/IParamBlock2.h"
#include "support/RefTestObjects.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace test_support;

namespace {

enum : ParamID { kSize, kCount, kTint, kGlow, kOffset, kEnable, kAngle };
enum : ParamID { kName = kAngle + 1, kMap, kBaseMtl, kNodes, kIds, kFixed };

ParamBlockDesc2 makeDesc()
{
    ParamBlockDesc2 d(0, "parameters", 0, P_AUTO_CONSTRUCT, 0);
    d.addFloat(kSize, "size", 10.0f, 0.1f, 100.0f, 200, P_ANIMATABLE)
        .addInt(kCount, "count", 3, -999, 999, 0, P_ANIMATABLE)
        .addColor(kTint, "tint", Color(1, 1, 1), 0, P_ANIMATABLE)
        .addAColor(kGlow, "glow", AColor(0.5f, 0.5f, 0.5f, 0.25f), 0)
        .addPoint3(kOffset, "offset", Point3(0, 0, 1), 0, P_ANIMATABLE)
        .addBool(kEnable, "enable", true, 0, P_ANIMATABLE)
        .addAngle(kAngle, "angle", 90.0f, -3600.0f, 3600.0f, 0)
        .addString(kName, "name", "line", 0)
        .addRef(kMap, "map", TYPE_TEXMAP, 0)
        .addOwnerRef(kBaseMtl, "baseMtl", TYPE_MTL, 1, 0)
        .addTable(kNodes, "nodes", TYPE_INODE_TAB, 0, 0)
        .addTable(kIds, "ids", TYPE_INT_TAB, 2, 0)
        .addFloat(kFixed, "fixed", 1.0f, 0.0f, 100.0f, 0);
    return d;
}

class ParamBlockTest : public ::testing::Test {
protected:
    ParamBlockDesc2 desc = makeDesc();
    RecordingTarget owner{2};
    IParamBlock2 pb{&desc, &owner};

    void SetUp() override { owner.ReplaceReference(0, &pb); }
};

TEST_F(ParamBlockTest, KeyedFloatInterpolatesAndNarrowsValidity)
{
    EXPECT_TRUE(pb.SetValue(kSize, 4800, 250.0f));  // not clamped to the range
    Interval ivalid(-10, 10);
    float v = 0;
    EXPECT_TRUE(pb.GetValue(kSize, -99999, v, ivalid));
    EXPECT_EQ(v, 250.0f);
    EXPECT_EQ(ivalid, Interval(-10, 10));  // a constant leaves it alone
    pb.SetKey(kSize, 100, 7.0f);
    pb.GetValue(kSize, -500, v, ivalid);
    EXPECT_EQ(v, 7.0f);
    EXPECT_EQ(ivalid, Interval(-10, 10));  // and so does a single key
    ASSERT_TRUE(pb.SetKey(kSize, 0, 0.0f));
    ASSERT_TRUE(pb.SetKey(kSize, 160, 8.0f));
    ASSERT_TRUE(pb.SetKey(kSize, 320, 4.0f));
    ASSERT_TRUE(pb.DeleteKey(kSize, 100));
    EXPECT_EQ(pb.GetKeyCount(kSize), 3);
    EXPECT_EQ(pb.GetKeyTime(kSize, 1), 160);
    EXPECT_EQ(pb.GetKeyTime(kSize, 3), TIME_NegInfinity);
    struct Case {
        TimeValue t;
        float value;
        Interval valid;
    };
    const Case cases[] = {
        {-50, 0.0f, Interval(TIME_NegInfinity, 0)},
        {0, 0.0f, Interval(0, 0)},
        {40, 2.0f, Interval(40, 40)},
        {160, 8.0f, Interval(160, 160)},
        {240, 6.0f, Interval(240, 240)},
        {320, 4.0f, Interval(320, 320)},
        {1000, 4.0f, Interval(320, TIME_PosInfinity)},
    };
    for (const Case& c : cases) {
        ivalid = FOREVER;
        EXPECT_TRUE(pb.GetValue(kSize, c.t, v, ivalid));
        EXPECT_FLOAT_EQ(v, c.value) << "t " << c.t;
        EXPECT_EQ(ivalid, c.valid) << "t " << c.t;
    }
    ivalid = Interval(-100, 200);  // narrowing intersects with what the caller had
    pb.GetValue(kSize, -50, v, ivalid);
    EXPECT_EQ(ivalid, Interval(-100, 0));
}

TEST_F(ParamBlockTest, ConversionsPerType)
{
    pb.SetKey(kCount, 0, 0);
    pb.SetKey(kCount, 100, 3);
    EXPECT_EQ(pb.GetInt(kCount, 49), 1);  // 1.47
    EXPECT_EQ(pb.GetInt(kCount, 50), 2);  // 1.5 rounds away from zero
    pb.SetKey(kCount, 100, -3);
    EXPECT_EQ(pb.GetInt(kCount, 50), -2);
    pb.SetKey(kEnable, 0, FALSE);
    pb.SetKey(kEnable, 100, 7);  // any non-zero is true
    EXPECT_EQ(pb.GetInt(kEnable, 99), 0);
    EXPECT_EQ(pb.GetInt(kEnable, 100), 1);
    pb.SetKey(kTint, 0, Color(0, 1, 0.5f));
    pb.SetKey(kTint, 100, Color(1, 0, 0.5f));
    EXPECT_EQ(pb.GetColor(kTint, 25), Color(0.25f, 0.75f, 0.5f));
    pb.SetKey(kOffset, 0, Point3(0, 0, 0));
    pb.SetKey(kOffset, 200, Point3(2, -4, 8));
    EXPECT_EQ(pb.GetPoint3(kOffset, 50), Point3(0.5f, -1.0f, 2.0f));
    EXPECT_EQ(pb.GetAColor(kTint).a, 1.0f);
    pb.SetValue(kTint, 0, AColor(0.1f, 0.2f, 0.3f, 0.0f));
    EXPECT_EQ(pb.GetAColor(kTint), AColor(0.1f, 0.2f, 0.3f, 1.0f));
    pb.SetValue(kGlow, 0, Color(0.4f, 0.5f, 0.6f));
    EXPECT_EQ(pb.GetAColor(kGlow), AColor(0.4f, 0.5f, 0.6f, 1.0f));
    std::string name = "outline";
    pb.SetValue(kName, 0, name);
    name = "changed";
    EXPECT_STREQ(pb.GetStr(kName), "outline");
    pb.SetValue(kName, 0, nullptr);
    EXPECT_STREQ(pb.GetStr(kName), "");
}

TEST_F(ParamBlockTest, KeyEditing)
{
    pb.SetKey(kSize, -100, 0.0f);
    pb.SetKey(kSize, 100, 10.0f);
    EXPECT_TRUE(pb.SetValue(kSize, 50, 1.0f));  // animated: sets a key at t
    EXPECT_EQ(pb.GetKeyCount(kSize), 3);
    EXPECT_EQ(pb.GetFloat(kSize, 50), 1.0f);
    EXPECT_TRUE(pb.DeleteKeys(kSize));
    EXPECT_EQ(pb.GetKeyCount(kSize), 0);
    EXPECT_FLOAT_EQ(pb.GetFloat(kSize, 9999), 2.0f / 3.0f);  // the value at time 0 stays
    pb.SetKey(kCount, 10, 42);
    EXPECT_FALSE(pb.DeleteKey(kCount, 11));
    EXPECT_TRUE(pb.DeleteKey(kCount, 10));
    EXPECT_EQ(pb.GetInt(kCount, 0), 42);        // the last key's value stays
    EXPECT_FALSE(pb.SetKey(kFixed, 10, 5.0f));  // not animatable
    EXPECT_FALSE(pb.SetKey(kIds, 10, 1));       // a table
    EXPECT_FALSE(pb.SetKey(kSize, 10, 1));      // int into a float
    EXPECT_EQ(pb.GetKeyCount(kFixed) + pb.GetKeyCount(kSize), 0);
}

TEST_F(ParamBlockTest, WrongTypeUnknownIdAndBadIndexAnswerFalseAndChangeNothing)
{
    const std::size_t heard = owner.received.size();
    int i = -7;
    float f = -7.0f;
    Interval ivalid(1, 2);
    EXPECT_FALSE(pb.GetValue(kSize, 0, i, ivalid));
    EXPECT_FALSE(pb.GetValue(kCount, 0, f, ivalid));
    EXPECT_FALSE(pb.GetValue(99, 0, f, ivalid));
    EXPECT_FALSE(pb.GetValue(kSize, 0, f, ivalid, 1));
    EXPECT_FALSE(pb.GetValue(kIds, 0, i, ivalid, 2));
    EXPECT_EQ(i, -7);
    EXPECT_EQ(f, -7.0f);
    EXPECT_EQ(ivalid, Interval(1, 2));
    EXPECT_FALSE(pb.SetValue(kSize, 0, 3));
    EXPECT_FALSE(pb.SetValue(kOffset, 0, Color(1, 0, 0)));
    EXPECT_FALSE(pb.SetValue(kName, 0, &owner));
    EXPECT_FALSE(pb.SetValue(99, 0, 1.0f));
    EXPECT_FALSE(pb.SetValue(kIds, 0, 1, 5));
    EXPECT_EQ(owner.received.size(), heard);  // failures notify nobody
    EXPECT_EQ(pb.GetStr(kSize), nullptr);
    EXPECT_EQ(pb.GetParameterType(99), TYPE_UNSPECIFIED);
}

TEST_F(ParamBlockTest, ReferenceParametersHeldByTheBlockOrByTheOwner)
{
    auto map = std::make_unique<RecordingTarget>();
    EXPECT_TRUE(pb.SetValue(kMap, 0, map.get()));
    EXPECT_EQ(pb.NumRefs(), 1);
    EXPECT_TRUE(map->HasDependent(&pb));
    map.reset();
    EXPECT_EQ(pb.GetReferenceTarget(kMap), nullptr);
    RecordingTarget mtl;
    EXPECT_TRUE(pb.SetValue(kBaseMtl, 0, &mtl));
    EXPECT_EQ(owner.GetReference(1), &mtl);
    EXPECT_TRUE(mtl.HasDependent(&owner));
    EXPECT_FALSE(mtl.HasDependent(&pb));
    owner.DeleteReference(1);
    EXPECT_EQ(pb.GetReferenceTarget(kBaseMtl), nullptr);
    IParamBlock2 orphan(&desc);
    EXPECT_FALSE(orphan.SetValue(kBaseMtl, 0, &mtl));
}

TEST_F(ParamBlockTest, TablesHoldAReferencePerNodeAndResizeWithDefaults)
{
    RecordingTarget n0, n1, n2;
    auto n3 = std::make_unique<RecordingTarget>();
    pb.SetValue(kMap, 0, &n0);
    for (ReferenceTarget* n : std::initializer_list<ReferenceTarget*>{&n0, &n1, &n2, n3.get()})
        pb.Append(kNodes, n);
    EXPECT_EQ(pb.Append(kNodes, 1.0f), 0);
    EXPECT_EQ(pb.Count(kNodes), 4);
    EXPECT_EQ(pb.NumRefs(), 5);
    EXPECT_EQ(pb.GetReference(3), &n2);  // the map first, then the table
    EXPECT_EQ(pb.Delete(kNodes, 1, 2), 2);
    EXPECT_FALSE(n1.HasDependent(&pb) || n2.HasDependent(&pb));
    EXPECT_EQ(pb.GetReferenceTarget(kNodes, 0, 1), n3.get());
    n3.reset();
    EXPECT_EQ(pb.Count(kNodes), 2);
    EXPECT_EQ(pb.GetReferenceTarget(kNodes, 0, 1), nullptr);
    EXPECT_EQ(pb.Delete(kNodes, 1, 10), 1);  // clipped
    EXPECT_EQ(pb.Delete(kNodes, 1, 1), 0);   // start past the end
    EXPECT_TRUE(pb.SetCount(kNodes, 0));
    EXPECT_TRUE(n0.HasDependent(&pb));  // still held as the map
    EXPECT_TRUE(pb.SetValue(kIds, 0, 5, 1));
    EXPECT_EQ(pb.Append(kIds, 8), 3);
    EXPECT_EQ(pb.Append(kSize, 1.0f), 0);  // not a table
    EXPECT_TRUE(pb.SetCount(kIds, 5));
    EXPECT_EQ(pb.GetInt(kIds, 0, 1), 5);
    EXPECT_EQ(pb.GetInt(kIds, 0, 2), 8);
    EXPECT_EQ(pb.GetInt(kIds, 0, 4), 0);
    EXPECT_FALSE(pb.SetCount(kIds, -1));
    EXPECT_FALSE(pb.SetCount(kSize, 3));
    EXPECT_EQ(pb.Count(kSize), 0);
}

}  // namespace
