// `vermil ui` and the rollouts it drives on the in-memory dialog layer: the renderer's, the line
// effect's and the painterly material's.

#include "support/CommandTestSupport.h"

#include "app/UiCommand.h"
#include "host/IParamBlock2.h"
#include "host/ParamBlockDesc2.h"
#include "host/Renderer.h"
#include "line/LineElementType.h"
#include "line/LineFiles.h"
#include "line/LineFxElement.h"
#include "line/LineFxManager.h"
#include "line/LineFxParamBlocks.h"
#include "renderer/vmlRenderer.h"
#include "renderer/vmlRendererParamBlocks.h"
#include "shell/StringLookup.h"
#include "standalone/SceneDocument.h"
#include "standalone/ui/MemoryDialogs.h"
#include "standalone/ui/RolloutState.h"

#include <OpenImageIO/imagebuf.h>
#include <nlohmann/json.hpp>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

using namespace test_support;

namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using standalone::MemoryDialogs;
using namespace vml;

// The pages `vermil ui` prints for o, as JSON.
json uiPages(app::UiOptions o, standalone::StandaloneCore& core)
{
    o.json = true;
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(app::runUi(o, core), 0);
    return json::parse(::testing::internal::GetCapturedStdout());
}

// Runs `vermil ui` expecting `code`, and answers what it printed on stderr.
std::string errorsOf(const app::UiOptions& o, standalone::StandaloneCore& core, int code)
{
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(app::runUi(o, core), code);
    ::testing::internal::GetCapturedStdout();
    return ::testing::internal::GetCapturedStderr();
}

json control(const json& page, int id)
{
    for (const json& c : page["controls"])
        if (c["id"] == id)
            return c;
    return json();
}

// A scene's rollouts on the in-memory dialogs, closed before the host goes.
template <class Dialog> struct Rollouts : test_support::CommandTest {
    void TearDown() override
    {
        dialog.reset();
        SetDialogService(nullptr);
        CommandTest::TearDown();
    }
    std::unique_ptr<standalone::Scene> scene;
    MemoryDialogs ui;
    std::unique_ptr<Dialog> dialog;
};

// The renderer's rollouts

constexpr const char* kScene = R"({
  "render": {"renderer": "vmlRenderer"},
  "camera": {"position": [0, -6, 0], "target": [0, 0, 0]},
  "objects": [{"name": "ball", "type": "sphere"}, {"name": "box", "type": "box"}]
})";

struct RendererRollouts : Rollouts<RendParamDlg> {
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
    const MemoryDialogs::Control& at(int id)
    {
        return *const_cast<MemoryDialogs::Page*>(ui.page(settings))->find(id);
    }
    IParamBlock2& block() { return *renderer->paramBlock(); }
    vml::vmlRenderer* renderer = nullptr;
    HWND settings = nullptr;
};

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

// A script's values reach the block through the intake: held to the parameter's range or, not
// finite, refused, each with a warning naming the control and the parameter, which `vermil ui`
// prints. A disabled control refuses the act.
TEST_F(RendererRollouts, ScriptedValuesAreHeldToTheRangeAndDisabledControlsRefused)
{
    const ParamDef& def = *vml::vmlRendererParamsBlock().GetParamDef(vml::rendererBrushScaleAmount);
    ASSERT_EQ(def.ui.ids.back(), 1071);
    const std::string source = "control 108:1071: parameter " + def.name + ": ";
    struct Case {
        const char* value;
        int after;
        std::string warning;
    } cases[] = {
        {"5000", 999, source + "5000 is outside its range 10 to 999; held to 999"},
        {"-20", 10, source + "-20 is outside its range 10 to 999; held to 10"},
        {"nan", 10, source + "nan is not a finite number; kept 10"},
        {"150", 150, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        const standalone::RolloutEventResult r =
            standalone::applyRolloutEvent(ui, {standalone::RolloutEvent::set, 1071, c.value});
        EXPECT_TRUE(r.ok);
        EXPECT_EQ(block().GetInt(def.id), c.after);
        EXPECT_EQ(at(1071).value, float(c.after));
        EXPECT_EQ(r.message, c.warning);
    }
    std::ofstream(dir / "scene.json") << kScene;
    app::UiOptions o;
    o.scenePath = (dir / "scene.json").string();
    o.renderer = true;
    o.events = {{app::UiEvent::set, 1071, "5000"}, {app::UiEvent::set, 1071, "nan"}};
    EXPECT_EQ(errorsOf(o, core, 0),
              "vermil: warning: " + source + "5000 is outside its range 10 to 999; held to 999\n" +
                  "vermil: warning: " + source + "nan is not a finite number; kept 999\n");
    o.events = {{app::UiEvent::press, 1115, ""}};
    EXPECT_NE(errorsOf(o, core, 1).find("control 1115 (button) is disabled"), std::string::npos);
}

// The line effect's rollouts

// The example with its line effect named, so `--effect` can find it.
std::string namedExample()
{
    std::string doc = TempDir::readText(std::string(VML_EXAMPLES_DIR) + "/still_life_lines.json");
    const std::string effect = R"({"class": "LineFxManager",)";
    doc.replace(doc.find(effect), effect.size(), effect + R"( "name": "ink",)");
    for (std::size_t at; (at = doc.find("\"textures/")) != std::string::npos;)
        doc.replace(at, 10, "\"" + std::string(VML_EXAMPLES_DIR) + "/textures/");
    return doc;
}

struct LineUiCommand : test_support::CommandTest {};

TEST_F(LineUiCommand, ListsTheMainPageAndTheSelectedElementsPagesFoundByNameOrPlace)
{
    std::ofstream(dir / "lines.json") << namedExample();
    app::UiOptions o;
    o.scenePath = (dir / "lines.json").string();
    o.effect = "ink";
    const json pages = uiPages(o, core);
    std::vector<int> templates;
    for (const auto& p : pages)
        templates.push_back(p["template"]);
    // The first element is an outline: its page sits under the element host, paint under paint.
    EXPECT_EQ(templates, (std::vector<int>{114, 120, 119, 120, 123, 122}));
    EXPECT_EQ(control(pages[2], 1025)["value"], 3.0) << "the document's lineWidth";
    o.effect = "0";
    EXPECT_EQ(uiPages(o, core).size(), pages.size());
    o.effect = "1";
    EXPECT_NE(errorsOf(o, core, 1).find("no effect named \"1\""), std::string::npos);
}

TEST_F(LineUiCommand, SaveWritesChangedValuesIntoTheElementsEntryAndRefusesAChangedList)
{
    const std::string original = namedExample();
    const fs::path path = dir / "lines.json";
    std::ofstream(path) << original;
    app::UiOptions o;
    o.scenePath = path.string();
    o.effect = "ink";
    o.save = true;
    app::UiEvent width, paintRed;
    ASSERT_TRUE(app::parseUiAssignment("1025=4.5", width));
    ASSERT_TRUE(app::parseUiAssignment("123:1051=12", paintRed));  // 1051 is also the colour swatch of 119
    EXPECT_EQ(paintRed.dialog, 123);
    o.events = {width, paintRed};
    EXPECT_NE(errorsOf(o, core, 0).find("2 values written"), std::string::npos);
    // Only the first element's entry changed, and only in those two values.
    const std::string saved = TempDir::readText(path);
    std::string expected = original;
    const std::size_t first = expected.find("\"elements\"");
    const std::size_t lineWidth = expected.find("\"lineWidth\": 3", first);
    ASSERT_NE(lineWidth, std::string::npos);
    expected.replace(lineWidth, 14, "\"lineWidth\": 4.5");
    // A key the entry lacks goes after its last member, on a line of its own like that member.
    const std::string last = "\"outlineMaterial\": true}";
    const std::size_t end = expected.find(last, first);
    ASSERT_NE(end, std::string::npos);
    expected.replace(end, last.size(), "\"outlineMaterial\": true,\n        \"paintColorR\": 12}");
    EXPECT_EQ(saved, expected);
    // Removing the element changes the list, which values cannot say: nothing is written.
    o.events = {{app::UiEvent::press, 1036, ""}};
    EXPECT_NE(errorsOf(o, core, 1).find("not saved"), std::string::npos);
    EXPECT_EQ(TempDir::readText(path), saved);
}

struct LineRollouts : Rollouts<EffectParamDlg> {
    void open(const std::string& elements)
    {
        const std::string text = R"({"camera": {"position": [0, -6, 0], "target": [0, 0, 0]},
  "objects": [{"name": "ball", "type": "sphere"}],
  "effects": [{"class": "LineFxManager", "name": "ink", "elements": [)" +
                                 elements + "]}]}";
        scene = standalone::parseScene(text, (dir / "scene.json").string(), core);
        ASSERT_EQ(scene->effects.size(), 1u);
        fx = dynamic_cast<LineFxManager*>(scene->effects[0]);
        ASSERT_NE(fx, nullptr);
        SetDialogService(&ui);
        dialog.reset(fx->CreateParamDialog(nullptr));
        ASSERT_NE(dialog, nullptr);
        main = ui.pages()[0];
    }
    std::vector<int> templates()
    {
        std::vector<int> ids;
        for (HWND p : ui.pages())
            ids.push_back(ui.page(p)->dialogId);
        return ids;
    }
    HWND pageOf(int templateId)
    {
        for (HWND p : ui.pages())
            if (ui.page(p)->dialogId == templateId)
                return p;
        return nullptr;
    }
    std::vector<LineFxElement*> order()
    {
        std::vector<LineFxElement*> list;
        for (int i = 0; i < fx->elementCount(); ++i)
            list.push_back(fx->element(i));
        return list;
    }
    LineFxManager* fx = nullptr;
    HWND main = nullptr;
};

const char* threeElements = R"({"type": "basicSet"}, {"type": "outline"}, {"type": "edgeBoundary"})";

TEST_F(LineRollouts, TypesAddedAfterARowLandBelowItInReverse)
{
    open(threeElements);
    ASSERT_TRUE(ui.userClick(main, 1035));
    EXPECT_EQ(fx->elementCount(), 3) << "no type selected: nothing";
    ASSERT_TRUE(ui.userSelect(main, 1034, 2));
    ASSERT_TRUE(ui.userSelectRows(main, 1033, {Outline, NormalAngle}));
    ASSERT_TRUE(ui.userClick(main, 1035));
    ASSERT_EQ(fx->elementCount(), 5);
    EXPECT_EQ(fx->element(3)->type(), NormalAngle);
    EXPECT_EQ(fx->element(4)->type(), Outline);
    EXPECT_EQ(fx->selected(), 4);
    EXPECT_EQ(ui.GetItems(main, 1034).size(), 5u);
    EXPECT_EQ(ui.GetSelection(main, 1034), 4);
    EXPECT_EQ(templates(), (std::vector<int>{114, 120, 119, 120, 123, 122})) << "the outline's page";
    EXPECT_EQ(ui.GetText(pageOf(119), 1044), getString(611));
}

TEST_F(LineRollouts, MovesStayInsideTheList)
{
    open(threeElements);
    const std::vector<LineFxElement*> before = order();
    ASSERT_TRUE(ui.userSelect(main, 1034, 2));  // 0 is already selected: select away and back
    ASSERT_TRUE(ui.userSelect(main, 1034, 0));
    ASSERT_TRUE(ui.userClick(main, 1038));
    EXPECT_EQ(order(), before);
    ASSERT_TRUE(ui.userSelect(main, 1034, 2));
    ASSERT_TRUE(ui.userClick(main, 1039));
    EXPECT_EQ(order(), before);
    EXPECT_EQ(ui.page(pageOf(117))->dialogId, 117) << "the last row's page still shows";
    ASSERT_TRUE(ui.userClick(main, 1038));
    EXPECT_EQ(order(), (std::vector<LineFxElement*>{before[0], before[2], before[1]}));
    EXPECT_EQ(fx->selected(), 1);
    EXPECT_EQ(ui.GetItems(main, 1034)[1], getString(612));
}

TEST_F(LineRollouts, RemovingTheOnlyElementEmptiesBothHosts)
{
    open(R"({"type": "normalAngle"})");
    EXPECT_EQ(templates(), (std::vector<int>{114, 120, 118, 120, 123, 122}));
    ASSERT_TRUE(ui.userSelect(main, 1034, 0));
    ASSERT_TRUE(ui.userClick(main, 1036));
    EXPECT_EQ(fx->elementCount(), 0);
    EXPECT_EQ(fx->selected(), 0);
    EXPECT_TRUE(ui.GetItems(main, 1034).empty());
    EXPECT_EQ(templates(), (std::vector<int>{114, 120, 120, 122}));
    ASSERT_TRUE(ui.userClick(main, 1040));
    EXPECT_EQ(fx->elementCount(), 0) << "nothing to copy";
}

TEST_F(LineRollouts, LoadMethodPageCancelsOrLoads)
{
    open(threeElements);
    LineFxElement& shown = *fx->element(0);
    LineFxElement& other = *fx->element(1);
    other.pblock()->SetValue(lineParam::lineWidth, 0, 7.0f);
    const std::string file = (dir / "wide.vme").string();
    ASSERT_TRUE(saveElementFile(other, file));
    HWND page = pageOf(115);
    const std::string initial = elementFileInitialPath();
    ui.fileAnswers.push_back(file);
    ASSERT_TRUE(ui.userClick(page, 1077));
    EXPECT_EQ(ui.fileRequests.back().path, initial);
    EXPECT_FALSE(ui.fileRequests.back().save);
    HWND method = pageOf(121);
    ASSERT_NE(method, nullptr);
    EXPECT_TRUE(ui.IsChecked(method, 1085) != lineLoadMerge());
    ASSERT_TRUE(ui.userClick(method, 2));
    EXPECT_EQ(pageOf(121), nullptr);
    EXPECT_FLOAT_EQ(shown.pblock()->GetFloat(lineParam::lineWidth), 1.5f) << "cancel loads nothing";
    ui.fileAnswers.push_back(file);
    ASSERT_TRUE(ui.userClick(page, 1077));
    ASSERT_TRUE(ui.userClick(pageOf(121), 1085));
    ASSERT_TRUE(ui.userClick(pageOf(121), 1));
    EXPECT_FLOAT_EQ(shown.pblock()->GetFloat(lineParam::lineWidth), 7.0f);
    EXPECT_FALSE(lineLoadMerge());
    EXPECT_FLOAT_EQ(ui.GetSpinnerValue(page, 1025), 7.0f) << "the page shows the loaded value";
    dialog.reset();
    EXPECT_FALSE(lineLoadMethodQuery()) << "closing the rollouts takes the query back";
}

TEST_F(LineRollouts, FileButtonsOpenAtTheInitialPathsAndRunTheFiles)
{
    open(threeElements);
    const std::string all = (dir / "all.vma").string();
    const std::string startAt = linesFileInitialPath();
    ui.fileAnswers.push_back(all);
    ASSERT_TRUE(ui.userClick(main, 1078));
    EXPECT_EQ(ui.fileRequests.back().path, startAt);
    EXPECT_TRUE(ui.fileRequests.back().save);
    EXPECT_TRUE(fs::exists(all));
    EXPECT_EQ(linesFileInitialPath(), all) << "the next dialog opens at the last file";
    ui.fileAnswers.push_back(std::nullopt);
    ASSERT_TRUE(ui.userClick(main, 1077));
    EXPECT_EQ(fx->elementCount(), 3) << "a cancelled picker loads nothing";
    ui.fileAnswers.push_back(all);
    ASSERT_TRUE(ui.userClick(main, 1077));
    EXPECT_EQ(ui.fileRequests.back().path, all);
    EXPECT_EQ(fx->elementCount(), 6);
    EXPECT_EQ(fx->selected(), 5);
    EXPECT_EQ(templates(), (std::vector<int>{114, 120, 117, 120, 123, 122})) << "the last loaded is shown";
    const std::string one = (dir / "one.vme").string();
    const std::string elementStart = elementFileInitialPath();
    ui.fileAnswers.push_back(one);
    ASSERT_TRUE(ui.userClick(pageOf(117), 1078));
    EXPECT_EQ(ui.fileRequests.back().path, elementStart);
    EXPECT_TRUE(fs::exists(one));
    EXPECT_EQ(elementFileInitialPath(), one);
}

// The painterly material's rollouts and the brush editor

struct MaterialUiCommand : test_support::CommandTest {
    json run(app::UiOptions o)
    {
        o.scenePath = VML_EXAMPLES_DIR "/still_life_painted.json";
        return uiPages(o, core);
    }
};

TEST_F(MaterialUiCommand, EventsEditTheMaterialThroughItsPages)
{
    app::UiOptions o;
    o.material = "glazePaint";
    o.events = {
        {app::UiEvent::press, 1049, ""}, {app::UiEvent::select, 1026, "6"}, {app::UiEvent::press, 1016, ""}};
    const json pages = run(o);
    ASSERT_EQ(pages.size(), 5u);
    EXPECT_EQ(control(pages[3], 1056)["value"], "H");
    EXPECT_EQ(control(pages[3], 1049)["value"], true);
    EXPECT_EQ(control(pages[3], 1026)["value"], 6);
    EXPECT_EQ(control(pages[2], 1016)["value"], true);
    EXPECT_EQ(control(pages[2], 1015)["value"], false);
}

TEST_F(MaterialUiCommand, ABrushMapOpensTheBrushEditor)
{
    app::UiOptions o;
    o.map = "roundSable";
    const json pages = run(o);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0]["template"], 113);
    EXPECT_EQ(control(pages[0], 1070)["items"], json({vml::getString(937), vml::getString(938)}));
    EXPECT_NE(control(pages[0], 1013)["value"], "") << "the preview is drawn when the page opens";
}

TEST_F(MaterialUiCommand, PreviewsAreWrittenWhereAsked)
{
    app::UiOptions o;
    o.material = "glazePaint";
    o.previews = (dir / "previews").string();
    ::testing::internal::CaptureStderr();
    run(o);
    ::testing::internal::GetCapturedStderr();
    // The brush page's tip and the paint page's colour range, each at its control's size.
    for (const char* name : {"103_1013.png", "111_1041.png"}) {
        OIIO::ImageBuf picture((dir / "previews" / name).string());
        ASSERT_TRUE(picture.read()) << name;
        EXPECT_GT(picture.roi().width(), 16) << name;
    }
}

}  // namespace
