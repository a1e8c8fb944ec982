// A line element: its settings record against its blocks, its copies and scene persistence, and
// its creation through the plug-in registry. A scene holds the element's own data (the marker
// chunk) and, as references, its two blocks and its map, which the host restores in either order
// relative to the element's own load.

#include "support/LineElementTestSupport.h"

#include "host/ChunkReader.h"
#include "host/ChunkWriter.h"
#include "host/ClassDesc2.h"
#include "host/IParamBlock2.h"
#include "line/LineDefaultSettings.h"
#include "line/LineElementType.h"
#include "line/LineFxElement.h"
#include "line/LineFxParamBlocks.h"
#include "plugin/EntryPoints.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

using namespace test_support;
using namespace vml;
using test_support::distinctSettings;
using test_support::ToneMap;

namespace {

constexpr ParamID switches[] = {lineParam::outlineObject, lineParam::outlineMaterial, lineParam::edgeMaterial,
                                lineParam::edgeDepth, lineParam::normal};

std::vector<ParamID> switchesOn(LineFxElement& e)
{
    std::vector<ParamID> on;
    for (ParamID sw : switches) {
        if (e.pblock()->GetInt(sw) != 0)
            on.push_back(sw);
    }
    return on;
}

class LineElementSettings : public ::testing::Test {
protected:
    void SetUp() override { saved = lineDefaultSettings(); }
    void TearDown() override { lineDefaultSettings() = saved; }
    LineSettings saved;
};

TEST_F(LineElementSettings, AFileSetsOnlyTheSwitchesTheTypeAccepts)
{
    using namespace lineParam;
    struct Case {
        int type;
        std::vector<ParamID> accepted;
    };
    const Case cases[] = {
        {BasicSet, {outlineObject, outlineMaterial, edgeMaterial, edgeDepth, normal}},
        {Outline, {outlineObject, outlineMaterial}},
        {EdgeBoundary, {edgeMaterial, edgeDepth}},
        {NormalAngle, {normal}},
        {lineElementTypeNone, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        LineFxElement e;
        e.setType(c.type);
        for (ParamID sw : switches)
            e.pblock()->SetValue(sw, 0, 0);
        LineSettings all = distinctSettings();
        e.applySettings(0, all, true);
        EXPECT_EQ(switchesOn(e), c.accepted);

        // A record with every switch off clears exactly the accepted ones.
        for (ParamID sw : switches)
            e.pblock()->SetValue(sw, 0, 1);
        LineSettings none = distinctSettings();
        none.outlineObject = none.outlineMaterial = none.edgeMaterial = none.edgeDepth = none.normal = 0;
        e.applySettings(0, none, true);
        for (ParamID sw : switches) {
            const bool accepted = std::find(c.accepted.begin(), c.accepted.end(), sw) != c.accepted.end();
            EXPECT_EQ(e.pblock()->GetInt(sw), accepted ? 0 : 1) << "switch " << sw;
        }

        // Settings that do not come from a file leave every switch alone.
        e.applySettings(0, none, false);
        EXPECT_EQ(switchesOn(e).size(), 5u - c.accepted.size());
    }
}

TEST_F(LineElementSettings, ResetKeepsNameAndTypeAndRestoresTheDefaultSwitch)
{
    using namespace lineParam;
    LineFxElement e;
    e.setType(EdgeBoundary);
    const std::string longName(300, 'n');
    e.pblock()->SetValue(lineName, 0, longName);
    e.pblock()->SetValue(edgeDepth, 0, 0);
    e.pblock()->SetValue(edgeMaterial, 0, 1);
    e.pblock()->SetValue(lineWidth, 0, 9.0f);
    e.pblock()->SetKey(lineAlpha, 100, 20.0f);
    test_support::ToneMap map;
    e.pblock()->SetValue(lineMap, 0, static_cast<ReferenceTarget*>(&map));
    ASSERT_EQ(e.lineMap(), &map);

    e.resetToDefaults();
    EXPECT_EQ(std::string(e.pblock()->GetStr(lineName)), longName) << "a long name is kept whole";
    EXPECT_EQ(e.type(), EdgeBoundary);
    EXPECT_EQ(e.pblock()->GetInt(elemID), EdgeBoundary);
    EXPECT_EQ(switchesOn(e), std::vector<ParamID>{edgeDepth});
    EXPECT_EQ(e.pblock()->GetFloat(lineWidth), 1.5f);
    EXPECT_EQ(e.pblock()->GetKeyCount(lineAlpha), 0);
    EXPECT_EQ(e.lineMap(), nullptr);
}

// A map that cannot be copied.
class UncopyableMap final : public ToneMap {
public:
    using ToneMap::ToneMap;
    ReferenceTarget* Clone() override { return nullptr; }
};

float toneOf(Texmap* map)
{
    auto* tone = dynamic_cast<ToneMap*>(map);
    return tone ? tone->tone : -1.0f;
}

void expectSameValues(LineFxElement& want, LineFxElement& got)
{
    for (TimeValue t : {0, 1000}) {
        LineSettings a, b;
        want.readSettings(t, a);
        got.readSettings(t, b);
        EXPECT_EQ(std::memcmp(&a, &b, sizeof a), 0) << "at " << t;
    }
    EXPECT_STREQ(got.pblock()->GetStr(lineParam::lineName), want.pblock()->GetStr(lineParam::lineName));
    EXPECT_EQ(got.pblock()->GetInt(lineParam::elemID), want.pblock()->GetInt(lineParam::elemID));
    EXPECT_EQ(got.paintBlock()->GetFloat(linePaintParam::paintConAmount),
              want.paintBlock()->GetFloat(linePaintParam::paintConAmount));
    EXPECT_EQ(got.pblock()->GetKeyCount(lineParam::lineAlpha),
              want.pblock()->GetKeyCount(lineParam::lineAlpha));
}

class LineElementPersistence : public ::testing::Test {
protected:
    void SetUp() override
    {
        original = std::make_unique<LineFxElement>();
        original->setType(EdgeBoundary);
        original->applySettings(0, test_support::distinctSettings(), true);
        // Switches the type would not set by itself: a reload must not "repair" them.
        original->pblock()->SetValue(lineParam::edgeDepth, 0, 0);
        original->pblock()->SetValue(lineParam::normal, 0, 1);
        original->pblock()->SetValue(lineParam::lineName, 0, "silhouette");
        original->pblock()->SetKey(lineParam::lineAlpha, 0, 10.0f);
        original->pblock()->SetKey(lineParam::lineAlpha, 1000, 70.0f);
        original->paintBlock()->SetValue(linePaintParam::paintConAmount, 0, -40.0f);
        original->pblock()->SetValue(lineParam::lineMap, 0, static_cast<ReferenceTarget*>(&map));
    }

    struct SavedScene {
        std::vector<std::uint8_t> element, line, paint;
    };
    static std::vector<std::uint8_t> bytesOf(ReferenceMaker& m)
    {
        ChunkWriter w;
        EXPECT_EQ(m.Save(&w), IO_OK);
        return w.Bytes();
    }
    static SavedScene save(LineFxElement& e)
    {
        return {bytesOf(e), bytesOf(*e.pblock()), bytesOf(*e.paintBlock())};
    }
    // The host restores the blocks as new objects, which the element then holds.
    void restoreReferences(LineFxElement& e, const SavedScene& s)
    {
        auto restore = [&](ParamBlockDesc2& desc, const std::vector<std::uint8_t>& bytes, int ref) {
            auto block = std::make_unique<IParamBlock2>(&desc);
            ChunkReader r(bytes);
            EXPECT_EQ(block->Load(&r), IO_OK);
            e.ReplaceReference(ref, e.adopt(std::move(block)));
        };
        restore(lineFxElementParamsBlock(), s.line, LineFxElement::pblockRef);
        restore(lineFxElementPaintBlock(), s.paint, LineFxElement::paintBlockRef);
        e.ReplaceReference(LineFxElement::lineMapRef, &loadedMap);
    }

    ToneMap map{0.3f};
    ToneMap loadedMap{0.3f};
    std::unique_ptr<LineFxElement> original;
};

TEST_F(LineElementPersistence, SaveWritesTheMarkerChunkAndLoadNotesIt)
{
    const std::vector<std::uint8_t> bytes = bytesOf(*original);
    ChunkReader r(bytes);
    ASSERT_EQ(r.OpenChunk(), IO_OK);
    EXPECT_EQ(r.CurChunkID(), LineFxElement::markerChunk);
    ASSERT_EQ(r.CloseChunk(), IO_OK);
    EXPECT_EQ(r.OpenChunk(), IO_END);

    LineFxElement loaded;
    EXPECT_FALSE(loaded.loadedFromScene());
    ChunkReader again(bytes);
    EXPECT_EQ(loaded.Load(&again), IO_OK);
    EXPECT_TRUE(loaded.loadedFromScene());

    // Data without the marker loads too, but is not taken for the element's own.
    ChunkWriter other;
    other.BeginChunk(0x2000);
    other.EndChunk();
    LineFxElement foreign;
    ChunkReader otherReader(other.Bytes());
    EXPECT_EQ(foreign.Load(&otherReader), IO_OK);
    EXPECT_FALSE(foreign.loadedFromScene());
}

TEST_F(LineElementPersistence, AReloadedElementKeepsItsValuesTypeAndSwitchesWhateverTheOrder)
{
    const SavedScene saved = save(*original);
    for (bool referencesFirst : {false, true}) {
        SCOPED_TRACE(referencesFirst ? "references before the load" : "load first");
        LineFxElement loaded;
        if (referencesFirst)
            restoreReferences(loaded, saved);
        ChunkReader r(saved.element);
        ASSERT_EQ(loaded.Load(&r), IO_OK);
        if (!referencesFirst)
            restoreReferences(loaded, saved);

        expectSameValues(*original, loaded);
        EXPECT_EQ(loaded.type(), EdgeBoundary);
        EXPECT_EQ(loaded.lineMap(), &loadedMap);
        // Giving the type again (as the rollouts do) does not bring back the default switch.
        loaded.setType(EdgeBoundary);
        EXPECT_EQ(loaded.pblock()->GetInt(lineParam::edgeDepth), 0);
        EXPECT_EQ(loaded.pblock()->GetInt(lineParam::normal), 1);
        // The restored block reaches the map through the element.
        EXPECT_EQ(loaded.pblock()->GetReferenceTarget(lineParam::lineMap), &loadedMap);
    }
}

TEST_F(LineElementPersistence, CloneIsAnIndependentCopyWithItsOwnMapOrASharedUncopyableOne)
{
    std::unique_ptr<LineFxElement> copy(dynamic_cast<LineFxElement*>(original->Clone()));
    ASSERT_NE(copy, nullptr);
    expectSameValues(*original, *copy);
    EXPECT_EQ(copy->type(), EdgeBoundary);
    ASSERT_NE(copy->lineMap(), nullptr);
    EXPECT_NE(copy->lineMap(), &map);
    EXPECT_EQ(toneOf(copy->lineMap()), 0.3f);
    EXPECT_NE(copy->pblock(), original->pblock());
    EXPECT_NE(copy->paintBlock(), original->paintBlock());

    copy->pblock()->SetValue(lineParam::lineWidth, 0, 77.0f);
    copy->paintBlock()->SetValue(linePaintParam::paintDry, 0, 66.0f);
    copy->setType(NormalAngle);
    EXPECT_EQ(original->pblock()->GetFloat(lineParam::lineWidth), 4.25f);
    EXPECT_EQ(original->paintBlock()->GetFloat(linePaintParam::paintDry), 23.0f);
    EXPECT_EQ(original->type(), EdgeBoundary);
    copy.reset();
    EXPECT_EQ(original->lineMap(), &map);

    // A map that cannot be copied is shared.
    UncopyableMap shared(0.8f);
    original->pblock()->SetValue(lineParam::lineMap, 0, static_cast<ReferenceTarget*>(&shared));
    copy.reset(dynamic_cast<LineFxElement*>(original->Clone()));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->lineMap(), &shared);
    copy.reset();
    EXPECT_EQ(original->lineMap(), &shared);
    original->pblock()->SetValue(lineParam::lineMap, 0, nullptr);
}

TEST(LineElementRegistry, TheClassDescriptorCreatesElementsWithTheAttachedBlocks)
{
    ClassDesc2* cd = LibClassDesc(4);
    ASSERT_NE(cd, nullptr);
    ASSERT_EQ(cd->ClassID(), lineFxElementClassId);
    for (BOOL loading : {FALSE, TRUE}) {
        std::unique_ptr<ReferenceTarget> made(cd->Create(loading));
        auto* e = dynamic_cast<LineFxElement*>(made.get());
        ASSERT_NE(e, nullptr);
        ASSERT_NE(e->pblock(), nullptr);
        EXPECT_EQ(e->paintBlock()->GetDesc(), &lineFxElementPaintBlock());
        EXPECT_EQ(e->GetReference(LineFxElement::paintBlockRef), e->paintBlock());
    }
    EXPECT_TRUE(lineFxElementParamsBlock().Validate().empty());
    EXPECT_TRUE(lineFxElementPaintBlock().Validate().empty());
}

}  // namespace
