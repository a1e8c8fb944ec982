// The dialog layer: a parameter map keeps a block and its page's controls in step, in both
// directions, before the page's own procedure hears of a change; the in-memory host acts as a
// user would.

#include "host/IParamBlock2.h"
#include "host/ParamBlockDesc2.h"
#include "host/ParamMap2.h"
#include "standalone/SceneNode.h"
#include "standalone/StandaloneCore.h"
#include "standalone/ui/MemoryDialogs.h"
#include "support/RefTestObjects.h"

#include <gtest/gtest.h>

#include <cmath>

#include <string>
#include <vector>

using namespace test_support;

namespace {

using standalone::MemoryDialogs;

enum : ParamID { kSize, kCount, kOn, kMode, kTint, kLabel, kFree };
enum : int {
    idSizeEdit = 1001,
    idSize,
    idCountEdit,
    idCount,
    idOn,
    idModeA,
    idModeB,
    idModeC,
    idTint,
    idLabel,
    idList
};

ParamBlockDesc2 makeDesc()
{
    ParamBlockDesc2 d(0, "parameters", 0, P_AUTO_CONSTRUCT, 0);
    d.addFloat(kSize, "size", 10.0f, 0.5f, 50.0f, 0, P_ANIMATABLE)
        .addInt(kCount, "count", 3, 1, 9, 0)
        .addBool(kOn, "on", true, 0)
        .addInt(kMode, "mode", 1, 0, 2, 0)
        .addColor(kTint, "tint", Color(1, 0.5f, 0), 0)
        .addString(kLabel, "label", "ink", 0)
        .addFloat(kFree, "free", 2.0f, 0.0f, 4.0f, 0);
    d.control(kSize, ParamControl::spinner, {idSizeEdit, idSize}, 0.5f)
        .control(kCount, ParamControl::spinner, {idCountEdit, idCount}, 1.0f)
        .control(kOn, ParamControl::checkBox, {idOn})
        .control(kMode, ParamControl::radio, {idModeA, idModeB, idModeC})
        .control(kTint, ParamControl::colorSwatch, {idTint})
        .control(kLabel, ParamControl::editText, {idLabel});
    return d;
}

DialogControl ctl(int id, ControlKind kind, const char* text = "", int buddy = 0)
{
    DialogControl c;
    c.id = id, c.kind = kind, c.text = text, c.buddy = buddy;
    return c;
}

DialogTemplate makeTemplate()
{
    DialogTemplate t;
    t.id = 77;
    t.controls = {ctl(idSize, ControlKind::spinner, "", idSizeEdit),
                  ctl(idCount, ControlKind::spinner, "", idCountEdit),
                  ctl(idOn, ControlKind::checkBox, "On"),
                  ctl(idModeA, ControlKind::radioButton, "A"),
                  ctl(idModeB, ControlKind::radioButton, "B"),
                  ctl(idModeC, ControlKind::radioButton, "C"),
                  ctl(idTint, ControlKind::colorSwatch),
                  ctl(idLabel, ControlKind::editText),
                  ctl(idList, ControlKind::listBox)};
    return t;
}

// Records what the page's procedure hears, and what the block held by then.
struct RecordingProc : ParamMap2UserDlgProc {
    std::vector<std::pair<UINT, int>> heard;  // message, control id
    std::vector<float> sizeWhenHeard;
    INT_PTR DlgProc(TimeValue, IParamMap2* map, HWND, UINT msg, WPARAM wParam, LPARAM) override
    {
        heard.emplace_back(msg, int(LOWORD(wParam)));
        sizeWhenHeard.push_back(map->GetParamBlock()->GetFloat(kSize, 0));
        return TRUE;
    }
};

class DialogLayer : public ::testing::Test {
protected:
    void SetUp() override
    {
        core.setQuietMode(true);
        SetCOREInterface(&core);
        SetDialogService(&ui);
        owner.ReplaceReference(0, &block);
        map = CreateParamMap2(&block, dialog, "Settings", 0, 4000, &proc);
        ASSERT_NE(map, nullptr);
        page = map->GetHWnd();
    }
    void TearDown() override
    {
        DestroyParamMap2(map);
        SetDialogService(nullptr);
        SetCOREInterface(nullptr);
    }
    const MemoryDialogs::Control& control(int id)
    {
        return *const_cast<MemoryDialogs::Page*>(ui.page(page))->find(id);
    }

    standalone::StandaloneCore core;
    MemoryDialogs ui;
    ParamBlockDesc2 desc = makeDesc();
    DialogTemplate dialog = makeTemplate();
    RecordingTarget owner{1};
    IParamBlock2 block{&desc, &owner};
    RecordingProc proc;
    IParamMap2* map = nullptr;
    HWND page = nullptr;
};

TEST_F(DialogLayer, OpeningShowsTheBlockAndUserChangesReachItBeforeTheProcedureHears)
{
    const MemoryDialogs::Control& size = control(idSize);
    EXPECT_EQ(std::vector<float>({size.value, size.min, size.max, size.step}),
              std::vector<float>({10.0f, 0.5f, 50.0f, 0.5f}));
    EXPECT_FALSE(size.integer);
    EXPECT_TRUE(control(idCount).integer);
    EXPECT_TRUE(control(idOn).checked && control(idModeB).checked && !control(idModeA).checked);
    EXPECT_EQ(control(idTint).color, Color(1, 0.5f, 0));
    EXPECT_EQ(control(idLabel).text, "ink");
    EXPECT_EQ(&control(idSizeEdit), &control(idSize)) << "a spinner and its edit field are one control";
    ASSERT_FALSE(proc.heard.empty());
    EXPECT_EQ(proc.heard.front().first, WM_INITDIALOG)
        << "the procedure hears the page open, values in place";
    core.setTime(960);
    ASSERT_TRUE(ui.userSetValue(page, idSizeEdit, 72.0f));
    EXPECT_FLOAT_EQ(block.GetFloat(kSize, 960), 50.0f) << "held to the spinner's limits";
    EXPECT_EQ(proc.heard.back(), std::make_pair(CC_SPINNER_CHANGE, int(idSize)));
    EXPECT_FLOAT_EQ(proc.sizeWhenHeard.back(), 50.0f);
    ASSERT_TRUE(ui.userSetValue(page, idCount, 4.6f));
    EXPECT_EQ(block.GetInt(kCount), 5);
    ASSERT_TRUE(ui.userClick(page, idOn));
    EXPECT_EQ(block.GetInt(kOn), 0);
    ASSERT_TRUE(ui.userClick(page, idModeC));
    EXPECT_EQ(block.GetInt(kMode), 2);
    EXPECT_FALSE(control(idModeB).checked) << "one radio button of a group is on";
    ASSERT_TRUE(ui.userSetColor(page, idTint, Color(0, 0, 1)));
    EXPECT_EQ(block.GetColor(kTint), Color(0, 0, 1));
    ASSERT_TRUE(ui.userSetText(page, idLabel, "pencil"));
    EXPECT_STREQ(block.GetStr(kLabel), "pencil");
}

// What a control gives passes the intake: held to the parameter's range, refused when not
// finite, each with a warning naming the control (template:id) and the parameter; the control
// then shows what the block kept.
TEST_F(DialogLayer, ControlValuesOutsideTheRangeAreHeldAndNonFiniteOnesRefused)
{
    struct Case {
        int control;
        float given;
        double after;  // the parameter afterwards, and the control's value
        std::string warning;
    } cases[] = {
        {idSizeEdit, 72.0f, 50,
         "control 77:1002: parameter size: 72 is outside its range 0.5 to 50; held to 50"},
        {idSize, std::nanf(""), 50, "control 77:1002: parameter size: nan is not a finite number; kept 50"},
        {idCount, -INFINITY, 3, "control 77:1004: parameter count: -inf is not a finite number; kept 3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.warning);
        core.clearWarnings();
        ASSERT_TRUE(ui.userSetValue(page, c.control, c.given));
        const ParamID id = c.control == idCount ? kCount : kSize;
        EXPECT_EQ(id == kCount ? double(block.GetInt(id)) : double(block.GetFloat(id)),
                  double(float(c.after)));
        EXPECT_EQ(control(c.control).value, float(c.after)) << "the control shows what the block kept";
        EXPECT_EQ(core.warnings(), std::vector<std::string>{c.warning});
    }
    core.clearWarnings();
    ASSERT_TRUE(ui.userSetColor(page, idTint, Color(0.5f, std::nanf(""), 0.0f)));
    EXPECT_EQ(block.GetColor(kTint), Color(1, 0.5f, 0));
    EXPECT_EQ(core.warnings(),
              std::vector<std::string>{"control 77:1009: parameter tint: [0.5, nan, 0] is not a "
                                       "finite number; kept [1, 0.5, 0]"});
    core.clearWarnings();
    ASSERT_TRUE(ui.userSetValue(page, idSize, 12.5f));
    EXPECT_EQ(block.GetFloat(kSize), 12.5f);
    EXPECT_TRUE(core.warnings().empty()) << "a value within range is taken without a word";
}

TEST_F(DialogLayer, UpdatesShowTheBlockAtTheCurrentTimeAndDisabledControlsIgnoreTheUser)
{
    block.SetKey(kSize, 0, 4.0f);
    block.SetKey(kSize, 4800, 8.0f);
    core.setTime(2400);
    map->UpdateUI(2400);
    EXPECT_TRUE(control(idSize).keyed);
    EXPECT_FLOAT_EQ(control(idSize).value, block.GetFloat(kSize, 2400));
    ASSERT_TRUE(ui.userSetValue(page, idSize, 20.0f));
    EXPECT_FLOAT_EQ(block.GetFloat(kSize, 2400), 20.0f);
    EXPECT_FLOAT_EQ(block.GetFloat(kSize, 0), 4.0f) << "other keys stay";
    block.SetValue(kCount, 0, 7);
    map->UpdateUI(2400);
    EXPECT_FLOAT_EQ(control(idCount).value, 7.0f);
    map->Enable(kCount, false);
    EXPECT_FALSE(control(idCountEdit).enabled);
    const std::size_t heard = proc.heard.size();
    EXPECT_FALSE(ui.userSetValue(page, idCount, 2.0f));
    EXPECT_EQ(block.GetInt(kCount), 7);
    EXPECT_EQ(proc.heard.size(), heard) << "nothing was sent";
    EXPECT_FALSE(ui.userSelect(page, idList, 0)) << "no such item";
}

}  // namespace
