// The line effect in documents: its elements, line element files and lines files ("elementsFile",
// an element's "file"), and `vermil lines save | show` and `vermil info` over them.

#include "support/CommandTestSupport.h"
#include "support/ReadImage.h"

#include "app/InfoCommand.h"
#include "app/LinesCommand.h"
#include "app/RenderCommand.h"
#include "line/LineFxElement.h"
#include "line/LineFxManager.h"
#include "standalone/SceneDocument.h"

#include <nlohmann/json.hpp>

#include <fstream>

using namespace test_support;

namespace {

namespace fs = std::filesystem;
using nlohmann::json;

const fs::path kExamples = fs::path(VML_EXAMPLES_DIR);

struct LinesCommand : test_support::CommandTest {
    // The still life with lines, its texture found from anywhere; `edit` changes it further.
    fs::path stillLife(const std::string& name, const std::function<void(json&)>& edit = {})
    {
        json doc = json::parse(TempDir::readText(kExamples / "still_life_lines.json"), nullptr, true, true);
        for (json& map : doc["maps"])
            if (map.contains("fileName"))
                map["fileName"] = (kExamples / map["fileName"].get<std::string>()).string();
        if (edit)
            edit(doc);
        const fs::path path = dir / name;
        std::ofstream(path) << doc.dump(2);
        return path;
    }
    fs::path render(const fs::path& scene)
    {
        app::RenderOptions o;
        o.scenePath = scene.string();
        o.output = (dir / (scene.stem().string() + ".png")).string();
        o.width = 160, o.height = 90;
        o.quiet = true;
        EXPECT_EQ(app::runRender(o, core), 0) << scene;
        return o.output;
    }
    app::LinesOptions save(const fs::path& scene, const std::string& output, std::optional<int> element = {})
    {
        app::LinesOptions o;
        o.scenePath = scene.string();
        o.output = (dir / output).string();
        o.element = element;
        return o;
    }
    std::unique_ptr<standalone::Scene> load(const std::string& text)
    {
        return standalone::parseScene(text, (dir / "scene.json").string(), core);
    }
    std::string errorOf(const std::string& text)
    {
        try {
            load(text);
        } catch (const standalone::SceneError& e) {
            return e.what();
        }
        ADD_FAILURE() << "loaded: " << text;
        return "";
    }
};

// A scene with one line effect, given as JSON text.
std::string sceneWithEffect(const std::string& effect)
{
    return R"({"camera": {"position": [0, -6, 0], "target": [0, 0, 0]},
               "objects": [{"name": "ball", "type": "sphere", "radius": 1}],
               "effects": [)" +
           effect + "]}";
}

TEST_F(LinesCommand, BadElementsAndFilesNameTheirPlaceAndWhatWasExpected)
{
    ASSERT_EQ(app::runLinesSave(save(kExamples / "still_life_lines.json", "ink.vma"), core), 0);
    const struct {
        const char* elements;
        const char* place;
        std::vector<const char*> says;
    } cases[] = {
        {R"([{"type": "outline"}, {"type": "normAngle"}])",
         "scene.json: /effects/0/elements/1/type:",
         {"unknown line element type \"normAngle\"", "did you mean \"normalAngle\"",
          "basicSet, outline, edgeBoundary, normalAngle"}},
        {R"([{"type": 4}])", "/effects/0/elements/0/type:", {"from 0 to 3"}},
        {R"([{"type": true}])", "/effects/0/elements/0/type:", {"basicSet, outline", "got"}},
        {R"([{"type": "outline", "lineColor": "black"}])", "/effects/0/elements/0/lineColor:", {"colour"}},
        {R"([{"type": "edgeBoundary", "lineWidht": 2}])",
         "/effects/0/elements/0/lineWidht:",
         {"unknown parameter", "did you mean \"lineWidth\"", "paintBlur"}},
        {R"([{"type": "outline"}, "outline"])",
         "/effects/0/elements/1:",
         {"expected a line element", "basicSet, outline, edgeBoundary, normalAngle", "a string"}},
        {R"([{"lineWidth": 2}])", "/effects/0/elements/0:", {"needs a \"type\"", "normalAngle"}},
        {R"([{"type": "outline", "elemID": 2}])", "/effects/0/elements/0/elemID:", {"given by \"type\""}},
        {R"({"type": "outline"})", "/effects/0/elements:", {"expected an array of line elements"}},
        {R"([{"type": "outline", "file": "ink.vma"}])",
         "/effects/0/elements/0/file: ",
         {"a lines file, where a line element file (.vme) is expected"}},
        {R"([{"type": "outline", "file": "x.vme", "loadMethod": "mix"}])",
         "/effects/0/elements/0/loadMethod: expected \"replace\" or \"merge\"",
         {}},
    };
    for (const auto& c : cases) {
        const std::string error = errorOf(
            sceneWithEffect(std::string(R"({"class": "LineFxManager", "elements": )") + c.elements + "}"));
        EXPECT_NE(error.find(c.place), std::string::npos) << c.elements << "\n" << error;
        for (const char* part : c.says)
            EXPECT_NE(error.find(part), std::string::npos) << c.elements << "\n" << error;
    }
    const std::string missing =
        errorOf(sceneWithEffect(R"({"class": "LineFxManager", "elementsFile": "none.vma"})"));
    EXPECT_NE(missing.find("/effects/0/elementsFile: "), std::string::npos) << missing;
    EXPECT_NE(missing.find("none.vma"), std::string::npos) << missing;
    // Only the line effect has elements.
    const std::string error = errorOf(R"({"camera": {}, "materials": [{"name": "m", "class": "Standard",
        "elements": []}]})");
    EXPECT_NE(error.find("/materials/0/elements: unknown parameter"), std::string::npos) << error;
}

TEST_F(LinesCommand, InfoListsTheEffectWithItsElementTypes)
{
    std::string text = sceneWithEffect(R"({"class": "LineFxManager", "elements": [{"type": "edgeBoundary"},
        {"type": "basicSet"}, {"type": "outline"}]})");
    text.insert(text.rfind('}'),
                R"(, "renderElements": [{"class": "LineFxRenderElement", "name": "lines"}])");
    std::ofstream(dir / "scene.json") << text;
    ::testing::internal::CaptureStdout();
    ASSERT_EQ(app::runInfo((dir / "scene.json").string(), core), 0);
    const std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("LineFxManager  3 elements: edgeBoundary, basicSet, outline"), std::string::npos)
        << out;
    EXPECT_NE(out.find("lines"), std::string::npos) << out;
}

TEST_F(LinesCommand, TheStillLifesLinesFileRendersTheSameImageInAnotherDocument)
{
    ASSERT_EQ(app::runLinesSave(save(kExamples / "still_life_lines.json", "ink.vma"), core), 0);
    const fs::path listed = stillLife("listed.json");
    const fs::path fromFile = stillLife("from_file.json", [&](json& doc) {
        json& effect = doc["effects"][0];
        effect.erase("elements");
        effect["elementsFile"] = "ink.vma";
    });
    const auto want = readImage(render(listed)).rgb, got = readImage(render(fromFile)).rgb;
    ASSERT_FALSE(want.empty());
    EXPECT_TRUE(want == got) << "the lines of the file differ from the listed ones";
}

TEST_F(LinesCommand, AnElementFileIsLoadedBeforeTheElementsOwnKeys)
{
    ASSERT_EQ(app::runLinesSave(save(kExamples / "still_life_lines.json", "outline.vme", 0), core), 0);
    auto scene = load(sceneWithEffect(R"({"class": "LineFxManager", "elements": [
        {"type": "outline", "lineAlpha": 40, "file": "outline.vme"},
        {"type": "outline", "file": "outline.vme", "loadMethod": "merge"}]})"));
    auto& effect = *dynamic_cast<vml::LineFxManager*>(scene->effects.at(0));
    vml::LineSettings replaced, merged;
    effect.element(0)->readSettings(0, replaced);
    effect.element(1)->readSettings(0, merged);
    EXPECT_FLOAT_EQ(replaced.lineWidth, 3.0f) << "from the file";
    EXPECT_FLOAT_EQ(replaced.lineAlpha, 40.0f) << "the element's own key wins";
    EXPECT_FLOAT_EQ(merged.lineWidth, 3.0f) << "a setting the file holds apart from the defaults";
    EXPECT_FLOAT_EQ(merged.lineAlpha, 100.0f);
    EXPECT_EQ(merged.outlineMaterial, 1);
}

TEST_F(LinesCommand, ShowListsTypesNamesAndEverySettingWithItsDefaults)
{
    ASSERT_EQ(app::runLinesSave(save(kExamples / "still_life_lines.json", "ink.vma"), core), 0);
    ::testing::internal::CaptureStdout();
    ASSERT_EQ(app::runLinesShow((dir / "ink.vma").string()), 0);
    const std::string out = ::testing::internal::GetCapturedStdout();
    // The outline's width is its own; its blur is the default.
    for (const char* line :
         {"lines file, 2 elements, 49 records per element", "element 0: outline", "element 1: normalAngle",
          "lineWidth                  3\n", "lineBlur                   0  (default)\n"})
        EXPECT_NE(out.find(line), std::string::npos) << out;
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(app::runLinesShow((kExamples / "still_life_lines.json").string()), 1);
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("still_life_lines.json: "), std::string::npos);
}

TEST_F(LinesCommand, SaveNamesWhatIsMissing)
{
    app::LinesOptions o = save(kExamples / "still_life_lines.json", "x.vme", 5);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(app::runLinesSave(o, core), 1);
    EXPECT_NE(
        ::testing::internal::GetCapturedStderr().find("--element 5: the line effect has 2 elements (0 to 1)"),
        std::string::npos);
    o = save(kExamples / "still_life_lines.json", "x.vma");
    o.effect = "ink";
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(app::runLinesSave(o, core), 1);
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("no line effect named \"ink\""),
              std::string::npos);
    EXPECT_FALSE(fs::exists(dir / "x.vma"));
}

}  // namespace
