// The renderer's rollouts on the in-memory dialog layer, and `vermil ui` over them.

#include "support/CommandTestSupport.h"

#include "app/UiCommand.h"
#include "host/IParamBlock2.h"
#include "host/ParamBlockDesc2.h"
#include "host/Renderer.h"
#include "renderer/vmlRenderer.h"
#include "renderer/vmlRendererParamBlocks.h"
#include "shell/StringLookup.h"
#include "standalone/SceneDocument.h"
#include "standalone/ui/MemoryDialogs.h"
#include "standalone/ui/RolloutState.h"

#include <nlohmann/json.hpp>

#include <fstream>
#include <memory>
#include <string>

using namespace test_support;

namespace {

namespace fs = std::filesystem;
using standalone::MemoryDialogs;

constexpr const char* kScene = R"({
  "render": {"renderer": "vmlRenderer"},
  "camera": {"position": [0, -6, 0], "target": [0, 0, 0]},
  "objects": [{"name": "ball", "type": "sphere"}, {"name": "box", "type": "box"}]
})";

struct RendererRollouts : test_support::CommandTest {
    void SetUp() override
    {
        CommandTest::SetUp();
        scene = standalone::parseScene(kScene, (dir / "scene.json").string(), core);
        for (const auto& node : scene->nodes())
            ui.sceneNodes.push_back(node.get());
        SetDialogService(&ui);
        renderer = dynamic_cast<vml::vmlRenderer*>(scene->renderer);
        ASSERT_NE(renderer, nullptr);
        dialog.reset(renderer->CreateParamDialog(nullptr, FALSE));
        ASSERT_NE(dialog, nullptr);
        ASSERT_EQ(ui.pages().size(), 2u);
        settings = ui.pages()[0];
    }
    void TearDown() override
    {
        dialog.reset();
        SetDialogService(nullptr);
        CommandTest::TearDown();
    }
    const MemoryDialogs::Control& at(int id)
    {
        return *const_cast<MemoryDialogs::Page*>(ui.page(settings))->find(id);
    }
    IParamBlock2& block() { return *renderer->paramBlock(); }

    std::unique_ptr<standalone::Scene> scene;
    MemoryDialogs ui;
    vml::vmlRenderer* renderer = nullptr;
    std::unique_ptr<RendParamDlg> dialog;
    HWND settings = nullptr;
};

TEST_F(RendererRollouts, EveryControlOfTheBlockShowsItsParameter)
{
    const ParamBlockDesc2& desc = vml::vmlRendererParamsBlock();
    int bound = 0;
    for (int i = 0; i < desc.Count(); ++i) {
        const ParamDef& d = desc.GetParamDefByIndex(i);
        if (d.ui.control == ParamControl::none)
            continue;
        ++bound;
        SCOPED_TRACE(d.name);
        const MemoryDialogs::Control* c =
            const_cast<MemoryDialogs::Page*>(ui.page(settings))->find(d.ui.ids.back());
        ASSERT_NE(c, nullptr) << "template 108 lacks the parameter's control";
        if (d.ui.control == ParamControl::spinner) {
            EXPECT_FLOAT_EQ(c->value, c->integer ? float(block().GetInt(d.id)) : block().GetFloat(d.id));
            EXPECT_FLOAT_EQ(c->max, float(d.rangeMax));
        } else if (d.ui.control == ParamControl::checkBox) {
            EXPECT_EQ(c->checked, block().GetInt(d.id) != 0);
        }
    }
    EXPECT_EQ(bound, 12) << "every parameter the table gives a control";
    EXPECT_EQ(ui.page(ui.pages()[1])->dialogId, 106);
    EXPECT_EQ(ui.GetText(ui.pages()[1], 1003), "Version 1.52");
}

TEST_F(RendererRollouts, BlendTabsAndTheNodeListsFollowTheUser)
{
    ASSERT_EQ(at(1105).items.size(), 16u);
    ASSERT_TRUE(ui.userSelect(settings, 1105, 3));
    EXPECT_EQ(block().GetInt(vml::rendererPenStrokeBlend), 3);

    ASSERT_TRUE(ui.userSelect(settings, 1110, 2));
    EXPECT_EQ(at(1116).text, "3");
    ui.nodeAnswers.push_back({"ball", "box"});
    ASSERT_TRUE(ui.userClick(settings, 1112));
    EXPECT_EQ(at(1108).items, (std::vector<std::string>{"ball", "box"}));
    // A repeated selection changes nothing.
    ASSERT_TRUE(ui.userSelect(settings, 1110, 2));
    EXPECT_EQ(at(1108).items.size(), 2u);
    // A listed node is not offered again, under any tab.
    ASSERT_TRUE(ui.userSelect(settings, 1110, 5));
    ui.nodeAnswers.push_back({"ball"});
    ASSERT_TRUE(ui.userClick(settings, 1112));
    EXPECT_TRUE(at(1108).items.empty());

    // Cut one from tab 3, paste it under tab 1.
    ASSERT_TRUE(ui.userSelect(settings, 1110, 2));
    EXPECT_FALSE(at(1115).enabled);
    ui.nodeAnswers.push_back({"box"});
    ASSERT_TRUE(ui.userClick(settings, 1114));
    EXPECT_EQ(at(1108).items, std::vector<std::string>{"ball"});
    EXPECT_TRUE(at(1115).enabled);
    ASSERT_TRUE(ui.userSelect(settings, 1110, 0));
    ASSERT_TRUE(ui.userClick(settings, 1115));
    EXPECT_EQ(at(1108).items, std::vector<std::string>{"box"});
    EXPECT_FALSE(at(1115).enabled);
    EXPECT_EQ(block().Count(vml::rendererMultipassNode), 2);
}

TEST_F(RendererRollouts, SpinnersHoldTheirLimitsAndTheSummaryShowsTheSettings)
{
    ASSERT_TRUE(ui.userSetValue(settings, 1070, 5000.0f));
    EXPECT_EQ(block().GetInt(vml::rendererBrushScaleAmount), 999);
    ASSERT_TRUE(ui.userClick(settings, 1069));
    EXPECT_EQ(block().GetInt(vml::rendererBrushScaleEnable), 1);

    std::unique_ptr<RendParamDlg> summary(renderer->CreateParamDialog(nullptr, TRUE));
    ASSERT_NE(summary, nullptr);
    HWND page = ui.pages().back();
    EXPECT_EQ(ui.page(page)->dialogId, 112);
    EXPECT_EQ(ui.GetText(page, 1050), "0");
    EXPECT_EQ(ui.GetText(page, 1051), "999%");
    EXPECT_EQ(ui.GetText(page, 1054), vml::getString(1081)) << "no pen strokes";
    summary.reset();
    EXPECT_EQ(renderer->summaryRollout(), nullptr) << "closing the page closes the rollout";
}

// A script's values reach the block through the control's parameter map and so through the
// intake: held to the parameter's range or, not finite, refused, each with a warning naming the
// control and the parameter, which `vermil ui` prints and the studio shows as the act's note.
TEST_F(RendererRollouts, ScriptedValuesOutsideTheRangeAreHeldAndNonFiniteOnesRefused)
{
    const ParamDef* def = nullptr;
    const ParamBlockDesc2& desc = vml::vmlRendererParamsBlock();
    for (int i = 0; i < desc.Count(); ++i)
        if (desc.GetParamDefByIndex(i).ui.ids.size() == 2 && desc.GetParamDefByIndex(i).ui.ids[1] == 1071)
            def = &desc.GetParamDefByIndex(i);
    ASSERT_NE(def, nullptr);
    ASSERT_EQ(def->rangeMin, 10.0);
    ASSERT_EQ(def->rangeMax, 999.0);
    const std::string source = "control 108:1071: parameter " + def->name + ": ";
    struct Case {
        const char* value;
        int after;
        std::string warning;
    } cases[] = {
        {"5000", 999, source + "5000 is outside its range 10 to 999; held to 999"},
        {"-20", 10, source + "-20 is outside its range 10 to 999; held to 10"},
        {"nan", 10, source + "nan is not a finite number; kept 10"},
        {"inf", 10, source + "inf is not a finite number; kept 10"},
        {"150", 150, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        const standalone::RolloutEventResult r =
            standalone::applyRolloutEvent(ui, {standalone::RolloutEvent::set, 1071, c.value});
        EXPECT_TRUE(r.ok);
        EXPECT_EQ(block().GetInt(def->id), c.after);
        EXPECT_EQ(at(1071).value, float(c.after));
        EXPECT_EQ(r.message, c.warning);
    }

    std::ofstream(dir / "scene.json") << kScene;
    app::UiOptions o;
    o.scenePath = (dir / "scene.json").string();
    o.renderer = true;
    o.events = {{app::UiEvent::set, 1071, "5000"}, {app::UiEvent::set, 1071, "nan"}};
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(app::runUi(o, core), 0);
    const std::string err = ::testing::internal::GetCapturedStderr();
    ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(err, "vermil: warning: " + source + "5000 is outside its range 10 to 999; held to 999\n" +
                       "vermil: warning: " + source + "nan is not a finite number; kept 999\n");
}

TEST_F(RendererRollouts, TheCommandActsInOrderAndPrintsEveryPage)
{
    std::ofstream(dir / "scene.json") << kScene;
    app::UiOptions o;
    o.scenePath = (dir / "scene.json").string();
    o.renderer = true;
    o.json = true;
    o.events = {
        {app::UiEvent::set, 1071, "150"}, {app::UiEvent::press, 1069, ""}, {app::UiEvent::select, 1110, "4"}};
    ::testing::internal::CaptureStdout();
    ASSERT_EQ(app::runUi(o, core), 0);
    const auto pages = nlohmann::json::parse(::testing::internal::GetCapturedStdout());
    ASSERT_EQ(pages.size(), 2u);
    auto control = [&](int id) {
        for (const auto& c : pages[0]["controls"])
            if (c["id"] == id)
                return c;
        return nlohmann::json();
    };
    EXPECT_EQ(control(1071)["value"], 150.0);
    EXPECT_EQ(control(1069)["value"], true);
    EXPECT_EQ(control(1116)["value"], "5");
    EXPECT_EQ(control(1071)["range"], (nlohmann::json{10.0, 999.0}));

    o.events = {{app::UiEvent::press, 1115, ""}};
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(app::runUi(o, core), 1);
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("control 1115 (button) is disabled"),
              std::string::npos);
}

}  // namespace
