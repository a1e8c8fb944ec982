// The line effect's rollouts on the in-memory dialog layer, and `vermil ui --effect` over them.

#include "support/CommandTestSupport.h"

#include "app/UiCommand.h"
#include "host/IParamBlock2.h"
#include "host/ParamBlockDesc2.h"
#include "line/LineElementType.h"
#include "line/LineFiles.h"
#include "line/LineFxElement.h"
#include "line/LineFxManager.h"
#include "line/LineFxParamBlocks.h"
#include "resources/DialogTemplates.h"
#include "shell/StringLookup.h"
#include "standalone/SceneDocument.h"
#include "standalone/ui/MemoryDialogs.h"

#include <nlohmann/json.hpp>

#include <fstream>
#include <memory>
#include <sstream>

using namespace test_support;

namespace {

namespace fs = std::filesystem;
using standalone::MemoryDialogs;
using namespace vml;

// The example with its line effect named, so `--effect` can find it.
std::string namedExample()
{
    std::ifstream in(std::string(VML_EXAMPLES_DIR) + "/still_life_lines.json");
    std::stringstream text;
    text << in.rdbuf();
    std::string doc = text.str();
    const std::string effect = R"({"class": "LineFxManager",)";
    doc.replace(doc.find(effect), effect.size(), effect + R"( "name": "ink",)");
    for (std::size_t at; (at = doc.find("\"textures/")) != std::string::npos;)
        doc.replace(at, 10, "\"" + std::string(VML_EXAMPLES_DIR) + "/textures/");
    return doc;
}

std::string sceneWith(const std::string& elements)
{
    return R"({"camera": {"position": [0, -6, 0], "target": [0, 0, 0]},
  "objects": [{"name": "ball", "type": "sphere"}],
  "effects": [{"class": "LineFxManager", "name": "ink", "elements": [)" +
           elements + "]}]}";
}

const ParamBlockDesc2* descs[] = {&lineFxManagerParamsBlock(), &lineFxElementParamsBlock(),
                                  &lineFxElementPaintBlock()};

TEST(LineTemplates, EveryBoundParameterHasItsControlOnItsPage)
{
    const int pages[] = {114, 115, 123};
    for (int k = 0; k < 3; ++k)
        for (Language language : {Language::English, Language::Japanese}) {
            const DialogTemplate* t = resources::findDialogTemplate(pages[k], language);
            ASSERT_NE(t, nullptr);
            for (int i = 0; i < descs[k]->Count(); ++i) {
                const ParamDef& d = descs[k]->GetParamDefByIndex(i);
                for (int id : d.ui.ids) {
                    SCOPED_TRACE(d.name);
                    EXPECT_NE(t->find(id), nullptr);
                }
            }
        }
    // Each type's page keeps its own detection section only.
    const DialogTemplate* outline = resources::findDialogTemplate(119, Language::English);
    const DialogTemplate* boundary = resources::findDialogTemplate(117, Language::English);
    const DialogTemplate* angle = resources::findDialogTemplate(118, Language::English);
    EXPECT_TRUE(outline->find(1043) && !outline->find(1045) && !outline->find(1062));
    EXPECT_TRUE(boundary->find(1046) && !boundary->find(1043) && !boundary->find(1062));
    EXPECT_TRUE(angle->find(1062) && !angle->find(1043) && !angle->find(1046));
}

struct LineUiCommand : test_support::CommandTest {};

TEST_F(LineUiCommand, ListsTheMainPageAndTheSelectedElementsPages)
{
    std::ofstream(dir / "lines.json") << namedExample();
    app::UiOptions o;
    o.scenePath = (dir / "lines.json").string();
    o.effect = "ink";
    o.json = true;
    ::testing::internal::CaptureStdout();
    ASSERT_EQ(app::runUi(o, core), 0);
    const auto pages = nlohmann::json::parse(::testing::internal::GetCapturedStdout());

    std::vector<int> templates;
    for (const auto& p : pages)
        templates.push_back(p["template"]);
    // The first element is an outline: its page sits under the element host, paint under paint.
    EXPECT_EQ(templates, (std::vector<int>{114, 120, 119, 120, 123, 122}));
    for (const auto& c : pages[0]["controls"]) {
        if (c["id"] == 1034) {
            EXPECT_EQ(c["items"].size(), 2u);
        }
    }
    for (const auto& c : pages[2]["controls"]) {
        if (c["id"] == 1025) {
            EXPECT_EQ(c["value"], 3.0) << "the document's lineWidth";
        }
    }

    // An effect without a name is found by its place in the list; a wrong one is an error.
    o.effect = "0";
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(app::runUi(o, core), 0);
    EXPECT_EQ(nlohmann::json::parse(::testing::internal::GetCapturedStdout()).size(), pages.size());
    o.effect = "1";
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(app::runUi(o, core), 1);
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("no effect named \"1\""), std::string::npos);
}

TEST_F(LineUiCommand, SaveWritesChangedValuesIntoTheElementsEntryAndRefusesAChangedList)
{
    const std::string original = namedExample();
    const fs::path path = dir / "lines.json";
    std::ofstream(path) << original;
    auto text = [&] {
        std::ifstream in(path);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    };
    app::UiOptions o;
    o.scenePath = path.string();
    o.effect = "ink";
    o.save = true;
    app::UiEvent width, paintRed;
    ASSERT_TRUE(app::parseUiAssignment("1025=4.5", width));
    ASSERT_TRUE(app::parseUiAssignment("123:1051=12", paintRed));  // 1051 is also the colour swatch of 119
    EXPECT_EQ(paintRed.dialog, 123);
    o.events = {width, paintRed};
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    ASSERT_EQ(app::runUi(o, core), 0);
    ::testing::internal::GetCapturedStdout();
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("2 values written"), std::string::npos);
    // Only the first element's entry changed, and only in those two values.
    const std::string saved = text();
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
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(app::runUi(o, core), 1);
    ::testing::internal::GetCapturedStdout();
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("not saved"), std::string::npos);
    EXPECT_EQ(text(), saved);
}

struct LineRollouts : test_support::CommandTest {
    void open(const std::string& elements)
    {
        scene = standalone::parseScene(sceneWith(elements), (dir / "scene.json").string(), core);
        ASSERT_EQ(scene->effects.size(), 1u);
        fx = dynamic_cast<LineFxManager*>(scene->effects[0]);
        ASSERT_NE(fx, nullptr);
        SetDialogService(&ui);
        dialog.reset(fx->CreateParamDialog(nullptr));
        ASSERT_NE(dialog, nullptr);
        main = ui.pages()[0];
    }
    void TearDown() override
    {
        dialog.reset();
        SetDialogService(nullptr);
        CommandTest::TearDown();
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
    int blackPixels(HWND page, int id)
    {
        const Bitmap* bm = const_cast<MemoryDialogs::Page*>(ui.page(page))->find(id)->image.get();
        int n = 0;
        for (int y = 1; bm && y + 1 < bm->Height(); ++y)
            for (int x = 1; x + 1 < bm->Width(); ++x)
                n += bm->Row(y)[x].r == 0;
        return n;
    }

    std::unique_ptr<standalone::Scene> scene;
    MemoryDialogs ui;
    LineFxManager* fx = nullptr;
    std::unique_ptr<EffectParamDlg> dialog;
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

TEST_F(LineRollouts, CopyAppendsTheSelectedElementAndShowsIt)
{
    open(threeElements);
    ASSERT_TRUE(ui.userSelect(main, 1034, 1));
    ASSERT_TRUE(ui.userSetText(pageOf(119), 1044, "ink"));
    EXPECT_EQ(ui.GetItems(main, 1034)[1], "ink") << "a new name shows in the list";
    ASSERT_TRUE(ui.userClick(main, 1040));
    ASSERT_EQ(fx->elementCount(), 4);
    EXPECT_EQ(fx->element(3)->type(), Outline);
    EXPECT_EQ(ui.GetItems(main, 1034)[3], "ink");
    EXPECT_EQ(ui.GetSelection(main, 1034), 3);
}

TEST_F(LineRollouts, StampPreviewFollowsTheWidth)
{
    open(threeElements);
    HWND page = pageOf(115);
    const int thin = blackPixels(page, 1042);
    EXPECT_GT(thin, 0);
    ASSERT_TRUE(ui.userSetValue(page, 1025, 6.0f));
    EXPECT_GT(blackPixels(page, 1042), thin);
    ASSERT_TRUE(ui.userSetValue(pageOf(123), 1051, 50.0f));
    EXPECT_GT(blackPixels(pageOf(123), 1041), 0) << "the red range";
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

}  // namespace
