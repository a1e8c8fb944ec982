// The element's settings record against its blocks: which parameter each word mirrors, the
// detection switches a file may set per type, the default switch of a newly typed element, and
// the reset to the process-wide defaults.

#include "support/LineElementTestSupport.h"

#include "host/IParamBlock2.h"
#include "line/LineDefaultSettings.h"
#include "line/LineElementType.h"
#include "line/LineFxElement.h"
#include "line/LineFxParamBlocks.h"
#include "shell/StringLookup.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
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

// Word w of the record as a float or an int.
float floatWord(const LineSettings& s, std::size_t w)
{
    float v;
    std::memcpy(&v, reinterpret_cast<const unsigned char*>(&s) + 4 * w, 4);
    return v;
}
std::int32_t intWord(const LineSettings& s, std::size_t w)
{
    std::int32_t v;
    std::memcpy(&v, reinterpret_cast<const unsigned char*>(&s) + 4 * w, 4);
    return v;
}

struct WordOfParam {
    std::size_t word;
    ParamID id;
};
// The record layout, word by word, for the numeric "parameters" words.
constexpr WordOfParam lineFloats[] = {
    {3, lineParam::lineAlpha},
    {7, lineParam::lineMapOpacity},
    {9, lineParam::lineWidth},
    {10, lineParam::lineDeform},
    {11, lineParam::lineStretch},
    {12, lineParam::lineAngle},
    {13, lineParam::lineZMin},
    {14, lineParam::lineZMax},
    {16, lineParam::lineZAlphaMin},
    {17, lineParam::lineZAlphaMax},
    {18, lineParam::lineZAlphaMinValue},
    {19, lineParam::lineZAlphaMaxValue},
    {21, lineParam::lineBlur},
    {22, lineParam::lineBlurOffset},
    {23, lineParam::outlineObjectThreshold},
    {24, lineParam::outlineMaterialThreshold},
    {25, lineParam::edgeDepthThreshold},
    {26, lineParam::normalMin},
    {27, lineParam::normalMax},
    {28, lineParam::normalDepth},
};
constexpr WordOfParam lineInts[] = {
    {0, lineParam::lineOn},         {1, lineParam::lineMatID},         {2, lineParam::lineBlend},
    {8, lineParam::lineMapEnable},  {15, lineParam::lineZScaleEnable}, {20, lineParam::lineZAlphaEnable},
    {29, lineParam::outlineObject}, {30, lineParam::outlineMaterial},  {31, lineParam::edgeMaterial},
    {32, lineParam::edgeDepth},     {33, lineParam::normal},
};
constexpr WordOfParam paintFloats[] = {
    {49, linePaintParam::paintColorR},       {50, linePaintParam::paintColorG},
    {51, linePaintParam::paintColorB},       {52, linePaintParam::paintBlur},
    {53, linePaintParam::paintBlurRnd},      {54, linePaintParam::paintBlurBound},
    {55, linePaintParam::paintBlurBoundRnd}, {56, linePaintParam::paintMix},
    {57, linePaintParam::paintMixRnd},       {58, linePaintParam::paintWind},
    {59, linePaintParam::paintWindRnd},      {60, linePaintParam::paintWindAngle},
    {62, linePaintParam::paintRndSize},      {63, linePaintParam::paintDry},
    {64, linePaintParam::paintDryRnd},
};
constexpr WordOfParam paintInts[] = {
    {48, linePaintParam::paintColorType},
    {61, linePaintParam::paintRndSizeEnable},
};

class LineElementSettings : public ::testing::Test {
protected:
    void SetUp() override { saved = lineDefaultSettings(); }
    void TearDown() override
    {
        lineDefaultSettings() = saved;
        setModuleHandle(nullptr);
    }
    LineSettings saved;
};

TEST_F(LineElementSettings, ApplyWritesEveryWordIntoItsParameterAndReadBringsItBack)
{
    LineFxElement e;
    e.setType(BasicSet);
    const LineSettings in = distinctSettings();
    e.applySettings(0, in, true);

    IParamBlock2& line = *e.pblock();
    IParamBlock2& paint = *e.paintBlock();
    for (const WordOfParam& p : lineFloats)
        EXPECT_EQ(line.GetFloat(p.id), floatWord(in, p.word)) << "word " << p.word;
    for (const WordOfParam& p : lineInts)
        EXPECT_EQ(line.GetInt(p.id), intWord(in, p.word)) << "word " << p.word;
    for (const WordOfParam& p : paintFloats)
        EXPECT_EQ(paint.GetFloat(p.id), floatWord(in, p.word)) << "word " << p.word;
    for (const WordOfParam& p : paintInts)
        EXPECT_EQ(paint.GetInt(p.id), intWord(in, p.word)) << "word " << p.word;
    EXPECT_EQ(line.GetColor(lineParam::lineColor), Color(0.25f, 0.5f, 0.75f));

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

TEST_F(LineElementSettings, HalvesReadTheirOwnBlockAtTheGivenTime)
{
    LineFxElement e;
    IParamBlock2& line = *e.pblock();
    IParamBlock2& paint = *e.paintBlock();
    line.SetKey(lineParam::lineAlpha, 0, 10.0f);
    line.SetKey(lineParam::lineAlpha, 1000, 50.0f);
    paint.SetKey(linePaintParam::paintMix, 0, 0.0f);
    paint.SetKey(linePaintParam::paintMix, 1000, 80.0f);

    LineSettings s;
    e.readLineWords(1000, s);
    EXPECT_EQ(s.lineAlpha, 50.0f);
    EXPECT_EQ(s.paintMix, 0.0f) << "the line half leaves the paint words alone";
    e.readPaintWords(500, s);
    EXPECT_FLOAT_EQ(s.paintMix, 40.0f);
    EXPECT_EQ(s.lineAlpha, 50.0f) << "the paint half leaves the line words alone";
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

TEST_F(LineElementSettings, DefaultsComeFromTheBlocksOfTheFirstElement)
{
    LineFxElement first;
    ASSERT_TRUE(lineDefaultSettingsFilled());
    const LineSettings& d = lineDefaultSettings();
    EXPECT_EQ(d.lineOn, 1);
    EXPECT_EQ(d.lineMatID, 1);
    EXPECT_EQ(d.lineWidth, 1.5f);
    EXPECT_EQ(d.lineBlurOffset, 50.0f);
    EXPECT_EQ(d.lineZAlphaMaxValue, 100.0f);
    EXPECT_EQ(d.lineMapEnable, 1);
    EXPECT_EQ(d.paintWindAngle, 90.0f);
    EXPECT_EQ(d.paintRndSize, 1.5f);
    EXPECT_EQ(d.outlineObject, 0);
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

TEST_F(LineElementSettings, DefaultNameIsTheTypesName)
{
    int module = 0;
    setModuleHandle(&module);
    LineFxElement e;
    e.setType(EdgeBoundary);
    e.setDefaultName();
    EXPECT_STREQ(e.pblock()->GetStr(lineParam::lineName), "ｴｯｼﾞ境界");
    e.setType(NormalAngle);
    e.setDefaultName();
    EXPECT_STREQ(e.pblock()->GetStr(lineParam::lineName), "法線角度");
    std::string className;
    e.GetClassName(className);
    EXPECT_EQ(className, "Vermil+ ﾗｲﾝ Element");
    EXPECT_EQ(e.GetName(), className) << "the effect is named as its class";
}

}  // namespace
