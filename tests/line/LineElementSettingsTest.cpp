// The element's settings record against its blocks: which parameter each word mirrors, the
// detection switches a file may set per type, the default switch of a newly typed element, and
// the reset to the process-wide defaults.

#include "support/LineElementTestSupport.h"

#include "host/IParamBlock2.h"
#include "line/LineDefaultSettings.h"
#include "line/LineElementType.h"
#include "line/LineFxElement.h"
#include "line/LineFxParamBlocks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

using namespace test_support;

using namespace vml;
using test_support::distinctSettings;

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

TEST_F(LineElementSettings, ApplyThenReadGivesTheRecordBackAndLeavesTheDerivedWords)
{
    LineFxElement e;
    e.setType(BasicSet);
    const LineSettings in = distinctSettings();
    e.applySettings(0, in, true);
    EXPECT_EQ(e.pblock()->GetFloat(lineParam::lineWidth), in.lineWidth);
    EXPECT_EQ(e.pblock()->GetColor(lineParam::lineColor), Color(0.25f, 0.5f, 0.75f));
    EXPECT_EQ(e.paintBlock()->GetFloat(linePaintParam::paintWind), in.paintWind);

    // Reading fills the mirrored words and leaves the derived ones (34-47) alone.
    LineSettings out;
    out.baseWidth = -1.0f;
    out.fadeSpan = -2.0f;
    e.readSettings(0, out);
    EXPECT_EQ(std::memcmp(&out, &in, 34 * 4), 0);
    EXPECT_EQ(std::memcmp(&out.paintColorType, &in.paintColorType, 17 * 4), 0);
    EXPECT_EQ(out.baseWidth, -1.0f);
    EXPECT_EQ(out.fadeSpan, -2.0f);
}

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

TEST_F(LineElementSettings, TheFirstTypeTurnsOnItsDefaultSwitchOnly)
{
    using namespace lineParam;
    const ParamID expected[] = {outlineObject, outlineObject, edgeDepth, normal};
    for (int type = 0; type < lineElementTypeCount; ++type) {
        SCOPED_TRACE(type);
        LineFxElement e;
        EXPECT_EQ(e.type(), lineElementTypeNone);
        EXPECT_EQ(e.pblock()->GetInt(elemID), -1);
        EXPECT_TRUE(switchesOn(e).empty());
        e.setType(type);
        EXPECT_EQ(e.type(), type);
        EXPECT_EQ(e.pblock()->GetInt(elemID), type);
        EXPECT_EQ(switchesOn(e), std::vector<ParamID>{expected[type]});

        // A later type change leaves the switches as they are.
        e.setType((type + 2) % lineElementTypeCount);
        EXPECT_EQ(switchesOn(e), std::vector<ParamID>{expected[type]});
    }
}

TEST_F(LineElementSettings, NewElementsTakeTheCurrentDefaultsButNoSwitches)
{
    LineFxElement first;
    LineSettings changed = distinctSettings();
    lineDefaultSettings() = changed;

    LineFxElement second;
    LineSettings s;
    second.readSettings(0, s);
    EXPECT_EQ(std::memcmp(&s, &changed, 29 * 4), 0);
    EXPECT_EQ(std::memcmp(&s.paintColorType, &changed.paintColorType, 17 * 4), 0);
    EXPECT_TRUE(switchesOn(second).empty());
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

}  // namespace
