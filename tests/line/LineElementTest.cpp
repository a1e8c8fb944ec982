// Line elements and the effect's list of them: copies, creation through the plug-in registry, list
// edits keeping references and back pointers in step, and scene persistence, where the host restores
// an object's blocks, map and elements as references, before or after the object's own load.

#include "support/LineElementTestSupport.h"

#include "host/ChunkReader.h"
#include "host/ChunkWriter.h"
#include "host/ClassDesc2.h"
#include "host/IParamBlock2.h"
#include "line/LineElementType.h"
#include "line/LineFxElement.h"
#include "line/LineFxManager.h"
#include "line/LineFxParamBlocks.h"
#include "plugin/EntryPoints.h"
#include "shell/StringLookup.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

using namespace test_support;
using namespace vml;

namespace {

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

using Bytes = std::vector<std::uint8_t>;

Bytes bytesOf(ReferenceMaker& m)
{
    ChunkWriter w;
    EXPECT_EQ(m.Save(&w), IO_OK);
    EXPECT_EQ(w.Status(), IO_OK);
    return w.Bytes();
}

std::unique_ptr<IParamBlock2> loadBlock(ParamBlockDesc2& desc, const Bytes& bytes)
{
    auto block = std::make_unique<IParamBlock2>(&desc);
    ChunkReader r(bytes);
    EXPECT_EQ(block->Load(&r), IO_OK);
    return block;
}

// One element as the scene holds it, and its restoration as a new object.
struct SavedElement {
    explicit SavedElement(LineFxElement& e)
        : own(bytesOf(e)), line(bytesOf(*e.pblock())), paint(bytesOf(*e.paintBlock()))
    {}
    // The host restores the blocks as new objects, which the element then holds.
    void restoreBlocks(LineFxElement& e) const
    {
        e.ReplaceReference(LineFxElement::pblockRef, e.adopt(loadBlock(lineFxElementParamsBlock(), line)));
        e.ReplaceReference(LineFxElement::paintBlockRef,
                           e.adopt(loadBlock(lineFxElementPaintBlock(), paint)));
    }
    std::unique_ptr<LineFxElement> restore() const
    {
        auto e = std::make_unique<LineFxElement>();
        ChunkReader r(own);
        EXPECT_EQ(e->Load(&r), IO_OK);
        restoreBlocks(*e);
        return e;
    }
    Bytes own, line, paint;
};

class LineElementPersistence : public ::testing::Test {
protected:
    void SetUp() override
    {
        original->setType(EdgeBoundary);
        original->applySettings(0, distinctSettings(), true);
        // Switches the type would not set by itself: a reload must not "repair" them.
        original->pblock()->SetValue(lineParam::edgeDepth, 0, 0);
        original->pblock()->SetValue(lineParam::normal, 0, 1);
        original->pblock()->SetValue(lineParam::lineName, 0, "silhouette");
        original->pblock()->SetKey(lineParam::lineAlpha, 0, 10.0f);
        original->pblock()->SetKey(lineParam::lineAlpha, 1000, 70.0f);
        original->paintBlock()->SetValue(linePaintParam::paintConAmount, 0, -40.0f);
        original->pblock()->SetValue(lineParam::lineMap, 0, static_cast<ReferenceTarget*>(&map));
    }
    void restoreReferences(LineFxElement& e, const SavedElement& s)
    {
        s.restoreBlocks(e);
        e.ReplaceReference(LineFxElement::lineMapRef, &loadedMap);
    }
    ToneMap map{0.3f};
    ToneMap loadedMap{0.3f};
    std::unique_ptr<LineFxElement> original = std::make_unique<LineFxElement>();
};

TEST_F(LineElementPersistence, SaveWritesTheMarkerChunkAndLoadNotesIt)
{
    const Bytes bytes = bytesOf(*original);
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
    const SavedElement saved(*original);
    for (bool referencesFirst : {false, true}) {
        SCOPED_TRACE(referencesFirst ? "references before the load" : "load first");
        LineFxElement loaded;
        if (referencesFirst)
            restoreReferences(loaded, saved);
        ChunkReader r(saved.own);
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

// Holds one target and counts what it hears.
class Listener : public ReferenceMaker {
public:
    explicit Listener(ReferenceTarget* t) { ReplaceReference(0, t); }
    ~Listener() override { DeleteAllRefsFromMe(); }
    int NumRefs() override { return 1; }
    ReferenceTarget* GetReference(int) override { return target; }
    void SetReference(int, ReferenceTarget* t) override { target = t; }
    RefResult NotifyRefChanged(const Interval&, ReferenceTarget*, PartID&, RefMessage m, BOOL) override
    {
        changes += m == REFMSG_CHANGE;
        deletions += m == REFMSG_TARGET_DELETED;
        return REF_SUCCEED;
    }
    ReferenceTarget* target = nullptr;
    int changes = 0, deletions = 0;
};

std::string nameOf(LineFxElement* e) { return e->pblock()->GetStr(lineParam::lineName); }

// The list, the references 4.. and the back pointers must agree.
void expectList(LineFxManager& m, const std::vector<LineFxElement*>& want)
{
    const int n = static_cast<int>(want.size());
    ASSERT_EQ(m.elementCount(), n);
    EXPECT_EQ(m.NumRefs(), 4 + n);
    for (int i = 0; i < n; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(m.element(i), want[static_cast<std::size_t>(i)]);
        EXPECT_EQ(m.GetReference(LineFxManager::firstElementRef + i), m.element(i));
        EXPECT_EQ(m.element(i)->manager(), &m);
        EXPECT_TRUE(m.element(i)->HasDependent(&m));
    }
    EXPECT_EQ(m.GetReference(4 + n), nullptr);
}

TEST(LineManagerList, AddGivesEachTypeItsSwitchAndNameAtTheRequestedPlace)
{
    int module = 0;
    setModuleHandle(&module);  // names come from the string table
    LineFxManager m;
    Listener listener(&m);
    LineFxElement* basic = m.addElement(BasicSet);
    LineFxElement* normal = m.addElement(NormalAngle, -1);
    LineFxElement* outline = m.addElement(Outline, 0);
    LineFxElement* edge = m.addElement(EdgeBoundary, 2);
    LineFxElement* last = m.addElement(Outline, 99);
    ASSERT_TRUE(basic && normal && outline && edge && last);
    expectList(m, {outline, basic, edge, normal, last});
    EXPECT_EQ(listener.changes, 5);
    std::vector<ParamID> on;
    for (ParamID sw : {lineParam::outlineObject, lineParam::outlineMaterial, lineParam::edgeMaterial,
                       lineParam::edgeDepth, lineParam::normal})
        if (edge->pblock()->GetInt(sw) != 0)
            on.push_back(sw);
    EXPECT_EQ(on, std::vector<ParamID>{lineParam::edgeDepth});
    EXPECT_EQ(nameOf(basic), "基本ｾｯﾄ");
    EXPECT_EQ(nameOf(edge), "ｴｯｼﾞ境界");
    // An unknown type, as a damaged file may give, makes nothing.
    EXPECT_EQ(m.addElement(4), nullptr);
    EXPECT_EQ(m.addElement(lineElementTypeNone), nullptr);
    EXPECT_EQ(m.elementCount(), 5);
    setModuleHandle(nullptr);
}

TEST(LineManagerList, MovesAndRemovalKeepReferencesInStepAndStayInside)
{
    LineFxManager m;
    std::vector<LineFxElement*> e;
    for (int t : {BasicSet, Outline, EdgeBoundary, NormalAngle})
        e.push_back(m.addElement(t));
    Listener listener(&m);
    EXPECT_FALSE(m.moveUp(0));
    EXPECT_FALSE(m.moveDown(3));
    EXPECT_FALSE(m.moveElement(0, 4));
    EXPECT_FALSE(m.removeElement(4));
    EXPECT_EQ(listener.changes, 0);
    EXPECT_TRUE(m.moveUp(2));
    expectList(m, {e[0], e[2], e[1], e[3]});
    EXPECT_TRUE(m.moveDown(0));
    expectList(m, {e[2], e[0], e[1], e[3]});
    EXPECT_TRUE(m.moveElement(0, 3));
    expectList(m, {e[0], e[1], e[3], e[2]});
    EXPECT_TRUE(m.moveElement(3, 1));
    expectList(m, {e[0], e[2], e[1], e[3]});
    Listener onRemoved(e[2]);
    EXPECT_TRUE(m.removeElement(1));
    EXPECT_EQ(onRemoved.deletions, 1);  // the effect's own element is destroyed
    EXPECT_EQ(onRemoved.target, nullptr);
    expectList(m, {e[0], e[1], e[3]});
    EXPECT_EQ(listener.changes, 5);
    m.setSelected(3);
    EXPECT_EQ(m.selectedElement(), nullptr);
}

TEST(LineManagerList, ElementsLeavingByReferenceAreForgottenSafely)
{
    LineFxManager m;
    LineFxElement* kept = m.addElement(BasicSet);
    m.addElement(Outline);
    auto foreign = std::make_unique<LineFxElement>();
    m.ReplaceReference(LineFxManager::firstElementRef + 1, foreign.get());
    EXPECT_EQ(foreign->manager(), &m);
    // Deleted elsewhere: an empty entry, skipped by the queries.
    foreign.reset();
    EXPECT_EQ(m.element(1), nullptr);
    EXPECT_EQ(m.GBufferChannelsRequired(0), 0x113u);
    EXPECT_TRUE(m.removeElement(1));
    expectList(m, {kept});
    LineFxElement outside;
    m.addElement(NormalAngle);
    m.ReplaceReference(LineFxManager::firstElementRef + 1, &outside);
    m.ReplaceReference(LineFxManager::firstElementRef + 1, nullptr);
    EXPECT_EQ(outside.manager(), nullptr);
}

TEST(LineManagerPersistence, ThreeElementsSurviveAReloadInOrder)
{
    LineFxManager original;
    original.pblock()->SetValue(lineFxParam::lineOutRenderElement, 0, 1);
    original.addElement(NormalAngle)->pblock()->SetValue(lineParam::lineWidth, 0, 2.5f);
    LineFxElement* edge = original.addElement(EdgeBoundary);
    edge->pblock()->SetValue(lineParam::lineName, 0, "creases");
    edge->pblock()->SetValue(lineParam::normal, 0, 1);
    original.addElement(Outline)->paintBlock()->SetValue(linePaintParam::paintDry, 0, 40.0f);
    const Bytes own = bytesOf(original);
    const Bytes params = bytesOf(*original.pblock());
    std::vector<SavedElement> saved;
    for (int i = 0; i < original.elementCount(); ++i)
        saved.emplace_back(*original.element(i));
    LineFxManager loaded;
    loaded.addElement(BasicSet);  // whatever was there before the load goes
    ChunkReader r(own);
    ASSERT_EQ(loaded.Load(&r), IO_OK);
    ASSERT_EQ(loaded.elementCount(), 3);
    EXPECT_EQ(loaded.NumRefs(), 7);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(loaded.element(i), nullptr);
    loaded.ReplaceReference(LineFxManager::paramsRef,
                            loaded.adopt(loadBlock(lineFxManagerParamsBlock(), params)));
    for (int i = 0; i < 3; ++i)
        loaded.ReplaceReference(LineFxManager::firstElementRef + i, loaded.adopt(saved[i].restore()));
    EXPECT_EQ(loaded.pblock()->GetInt(lineFxParam::lineOutRenderElement), 1);
    const int types[] = {NormalAngle, EdgeBoundary, Outline};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        LineFxElement* e = loaded.element(i);
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(e->type(), types[i]);
        EXPECT_EQ(e->manager(), &loaded);
        EXPECT_TRUE(e->loadedFromScene());
        EXPECT_EQ(nameOf(e), nameOf(original.element(i)));
    }
    EXPECT_EQ(loaded.element(0)->pblock()->GetFloat(lineParam::lineWidth), 2.5f);
    EXPECT_EQ(nameOf(loaded.element(1)), "creases");
    EXPECT_EQ(loaded.element(1)->pblock()->GetInt(lineParam::normal), 1);
    EXPECT_EQ(loaded.element(2)->paintBlock()->GetFloat(linePaintParam::paintDry), 40.0f);
    EXPECT_EQ(loaded.GBufferChannelsRequired(0), original.GBufferChannelsRequired(0));
}

TEST(LineManagerPersistence, LoadRefusesADamagedCountAndSkipsUnknownChunks)
{
    auto load = [](LineFxManager& m, std::initializer_list<std::pair<USHORT, std::int32_t>> chunks) {
        ChunkWriter w;
        for (auto [id, value] : chunks) {
            w.BeginChunk(id);
            writeValue(&w, value);
            w.EndChunk();
        }
        ChunkReader r(w.Bytes());
        return m.Load(&r);
    };
    for (std::int32_t count : {-1, LineFxManager::maxLoadedElements + 1}) {
        LineFxManager m;
        EXPECT_EQ(load(m, {{LineFxManager::countChunk, count}}), IO_ERROR) << count;
        EXPECT_EQ(m.elementCount(), 0);
    }
    LineFxManager tolerant;
    EXPECT_EQ(load(tolerant, {{0x7777, 99}, {LineFxManager::countChunk, 2}}), IO_OK);
    EXPECT_EQ(tolerant.elementCount(), 2);
}

}  // namespace
