#include "host/ChunkReader.h"
#include "host/ChunkWriter.h"
#include "host/IParamBlock2.h"
#include "support/RefTestObjects.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using namespace test_support;

namespace {

using Bytes = std::vector<std::uint8_t>;

enum : ParamID { kFloat, kInt, kRgba, kFrgba, kPoint, kBool, kAngle, kPercent, kWorld, kString, kFile };
enum : ParamID { kMtl = kFile + 1, kTexmap, kBitmap, kNode, kOwnerMap, kNodeTab, kIntTab, kFloatTab };
enum : ParamID { kMtlTab = kFloatTab + 1, kTexmapTab, kTransient, kUnknown = 99 };

// Every type, keys on four of them. `variant` 1 adds a parameter the others lack and changes the
// type of kWorld, as a later version of a plug-in might.
ParamBlockDesc2 makeDesc(int variant = 0)
{
    ParamBlockDesc2 d(2, "everything", 0, P_AUTO_CONSTRUCT | P_VERSION, 0, 3 + variant);
    d.addFloat(kFloat, "float", 1.0f, -10.0f, 10.0f, 0, P_ANIMATABLE)
        .addInt(kInt, "int", 2, -100, 100, 0, P_ANIMATABLE)
        .addColor(kRgba, "rgba", Color(0.1f, 0.2f, 0.3f), 0, P_ANIMATABLE)
        .addAColor(kFrgba, "frgba", AColor(0.4f, 0.5f, 0.6f, 0.7f), 0)
        .addPoint3(kPoint, "point", Point3(1, 2, 3), 0)
        .addBool(kBool, "bool", false, 0, P_ANIMATABLE)
        .addAngle(kAngle, "angle", 45.0f, -360.0f, 360.0f, 0)
        .addPercent(kPercent, "percent", 50.0f, 0.0f, 100.0f, 0);
    if (variant == 1)
        d.addInt(kWorld, "world", 0, 0, 10, 0).addFloat(kUnknown, "extra", 0.5f, 0.0f, 1.0f, 0);
    else
        d.addWorld(kWorld, "world", 100.0f, 0.0f, 1e6f, 0);
    d.addString(kString, "string", "name", 0)
        .addFilename(kFile, "file", "", 0)
        .addRef(kMtl, "mtl", TYPE_MTL, 0)
        .addRef(kTexmap, "texmap", TYPE_TEXMAP, 0)
        .addRef(kBitmap, "bitmap", TYPE_BITMAP, 0)
        .addRef(kNode, "node", TYPE_INODE, 0)
        .addOwnerRef(kOwnerMap, "ownerMap", TYPE_TEXMAP, 0, 0)
        .addTable(kNodeTab, "nodeTab", TYPE_INODE_TAB, 0, 0)
        .addTable(kIntTab, "intTab", TYPE_INT_TAB, 0, 0)
        .addTable(kFloatTab, "floatTab", TYPE_FLOAT_TAB, 1, 0)
        .addTable(kMtlTab, "mtlTab", TYPE_MTL_TAB, 0, 0)
        .addTable(kTexmapTab, "texmapTab", TYPE_TEXMAP_TAB, 0, 0)
        .addFloat(kTransient, "transient", 0.0f, 0.0f, 1.0f, 0, P_TRANSIENT);
    return d;
}

void fill(IParamBlock2& pb, RecordingTarget& target)
{
    pb.SetKey(kFloat, 0, -1.0f);
    pb.SetKey(kFloat, 100, 3.0f);
    pb.SetKey(kInt, -50, 7);
    pb.SetKey(kInt, 50, 9);
    pb.SetKey(kRgba, 0, Color(1, 0, 0));
    pb.SetKey(kRgba, 10, Color(0, 1, 0));
    pb.SetKey(kBool, 0, 0);
    pb.SetKey(kBool, 20, 1);
    pb.SetValue(kFrgba, 0, AColor(0.9f, 0.8f, 0.7f, 0.1f));
    pb.SetValue(kPoint, 0, Point3(-1, 0.5f, 9));
    pb.SetValue(kAngle, 0, -270.0f);
    pb.SetValue(kPercent, 0, 12.5f);
    pb.SetValue(kWorld, 0, 321.0f);
    pb.SetValue(kString, 0, "\xE7\xB7\x9A outline");
    pb.SetValue(kFile, 0, "C:\\scenes\\a.vme");
    pb.SetValue(kTexmap, 0, &target);
    pb.Append(kNodeTab, &target);
    pb.Append(kNodeTab, nullptr);
    pb.Append(kNodeTab, &target);
    pb.Append(kIntTab, 4);
    pb.Append(kIntTab, -8);
    pb.SetValue(kFloatTab, 0, 0.25f);
    pb.Append(kFloatTab, 1e-3f);
    pb.SetValue(kTransient, 0, 0.75f);
}

Bytes save(IParamBlock2& pb)
{
    ChunkWriter w;
    EXPECT_EQ(pb.Save(&w), IO_OK);
    EXPECT_EQ(w.Status(), IO_OK);
    return w.Bytes();
}

// A block of desc filled with every type, saved.
Bytes filledBytes(ParamBlockDesc2& desc)
{
    RecordingTarget target;
    IParamBlock2 source(&desc);
    fill(source, target);
    return save(source);
}

IOResult load(IParamBlock2& pb, const Bytes& bytes)
{
    ChunkReader r(bytes);
    return pb.Load(&r);
}

TEST(ParamBlockSaveLoad, EveryTypeRoundTrips)
{
    ParamBlockDesc2 desc = makeDesc();
    RecordingTarget owner(1), target;
    IParamBlock2 source(&desc, &owner);
    fill(source, target);
    const Bytes bytes = save(source);
    IParamBlock2 loaded(&desc, &owner);
    ASSERT_EQ(load(loaded, bytes), IO_OK);
    EXPECT_EQ(loaded.LoadedVersion(), 3);
    for (TimeValue t : {-100, -50, 0, 5, 10, 15, 20, 50, 100, 200}) {
        EXPECT_EQ(loaded.GetFloat(kFloat, t), source.GetFloat(kFloat, t)) << t;
        EXPECT_EQ(loaded.GetInt(kInt, t), source.GetInt(kInt, t)) << t;
        EXPECT_EQ(loaded.GetColor(kRgba, t), source.GetColor(kRgba, t)) << t;
        EXPECT_EQ(loaded.GetInt(kBool, t), source.GetInt(kBool, t)) << t;
    }
    EXPECT_EQ(loaded.GetAColor(kFrgba), AColor(0.9f, 0.8f, 0.7f, 0.1f));
    EXPECT_EQ(loaded.GetPoint3(kPoint), Point3(-1, 0.5f, 9));
    EXPECT_EQ(loaded.GetFloat(kAngle), -270.0f);
    EXPECT_STREQ(loaded.GetStr(kString), "\xE7\xB7\x9A outline");
    EXPECT_EQ(loaded.GetInt(kIntTab, 0, 1), -8);
    EXPECT_EQ(loaded.GetFloat(kFloatTab, 0, 1), 1e-3f);
    EXPECT_EQ(loaded.GetFloat(kTransient), 0.0f);
    // The host restores references by index: the table keeps its size with empty entries.
    EXPECT_EQ(loaded.Count(kNodeTab), 3);
    EXPECT_EQ(loaded.GetReferenceTarget(kNodeTab, 0, 0), nullptr);
    EXPECT_EQ(loaded.GetReferenceTarget(kTexmap), nullptr);
    ASSERT_EQ(loaded.NumRefs(), source.NumRefs());
    for (int i = 0; i < source.NumRefs(); ++i)
        loaded.ReplaceReference(i, source.GetReference(i));
    EXPECT_EQ(loaded.GetReferenceTarget(kTexmap), &target);
    EXPECT_EQ(loaded.GetReferenceTarget(kNodeTab, 0, 2), &target);
    EXPECT_EQ(save(loaded), bytes);
}

TEST(ParamBlockSaveLoad, LoadSkipsUnknownParametersAndChangedTypes)
{
    ParamBlockDesc2 newer = makeDesc(1), older = makeDesc(0);
    RecordingTarget target;
    IParamBlock2 source(&newer);
    fill(source, target);
    source.SetValue(kUnknown, 0, 0.9f);
    source.SetValue(kWorld, 0, 7);  // an int in the newer descriptor
    const Bytes bytes = save(source);
    IParamBlock2 loaded(&older);
    ASSERT_EQ(load(loaded, bytes), IO_OK);
    EXPECT_EQ(loaded.LoadedVersion(), 4);
    EXPECT_EQ(loaded.GetFloat(kWorld), 100.0f);  // kept its default
    EXPECT_EQ(loaded.GetFloat(kPercent), 12.5f);
    EXPECT_STREQ(loaded.GetStr(kString), "\xE7\xB7\x9A outline");
    EXPECT_EQ(loaded.Count(kIntTab), 2);
}

TEST(ParamBlockSaveLoad, UnknownChunksAroundTheBlockDataAreSkipped)
{
    ParamBlockDesc2 desc = makeDesc();
    IParamBlock2 source(&desc);
    source.SetValue(kInt, 0, 42);
    ChunkWriter w;
    w.BeginChunk(0x7777);
    writeValue(&w, 1.0);
    w.EndChunk();
    source.Save(&w);
    w.BeginChunk(0x0200);  // a parameter chunk with a foreign first sub-chunk
    w.BeginChunk(0x0999);
    w.EndChunk();
    w.EndChunk();
    ASSERT_EQ(w.Status(), IO_OK);
    IParamBlock2 loaded(&desc);
    EXPECT_EQ(load(loaded, w.Bytes()), IO_OK);
    EXPECT_EQ(loaded.GetInt(kInt), 42);
}

// After any load, each parameter still answers for every entry it reports, and bools are 0 or 1.
void expectSound(IParamBlock2& pb)
{
    for (int i = 0; i < pb.NumParams(); ++i) {
        const ParamDef& def = pb.GetDesc()->GetParamDefByIndex(i);
        const int entries = isTableType(def.type) ? pb.Count(def.id) : 1;
        for (int e = 0; e < entries; ++e) {
            Interval ivalid = FOREVER;
            if (isStringType(def.type)) {
                const char* s = nullptr;
                EXPECT_TRUE(pb.GetValue(def.id, 0, s, ivalid, e));
            } else if (isReferenceType(def.type) && !def.ownersRef()) {
                ReferenceTarget* r = nullptr;
                EXPECT_TRUE(pb.GetValue(def.id, 0, r, ivalid, e));
            } else if (def.type == TYPE_BOOL) {
                const int b = pb.GetInt(def.id, 50, e);
                EXPECT_TRUE(b == 0 || b == 1);
            } else if (isFloatType(def.type)) {
                // Whatever the bytes said, a loaded number is finite and within its range.
                for (TimeValue t : {-100, 0, 50, 100}) {
                    const float v = pb.GetFloat(def.id, t, e);
                    EXPECT_TRUE(std::isfinite(v)) << def.name;
                    EXPECT_TRUE(!def.hasRange || (v >= def.rangeMin && v <= def.rangeMax))
                        << def.name << " " << v;
                }
            } else if (baseType(def.type) == TYPE_INT && def.hasRange) {
                const int v = pb.GetInt(def.id, 50, e);
                EXPECT_TRUE(v >= def.rangeMin && v <= def.rangeMax) << def.name << " " << v;
            }
        }
    }
}

// Every prefix fails unless it ends between chunks; random damage is noticed or loads safely.
TEST(ParamBlockSaveLoad, TruncatedOrCorruptDataIsRejectedOrLoadedSafely)
{
    ParamBlockDesc2 desc = makeDesc();
    const Bytes full = filledBytes(desc);
    std::vector<std::size_t> boundaries = {0};  // where a top-level chunk ends
    for (ChunkReader r(full); r.OpenChunk() == IO_OK;) {
        r.CloseChunk();
        boundaries.push_back(full.size() - r.Remaining());
    }
    ASSERT_GT(boundaries.size(), 10u);
    for (std::size_t n = 0; n <= full.size(); ++n) {
        IParamBlock2 loaded(&desc);
        const bool boundary = std::find(boundaries.begin(), boundaries.end(), n) != boundaries.end();
        EXPECT_EQ(load(loaded, Bytes(full.begin(), full.begin() + std::ptrdiff_t(n))),
                  boundary ? IO_OK : IO_ERROR)
            << "prefix " << n;
        expectSound(loaded);
    }
    std::mt19937 rng(7);
    int rejected = 0;
    for (int round = 0; round < 3000; ++round) {
        Bytes bytes = full;
        for (int f = 1 + int(rng() % 6); f > 0; --f)
            bytes[rng() % bytes.size()] = static_cast<std::uint8_t>(rng());
        IParamBlock2 loaded(&desc);
        const IOResult res = load(loaded, bytes);
        EXPECT_TRUE(res == IO_OK || res == IO_ERROR);
        rejected += res == IO_ERROR;
        expectSound(loaded);
    }
    EXPECT_GT(rejected, 0);  // the damage is noticed, not just survived
}

TEST(ParamBlockSaveLoad, HostileCountsFailWithoutHugeAllocations)
{
    ParamBlockDesc2 desc = makeDesc();
    for (USHORT chunk : {USHORT(0x0203), USHORT(0x0204)}) {
        const ParamID id = chunk == 0x0203 ? ParamID(kFloat) : ParamID(kNodeTab);
        const std::int32_t type = chunk == 0x0203 ? TYPE_FLOAT : TYPE_INODE_TAB;
        ChunkWriter w;
        w.BeginChunk(0x0200);
        w.BeginChunk(0x0201);
        writeValue(&w, std::int16_t(id));
        writeValue(&w, type);
        w.EndChunk();
        w.BeginChunk(chunk);
        writeValue(&w, std::uint32_t(0xFFFFFFFF));
        w.EndChunk();
        w.EndChunk();
        IParamBlock2 loaded(&desc);
        EXPECT_EQ(load(loaded, w.Bytes()), IO_ERROR);
        EXPECT_EQ(loaded.Count(kNodeTab), 0);
        EXPECT_EQ(loaded.GetKeyCount(kFloat), 0);
    }
}

// A stored track may list its keys in any order, repeat a time, and be long: loading sorts it once
// (a key at a time repeated later wins, as setting them in order would), never one insert at a time.
TEST(ParamBlockSaveLoad, KeysStoredOutOfOrderLoadSortedWithTheLaterOfARepeatedTime)
{
    ParamBlockDesc2 desc = makeDesc();
    const std::vector<std::pair<std::int32_t, float>> stored = {
        {100, 1.0f}, {-20, 2.0f}, {50, 3.0f}, {100, 4.0f}};
    constexpr int backwards = 50000;
    ChunkWriter w;
    w.BeginChunk(0x0200);
    w.BeginChunk(0x0201);
    writeValue(&w, std::int16_t(kFloat));
    writeValue(&w, std::int32_t(TYPE_FLOAT));
    w.EndChunk();
    w.BeginChunk(0x0203);
    writeValue(&w, std::uint32_t(stored.size() + backwards));
    for (const auto& [t, v] : stored) {
        writeValue(&w, t);
        writeValue(&w, v);
    }
    for (int k = backwards; k > 0; --k) {
        writeValue(&w, std::int32_t(1000 + k));
        writeValue(&w, 5.0f);
    }
    w.EndChunk();
    w.EndChunk();
    ASSERT_EQ(w.Status(), IO_OK);
    IParamBlock2 loaded(&desc);
    ASSERT_EQ(load(loaded, w.Bytes()), IO_OK);
    ASSERT_EQ(loaded.GetKeyCount(kFloat), 3 + backwards);
    EXPECT_EQ(loaded.GetFloat(kFloat, -20), 2.0f);
    EXPECT_EQ(loaded.GetFloat(kFloat, 50), 3.0f);
    EXPECT_EQ(loaded.GetFloat(kFloat, 100), 4.0f);
    EXPECT_EQ(loaded.GetFloat(kFloat, 1000 + backwards), 5.0f);
    EXPECT_EQ(loaded.GetFloat(kFloat, 75), 3.5f) << "the keys around 75 are 50 and 100";
}

}  // namespace
