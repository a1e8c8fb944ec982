// The line effect's element list: adding, removing, moving and copying keep the list, the element
// references and the elements' back pointers in step; and the G-buffer channels the effect asks for.

#include "support/LineElementTestSupport.h"

#include "host/IParamBlock2.h"
#include "line/LineElementType.h"
#include "line/LineFxElement.h"
#include "line/LineFxManager.h"
#include "line/LineFxParamBlocks.h"
#include "shell/StringLookup.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace test_support;

using namespace vml;

namespace {

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

std::vector<ParamID> switchesOn(LineFxElement& e)
{
    std::vector<ParamID> on;
    for (ParamID sw : {lineParam::outlineObject, lineParam::outlineMaterial, lineParam::edgeMaterial,
                       lineParam::edgeDepth, lineParam::normal})
        if (e.pblock()->GetInt(sw) != 0)
            on.push_back(sw);
    return on;
}

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

    EXPECT_EQ(switchesOn(*edge), std::vector<ParamID>{lineParam::edgeDepth});
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

TEST(LineManagerList, CopySelectedAppendsAnIndependentCopyWithItsOwnMap)
{
    LineFxManager m;
    EXPECT_EQ(m.copySelected(), nullptr);
    m.addElement(BasicSet);
    LineFxElement* source = m.addElement(EdgeBoundary);
    m.addElement(NormalAngle);
    source->applySettings(0, test_support::distinctSettings(), true);
    source->pblock()->SetValue(lineParam::lineName, 0, "creases");
    test_support::ToneMap map(0.6f);
    source->pblock()->SetValue(lineParam::lineMap, 0, static_cast<ReferenceTarget*>(&map));
    m.setSelected(1);

    LineFxElement* copy = m.copySelected();
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(m.element(3), copy);
    EXPECT_EQ(copy->manager(), &m);
    EXPECT_EQ(copy->type(), EdgeBoundary);
    EXPECT_EQ(nameOf(copy), "creases");
    EXPECT_EQ(switchesOn(*copy), (std::vector<ParamID>{lineParam::edgeMaterial, lineParam::edgeDepth}));
    EXPECT_EQ(copy->pblock()->GetFloat(lineParam::lineWidth), 4.25f);
    EXPECT_EQ(copy->paintBlock()->GetFloat(linePaintParam::paintWind), 20.0f);
    ASSERT_NE(copy->lineMap(), nullptr);
    EXPECT_NE(copy->lineMap(), &map);

    copy->pblock()->SetValue(lineParam::lineWidth, 0, 9.0f);
    EXPECT_EQ(source->pblock()->GetFloat(lineParam::lineWidth), 4.25f);
    EXPECT_TRUE(m.removeElement(3));
    EXPECT_EQ(source->lineMap(), &map);
    source->pblock()->SetValue(lineParam::lineMap, 0, nullptr);
}

TEST(LineManagerChannels, TheEffectAsksForTheUnionOfItsElements)
{
    LineFxManager m;
    EXPECT_EQ(m.GBufferChannelsRequired(0), 0x13u);
    LineFxElement* edge = m.addElement(EdgeBoundary);
    EXPECT_EQ(m.GBufferChannelsRequired(0), 0x13u);
    LineFxElement* outline = m.addElement(Outline);
    EXPECT_EQ(m.GBufferChannelsRequired(0), 0x113u);
    LineFxElement* normal = m.addElement(NormalAngle);
    EXPECT_EQ(m.GBufferChannelsRequired(0), 0x153u);

    // Blur is read at the queried time, lineOn and the switches at time 0.
    edge->pblock()->SetKey(lineParam::lineBlur, 0, 0.0f);
    edge->pblock()->SetKey(lineParam::lineBlur, 1000, 50.0f);
    EXPECT_EQ(m.GBufferChannelsRequired(0), 0x153u);
    EXPECT_EQ(m.GBufferChannelsRequired(1000), 0x953u);
    for (LineFxElement* e : {outline, normal})
        e->pblock()->SetValue(lineParam::lineOn, 0, 0);
    EXPECT_EQ(normal->GBufferChannelsRequired(0), 0u);
    EXPECT_EQ(m.GBufferChannelsRequired(1000), 0x813u);
    EXPECT_TRUE(lineFxManagerParamsBlock().Validate().empty());
}

}  // namespace
