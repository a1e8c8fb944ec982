// Clone, save and load keep every setting: the parameters (keys included), the base material,
// the maps, the name and the G-buffer id. A material loaded from a scene keeps what the scene
// holds; the host restores its blocks, base material and maps as references.

#include "support/MaterialTestSupport.h"

#include "host/ChunkReader.h"
#include "host/ChunkWriter.h"
#include "material/vmlMaterialParamBlocks.h"
#include "standalone/StandardMaterial.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

using namespace test_support;
using namespace vml;

namespace {

constexpr int valueBlocks = 4;  // the version block holds no values

// A value `step` from def's default within its range (a scene file's values are held to it): above
// the default where there is room, else below, else the range's other end.
double awayFromDefault(const ParamDef& def, double step)
{
    const double d = def.defNumber[0];
    if (!def.hasRange || d + step <= def.rangeMax)
        return d + step;
    if (d - step >= def.rangeMin)
        return d - step;
    return d == def.rangeMin ? def.rangeMax : def.rangeMin;
}

// Every value parameter away from its default, and keys on one of them.
void changeEveryParameter(vmlMaterial& m)
{
    for (int b = 0; b < valueBlocks; ++b) {
        IParamBlock2& block = *m.GetParamBlock(b);
        for (int i = 0; i < block.NumParams(); ++i) {
            const ParamID id = block.IndextoID(i);
            const ParamDef& def = *block.GetParamDef(id);
            const float step = 1.25f + 0.5f * static_cast<float>(i);
            switch (def.type) {
            case TYPE_FLOAT: block.SetValue(id, 0, static_cast<float>(awayFromDefault(def, step))); break;
            case TYPE_INT: block.SetValue(id, 0, static_cast<int>(awayFromDefault(def, 1 + i))); break;
            case TYPE_BOOL: block.SetValue(id, 0, def.defNumber[0] != 0.0 ? 0 : 1); break;
            case TYPE_RGBA: block.SetValue(id, 0, Color(0.1f * step, 0.2f, 0.3f)); break;
            default: break;
            }
        }
    }
    m.brushBlock()->SetKey(brushParam::brushSize, 0, 12.0f);
    m.brushBlock()->SetKey(brushParam::brushSize, 4800, 48.0f);
    m.SetName("vase paint");
    m.SetGBufferID(7);
}

// Same values (the caches hold every one), and the keys.
void expectSameSettings(vmlMaterial& expected, vmlMaterial& actual)
{
    EXPECT_EQ(actual.GetName(), expected.GetName());
    EXPECT_EQ(actual.GetGBufferID(), expected.GetGBufferID());
    for (int b = 0; b < valueBlocks; ++b)
        ASSERT_NE(actual.GetParamBlock(b), expected.GetParamBlock(b));
    EXPECT_EQ(actual.baseCache(), expected.baseCache());
    EXPECT_EQ(actual.brushCache(), expected.brushCache());
    EXPECT_EQ(actual.strokeCache(), expected.strokeCache());
    EXPECT_EQ(actual.paintCache(), expected.paintCache());
    EXPECT_EQ(actual.brushBlock()->GetKeyCount(brushParam::brushSize), 2);
    EXPECT_EQ(actual.brushBlock()->GetFloat(brushParam::brushSize, 2400), 30.0f);
}

class MaterialPersistence : public test_support::MaterialFixture {
protected:
    void SetUp() override
    {
        MaterialFixture::SetUp();
        original = make();
        base.SetDiffuse(Color(0.3f, 0.6f, 0.9f), 0);
        original->SetSubMtl(0, &base);
        for (int i = 0; i < 6; ++i) {
            maps[static_cast<std::size_t>(i)].tone = 0.1f * static_cast<float>(i + 1);
            original->SetSubTexmap(i, &maps[static_cast<std::size_t>(i)]);
        }
        original->SetSubTexmap(vmlMaterial::brushMapSlot, &brush);
        changeEveryParameter(*original);
        update(*original);
    }
    void TearDown() override
    {
        original.reset();
        MaterialFixture::TearDown();
    }
    // What the host writes for the material: its own chunk and, as references, each block.
    struct SavedScene {
        std::vector<std::uint8_t> material;
        std::array<std::vector<std::uint8_t>, vmlMaterial::blockCount> blocks;
    };
    SavedScene save(vmlMaterial& m)
    {
        SavedScene s;
        ChunkWriter w;
        EXPECT_EQ(m.Save(&w), IO_OK);
        EXPECT_EQ(w.Status(), IO_OK);
        s.material = w.Bytes();
        for (int b = 0; b < vmlMaterial::blockCount; ++b) {
            ChunkWriter bw;
            EXPECT_EQ(m.GetParamBlock(b)->Save(&bw), IO_OK);
            s.blocks[static_cast<std::size_t>(b)] = bw.Bytes();
        }
        return s;
    }
    static void loadOwnData(vmlMaterial& m, const SavedScene& s)
    {
        ChunkReader r(s.material);
        EXPECT_EQ(m.Load(&r), IO_OK);
    }
    // The references the host restores: the blocks' data, then the base material and the maps.
    void restoreReferences(vmlMaterial& m, const SavedScene& s)
    {
        for (int b = 0; b < vmlMaterial::blockCount; ++b) {
            ChunkReader r(s.blocks[static_cast<std::size_t>(b)]);
            EXPECT_EQ(m.GetParamBlock(b)->Load(&r), IO_OK) << b;
        }
        m.ReplaceReference(vmlMaterial::baseMaterialRef, &loadedBase);
        for (int i = 0; i < 6; ++i)
            m.ReplaceReference(vmlMaterial::firstMapRef + i, &loadedMaps[static_cast<std::size_t>(i)]);
        m.ReplaceReference(vmlMaterial::brushMapRef, &loadedBrush);
    }
    standalone::StandardMaterial base;
    std::array<ToneMap, 6> maps;
    StandInBrush brush{0.9f};
    standalone::StandardMaterial loadedBase;
    std::array<ToneMap, 6> loadedMaps;
    StandInBrush loadedBrush{0.9f};
    std::unique_ptr<vmlMaterial> original;
};

TEST_F(MaterialPersistence, CloneCopiesEverySettingAndTheReferencedObjects)
{
    std::unique_ptr<vmlMaterial> copy(dynamic_cast<vmlMaterial*>(original->Clone()));
    ASSERT_NE(copy, nullptr);
    update(*copy);
    expectSameSettings(*original, *copy);
    // The base material and the maps are copies of their own.
    auto* copiedBase = dynamic_cast<standalone::StandardMaterial*>(copy->baseMaterial());
    ASSERT_NE(copiedBase, nullptr);
    EXPECT_NE(copiedBase, &base);
    EXPECT_EQ(copiedBase->GetDiffuse(), Color(0.3f, 0.6f, 0.9f));
    for (int i = 0; i < 7; ++i) {
        ASSERT_NE(copy->GetSubTexmap(i), nullptr) << i;
        EXPECT_NE(copy->GetSubTexmap(i), original->GetSubTexmap(i)) << i;
        EXPECT_FLOAT_EQ(toneOf(copy->GetSubTexmap(i)), toneOf(original->GetSubTexmap(i))) << i;
    }
    EXPECT_TRUE(isBrushTexture(copy->brushMap()));
    // The copies are independent.
    copy->brushBlock()->SetValue(brushParam::brushOpacity, 0, 1.0f);
    EXPECT_NE(original->brushBlock()->GetFloat(brushParam::brushOpacity), 1.0f);
    copy.reset();
    EXPECT_EQ(original->baseMaterial(), &base);
    EXPECT_EQ(original->GetSubTexmap(3), &maps[3]);
}

TEST_F(MaterialPersistence, CloneKeepsEmptySlotsEmptyAndSharesWhatCannotBeCopied)
{
    UncopyableMap shared(0.4f);
    original->SetSubMtl(0, nullptr);
    original->SetSubTexmap(vmlMaterial::brushMapSlot, nullptr);
    original->SetSubTexmap(vmlMaterial::hiMapSlot, nullptr);
    original->SetSubTexmap(vmlMaterial::bumpMapSlot, &shared);
    std::unique_ptr<vmlMaterial> copy(dynamic_cast<vmlMaterial*>(original->Clone()));
    ASSERT_NE(copy, nullptr);
    update(*copy);
    EXPECT_EQ(copy->baseMaterial(), nullptr) << "no default base material appears in the copy";
    EXPECT_EQ(copy->hiMap(), nullptr);
    EXPECT_EQ(copy->bumpMap(), &shared);
    EXPECT_EQ(copy->GetGBufferID(), 7u);
    // The original's emptied brush slot is repaired at its own update, not in the copy.
    EXPECT_EQ(copy->brushMap(), nullptr);
    EXPECT_EQ(copy->savedBrush(), nullptr);
    EXPECT_TRUE(core.messages().empty());
    copy.reset();
    EXPECT_EQ(original->bumpMap(), &shared);
    original->SetSubTexmap(vmlMaterial::bumpMapSlot, nullptr);
}

TEST_F(MaterialPersistence, ALoadedMaterialKeepsItsStoredSettingsWhateverTheRestoreOrder)
{
    const SavedScene saved = save(*original);
    ChunkReader r(saved.material);
    ASSERT_EQ(r.OpenChunk(), IO_OK);
    EXPECT_EQ(r.CurChunkID(), 0x1000) << "only the base class chunk";
    ASSERT_EQ(r.CloseChunk(), IO_OK);
    EXPECT_EQ(r.OpenChunk(), IO_END);
    for (bool referencesFirst : {false, true}) {
        SCOPED_TRACE(referencesFirst ? "references before the load" : "load first");
        auto loaded = make(true);
        EXPECT_TRUE(loaded->needsInit());
        EXPECT_EQ(loaded->baseMaterial(), nullptr) << "a material made for loading starts empty";
        if (referencesFirst)
            restoreReferences(*loaded, saved);
        loadOwnData(*loaded, saved);
        if (!referencesFirst)
            restoreReferences(*loaded, saved);
        update(*loaded);
        // Before the mend the first update replaced all of it by the defaults.
        EXPECT_FALSE(loaded->needsInit());
        expectSameSettings(*original, *loaded);
        EXPECT_EQ(loaded->baseMaterial(), &loadedBase);
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(loaded->GetSubTexmap(i), &loadedMaps[static_cast<std::size_t>(i)]) << i;
        EXPECT_EQ(loaded->brushMap(), &loadedBrush);
    }
    EXPECT_TRUE(core.messages().empty());
}

TEST_F(MaterialPersistence, BlocksRestoredAsNewObjectsReachTheMaterialsReferences)
{
    // A host that makes the blocks itself hands them over without an owner.
    auto loaded = make(true);
    loadOwnData(*loaded, save(*original));
    std::unique_ptr<ReferenceTarget> base(original->baseBlock()->Clone());
    auto* block = static_cast<IParamBlock2*>(base.get());
    ASSERT_EQ(block->GetOwner(), nullptr);
    loaded->ReplaceReference(vmlMaterial::baseBlockRef, block);
    loaded->ReplaceReference(vmlMaterial::firstMapRef + vmlMaterial::bumpMapSlot, &loadedMaps[4]);
    EXPECT_EQ(loaded->baseBlock(), block);
    EXPECT_EQ(block->GetOwner(), loaded.get());
    EXPECT_EQ(block->GetReferenceTarget(baseParam::bumpMap), &loadedMaps[4]);
    update(*loaded);
    EXPECT_EQ(loaded->baseCache(), original->baseCache());
    loaded.reset();
}

TEST_F(MaterialPersistence, LoadSkipsUnknownChunksAndStopsAtBrokenData)
{
    ChunkWriter w;
    w.BeginChunk(0x1010);
    w.EndChunk();
    w.BeginChunk(0x2222);
    writeValue(&w, std::uint32_t(5));
    w.EndChunk();
    w.BeginChunk(vmlMaterial::mtlBaseChunk);
    writeString(&w, "glazed");
    writeValue(&w, ULONG(3));
    w.EndChunk();
    ASSERT_EQ(w.Status(), IO_OK);
    auto m = make(true);
    ChunkReader r(w.Bytes());
    EXPECT_EQ(m->Load(&r), IO_OK);
    EXPECT_EQ(m->GetName(), "glazed");
    EXPECT_EQ(m->GetGBufferID(), 3u);
    EXPECT_FALSE(m->needsInit());
    ChunkWriter broken;
    broken.BeginChunk(vmlMaterial::mtlBaseChunk);
    writeValue(&broken, std::uint16_t(9));
    broken.EndChunk();
    auto other = make(true);
    ChunkReader br(broken.Bytes());
    EXPECT_EQ(other->Load(&br), IO_ERROR);
    EXPECT_EQ(other->GetName(), "");
}

}  // namespace
