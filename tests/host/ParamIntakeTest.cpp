// The intake: values from outside held to their parameters' ranges, non-finite ones refused,
// each with a warning naming the source and the parameter; values within range pass bit for bit.

#include "host/ParamIntake.h"
#include "host/ChunkReader.h"
#include "host/ChunkWriter.h"
#include "host/IParamBlock2.h"
#include "support/DirectoryCore.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

using namespace test_support;

namespace {

using ::testing::HasSubstr;

constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double inf = std::numeric_limits<double>::infinity();

enum : ParamID { kWidth, kLayers, kCount, kOn, kFree, kTint, kWidths, kKeyed };

ParamDef unranged(ParamID id, const char* name, ParamType2 type)
{
    ParamDef def;
    def.id = id;
    def.name = name;
    def.type = type;
    return def;
}

ParamBlockDesc2 makeDesc()
{
    ParamBlockDesc2 d(0, "parameters", 0, P_AUTO_CONSTRUCT, 0);
    d.addFloat(kWidth, "lineWidth", 1.5f, 0.0f, 100.0f, 0)
        .addInt(kLayers, "layers", 2, 1, 8, 0)
        .add(unranged(kCount, "count", TYPE_INT))
        .addBool(kOn, "on", true, 0)
        .add(unranged(kFree, "free", TYPE_FLOAT))
        .addColor(kTint, "tint", Color(0.1f, 0.2f, 0.3f), 0)
        .addTable(kWidths, "widths", TYPE_FLOAT_TAB, 2, 0)
        .addFloat(kKeyed, "keyed", 5.0f, -10.0f, 10.0f, 0, P_ANIMATABLE);
    return d;
}

struct RuleCase {
    ParamID param;
    ParamNumber given;
    IntakeVerdict verdict;
    ParamNumber kept;  // n afterwards (unchanged when refused)
};

TEST(IntakeRule, NumbersAreHeldToTheRangeAndNonFiniteOnesRefused)
{
    ParamBlockDesc2 desc = makeDesc();
    const RuleCase cases[] = {
        {kWidth, {50, 0, 0, 0}, IntakeVerdict::taken, {50, 0, 0, 0}},
        {kWidth, {100000, 0, 0, 0}, IntakeVerdict::held, {100, 0, 0, 0}},
        {kWidth, {-0.5, 0, 0, 0}, IntakeVerdict::held, {0, 0, 0, 0}},
        {kWidth, {nan, 0, 0, 0}, IntakeVerdict::refused, {nan, 0, 0, 0}},
        {kWidth, {inf, 0, 0, 0}, IntakeVerdict::refused, {inf, 0, 0, 0}},
        {kLayers, {9, 0, 0, 0}, IntakeVerdict::held, {8, 0, 0, 0}},
        {kLayers, {0, 0, 0, 0}, IntakeVerdict::held, {1, 0, 0, 0}},
        {kCount, {3e9, 0, 0, 0}, IntakeVerdict::held, {double(INT_MAX), 0, 0, 0}},
        {kCount, {-3e9, 0, 0, 0}, IntakeVerdict::held, {double(INT_MIN), 0, 0, 0}},
        {kOn, {5, 0, 0, 0}, IntakeVerdict::taken, {5, 0, 0, 0}},
        {kFree, {1e39, 0, 0, 0}, IntakeVerdict::held, {double(FLT_MAX), 0, 0, 0}},
        {kFree, {-7, 0, 0, 0}, IntakeVerdict::taken, {-7, 0, 0, 0}},
        {kTint, {2, -1, 0.5, 1}, IntakeVerdict::taken, {2, -1, 0.5, 1}},
        {kTint, {0.1, nan, 0.3, 1}, IntakeVerdict::refused, {0.1, nan, 0.3, 1}},
        {kTint, {0.1, 1e39, 0.3, 1}, IntakeVerdict::held, {0.1, double(FLT_MAX), 0.3, 1}},
    };
    for (const RuleCase& c : cases) {
        const ParamDef& def = *desc.GetParamDef(c.param);
        SCOPED_TRACE(def.name + " " + std::to_string(c.given[0]) + " " + std::to_string(c.given[1]));
        ParamNumber n = c.given;
        EXPECT_EQ(holdToRange(def, n), c.verdict);
        for (std::size_t k = 0; k < 4; ++k) {
            if (std::isnan(c.kept[k]))
                EXPECT_TRUE(std::isnan(n[k]));
            else
                EXPECT_EQ(n[k], c.kept[k]);
        }
    }
}

class Intake : public ::testing::Test {
protected:
    void SetUp() override { SetCOREInterface(&core); }
    void TearDown() override { SetCOREInterface(nullptr); }

    ParamBlockDesc2 desc = makeDesc();
    IParamBlock2 block{&desc};
    DirectoryCore core;
};

TEST_F(Intake, HeldAndRefusedValuesAreWarnedOfWithTheirSourceAndParameter)
{
    struct Case {
        ParamID param;
        ParamNumber given;
        const char* warning;  // the whole text after the source
        double after;         // the parameter's first number afterwards
    } cases[] = {
        {kWidth,
         {100000, 0, 0, 0},
         "parameter lineWidth: 100000 is outside its range 0 to 100; held to 100",
         100},
        {kWidth, {nan, 0, 0, 0}, "parameter lineWidth: nan is not a finite number; kept 100", 100},
        {kLayers, {12, 0, 0, 0}, "parameter layers: 12 is outside its range 1 to 8; held to 8", 8},
        {kTint,
         {0.5, -inf, 0, 1},
         "parameter tint: [0.5, -inf, 0] is not a finite number; kept [0.1, 0.2, 0.3]",
         0.1f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.warning);
        core.warnings.clear();
        ParamIntake intake("/home/ann/vermil+_line.ini [Vermil+ Line] width");
        EXPECT_TRUE(intake.set(block, c.param, 0, c.given));
        ASSERT_EQ(core.warnings.size(), 1u);
        EXPECT_EQ(core.warnings[0],
                  std::string("/home/ann/vermil+_line.ini [Vermil+ Line] width: ") + c.warning);
        EXPECT_EQ(paramNumberAt(block, *block.GetParamDef(c.param), 0)[0], c.after);
    }
}

TEST_F(Intake, TablesKeysAndTheBlocksOwnRefusals)
{
    ParamIntake intake("control 120:1024");
    EXPECT_TRUE(intake.set(block, kWidth, 0, 0.1f));
    EXPECT_EQ(block.GetFloat(kWidth), 0.1f) << "a value within range goes in bit for bit";
    EXPECT_TRUE(intake.set(block, kWidths, 0, 7.0f, 1));
    EXPECT_EQ(block.GetFloat(kWidths, 0, 1), 7.0f);
    EXPECT_FALSE(intake.set(block, kWidths, 0, 7.0f, 2)) << "beyond the table";
    EXPECT_FALSE(intake.set(block, 77, 0, 1.0f)) << "no such parameter";
    EXPECT_TRUE(intake.setKey(block, kKeyed, 0, {-50, 0, 0, 0}));
    EXPECT_TRUE(intake.setKey(block, kKeyed, 160, {nan, 0, 0, 0}));
    EXPECT_TRUE(intake.setKey(block, kKeyed, 320, {4, 0, 0, 0}));
    EXPECT_EQ(block.GetKeyCount(kKeyed), 2) << "the refused key is not set";
    EXPECT_EQ(block.GetFloat(kKeyed, 0), -10.0f);
    EXPECT_FALSE(intake.setKey(block, kWidth, 0, {1, 0, 0, 0})) << "not animatable";
    EXPECT_EQ(core.warnings.size(), 2u);
}

// A saved block whose stored numbers are out of range or not finite, as a damaged or foreign scene
// file may hold them (SetValue itself takes anything).
std::vector<std::uint8_t> savedWithBadNumbers(ParamBlockDesc2& desc)
{
    IParamBlock2 source(&desc);
    source.SetValue(kWidth, 0, 250.0f);
    source.SetValue(kLayers, 0, -7);
    source.SetValue(kTint, 0, Color(0.5f, std::nanf(""), 0.5f));
    source.SetValue(kWidths, 0, std::nanf(""), 0);
    source.SetValue(kWidths, 0, 1e30f, 1);
    source.SetKey(kKeyed, 0, 2.0f);
    source.SetKey(kKeyed, 160, std::numeric_limits<float>::infinity());
    source.SetKey(kKeyed, 320, -1000.0f);
    source.SetValue(kFree, 0, std::nanf(""));
    ChunkWriter w;
    EXPECT_EQ(source.Save(&w), IO_OK);
    return w.Bytes();
}

TEST_F(Intake, ASavedBlockLoadsHeldAndNeverNaN)
{
    const std::vector<std::uint8_t> bytes = savedWithBadNumbers(desc);
    IParamBlock2 loaded(&desc);
    loaded.SetValue(kFree, 0, 6.0f);  // the value before the load
    ChunkReader reader(bytes, "/scenes/still.max");
    ASSERT_EQ(loaded.Load(&reader), IO_OK);
    EXPECT_EQ(loaded.GetFloat(kWidth), 100.0f);
    EXPECT_EQ(loaded.GetInt(kLayers), 1);
    EXPECT_EQ(loaded.GetColor(kTint), Color(0.1f, 0.2f, 0.3f)) << "the default, which it held";
    EXPECT_EQ(loaded.GetFloat(kFree), 6.0f) << "the previous value";
    EXPECT_EQ(loaded.GetFloat(kWidths, 0, 0), 0.0f) << "a table entry's default";
    EXPECT_EQ(loaded.GetFloat(kWidths, 0, 1), 1e30f) << "a float without a range";
    ASSERT_EQ(loaded.GetKeyCount(kKeyed), 3);
    EXPECT_EQ(loaded.GetFloat(kKeyed, 0), 2.0f);
    EXPECT_EQ(loaded.GetFloat(kKeyed, 160), 5.0f) << "a refused key takes the parameter's value";
    EXPECT_EQ(loaded.GetFloat(kKeyed, 320), -10.0f);
    const std::string source = "/scenes/still.max: saved block \"parameters\"";
    // In the block's order: width, layers, free, tint, widths, then the keys.
    ASSERT_EQ(core.warnings.size(), 7u);
    EXPECT_EQ(core.warnings[0],
              source + ": parameter lineWidth: 250 is outside its range 0 to 100; held to 100");
    EXPECT_EQ(core.warnings[1], source + ": parameter layers: -7 is outside its range 1 to 8; held to 1");
    EXPECT_EQ(core.warnings[2], source + ": parameter free: nan is not a finite number; kept 6");
    EXPECT_EQ(core.warnings[3],
              source + ": parameter tint: [0.5, nan, 0.5] is not a finite number; kept [0.1, 0.2, 0.3]");
    bool keyNamed = false;
    for (const std::string& w : core.warnings)
        keyNamed = keyNamed || w.find(source + ", key at tick 160: parameter keyed: inf") == 0;
    EXPECT_TRUE(keyNamed);
}

}  // namespace
