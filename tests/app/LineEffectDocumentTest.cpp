#include "app/HostSetup.h"
#include "app/InfoCommand.h"
#include "app/RenderCommand.h"
#include "host/IParamBlock2.h"
#include "line/LineElementType.h"
#include "line/LineFxElement.h"
#include "line/LineFxManager.h"
#include "line/LineFxParamBlocks.h"
#include "standalone/SceneDocument.h"
#include "standalone/StandaloneCore.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// A scene around an "effects" / "renderElements" pair given by each test.
std::string sceneWith(const std::string& effects, const std::string& renderElements = "[]")
{
    return R"({
      "render": {"width": 24, "height": 16, "output": "out/ball.png"},
      "camera": {"position": [0, -6, 0], "target": [0, 0, 0]},
      "objects": [{"name": "ball", "type": "sphere", "radius": 1}],
      "effects": )" +
           effects + R"(, "renderElements": )" + renderElements + "}";
}

struct LineEffectDocument : ::testing::Test {
    standalone::StandaloneCore core;

    void SetUp() override
    {
        core.setQuietMode(true);
        app::setUpHost(core);
    }
    void TearDown() override { SetCOREInterface(nullptr); }

    std::unique_ptr<standalone::Scene> load(const std::string& text)
    {
        return standalone::parseScene(text, "scene.json", core);
    }
    // The message of the SceneError loading text raises; empty when it loads.
    std::string errorOf(const std::string& text)
    {
        try {
            load(text);
        } catch (const standalone::SceneError& e) {
            return e.what();
        }
        return "";
    }
};

TEST_F(LineEffectDocument, ElementsAreMadeInListedOrderWithTheirTypesAndValues)
{
    auto scene = load(sceneWith(R"([{"class": "LineFxManager", "name": "ink", "lineOutRenderElement": true,
        "elements": [
          {"type": "outline", "lineWidth": 2.5, "lineColor": [0.2, 0.4, 0.6], "paintBlur": 12},
          {"type": 0, "lineName": "all edges", "lineOn": false},
          {"type": "normalAngle", "normalMin": 30, "lineAlpha": {"keys": [[0, 10], [30, 70]]}}
        ]}])"));
    ASSERT_EQ(scene->effects.size(), 1u);
    auto* manager = dynamic_cast<vml::LineFxManager*>(scene->effects[0]);
    ASSERT_NE(manager, nullptr);
    EXPECT_EQ(manager->GetName(), "ink");
    EXPECT_EQ(manager->pblock()->GetInt(vml::lineFxParam::lineOutRenderElement), 1);
    ASSERT_EQ(manager->elementCount(), 3);

    vml::LineFxElement* outline = manager->element(0);
    vml::LineFxElement* basic = manager->element(1);
    vml::LineFxElement* normal = manager->element(2);
    ASSERT_TRUE(outline && basic && normal);
    EXPECT_EQ(outline->type(), vml::Outline);
    EXPECT_EQ(basic->type(), vml::BasicSet);
    EXPECT_EQ(normal->type(), vml::NormalAngle);
    for (vml::LineFxElement* e : {outline, basic, normal})
        EXPECT_EQ(e->manager(), manager);

    // Both blocks take values; keys animate.
    EXPECT_FLOAT_EQ(outline->pblock()->GetFloat(vml::lineParam::lineWidth), 2.5f);
    const Color c = outline->pblock()->GetColor(vml::lineParam::lineColor);
    EXPECT_FLOAT_EQ(c.g, 0.4f);
    EXPECT_FLOAT_EQ(c.b, 0.6f);
    EXPECT_FLOAT_EQ(outline->paintBlock()->GetFloat(vml::linePaintParam::paintBlur), 12.0f);
    EXPECT_STREQ(basic->pblock()->GetStr(vml::lineParam::lineName), "all edges");
    EXPECT_EQ(basic->pblock()->GetInt(vml::lineParam::lineOn), 0);
    EXPECT_FLOAT_EQ(normal->pblock()->GetFloat(vml::lineParam::normalMin), 30.0f);
    EXPECT_FLOAT_EQ(normal->pblock()->GetFloat(vml::lineParam::lineAlpha, 15 * TIME_TICKSPERSEC / 30), 40.0f);
    // The type's own detection switch is on, as for an element added by hand.
    EXPECT_EQ(normal->pblock()->GetInt(vml::lineParam::normal), 1);
    EXPECT_EQ(outline->pblock()->GetInt(vml::lineParam::outlineObject), 1);
}

TEST_F(LineEffectDocument, AnEmptyOrMissingListLeavesNoElements)
{
    for (const char* effect : {R"(["LineFxManager"])", R"([{"class": "LineFxManager", "elements": []}])"}) {
        auto scene = load(sceneWith(effect));
        auto* manager = dynamic_cast<vml::LineFxManager*>(scene->effects.at(0));
        ASSERT_NE(manager, nullptr) << effect;
        EXPECT_EQ(manager->elementCount(), 0) << effect;
    }
}

TEST_F(LineEffectDocument, BadElementsNameTheirPlaceAndWhatWasExpected)
{
    struct Case {
        const char* elements;
        const char* place;
        std::vector<const char*> says;
    };
    const Case cases[] = {
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
    };
    for (const Case& c : cases) {
        const std::string error = errorOf(
            sceneWith(std::string(R"([{"class": "LineFxManager", "elements": )") + c.elements + "}]"));
        EXPECT_NE(error.find(c.place), std::string::npos) << c.elements << "\n" << error;
        for (const char* part : c.says)
            EXPECT_NE(error.find(part), std::string::npos) << c.elements << "\n" << error;
    }
    // Only the line effect has elements.
    const std::string error = errorOf(R"({"camera": {}, "materials": [{"name": "m", "class": "Standard",
        "elements": []}]})");
    EXPECT_NE(error.find("/materials/0/elements: unknown parameter"), std::string::npos) << error;
}

TEST_F(LineEffectDocument, AWidthOutsideItsRangeIsHeldWithAWarningNamingItsPlace)
{
    auto scene = load(sceneWith(R"([{"class": "LineFxManager", "elements": [{"type": "outline"},
        {"type": "outline", "lineWidth": 500}]}])"));
    auto* manager = dynamic_cast<vml::LineFxManager*>(scene->effects[0]);
    ASSERT_TRUE(manager && manager->element(1));
    EXPECT_EQ(manager->element(1)->pblock()->GetFloat(vml::lineParam::lineWidth), 100.0f);
    EXPECT_EQ(core.warnings(),
              std::vector<std::string>{"scene.json: /effects/0/elements/1/lineWidth: parameter "
                                       "lineWidth: 500 is outside its range 0 to 100; held to 100"});
}

// The line effect example of docs/scene-format.md stays valid.
TEST_F(LineEffectDocument, DocumentedExampleLoads)
{
    std::ifstream in(fs::path(VML_DOCS_DIR) / "scene-format.md");
    ASSERT_TRUE(in) << VML_DOCS_DIR;
    const std::string doc((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::size_t section = doc.find("### The line effect");
    const std::size_t begin = doc.find("```json\n", section), end = doc.find("\n```", begin + 1);
    ASSERT_NE(section, std::string::npos);
    ASSERT_NE(end, std::string::npos);
    auto scene = load("{\"camera\": {}, " + doc.substr(begin + 8, end - begin - 8) + "}");
    auto* manager = dynamic_cast<vml::LineFxManager*>(scene->effects.at(0));
    ASSERT_NE(manager, nullptr);
    ASSERT_EQ(manager->elementCount(), 3);
    EXPECT_EQ(manager->element(1)->type(), vml::EdgeBoundary);
    EXPECT_EQ(scene->renderElements.size(), 1u);
}

struct LineEffectCommands : LineEffectDocument {
    test_support::TempDir temp;
    fs::path dir = temp.path();

    void SetUp() override
    {
        LineEffectDocument::SetUp();
        std::ofstream(dir / "scene.json") << sceneWith(
            R"([{"class": "LineFxManager", "name": "ink", "elements": [{"type": "edgeBoundary"},
                {"type": "basicSet"}, {"type": "outline"}]}])",
            R"([{"class": "LineFxRenderElement", "name": "lines"}])");
    }
};

TEST_F(LineEffectCommands, RenderWritesTheLineLayerBesideTheImage)
{
    app::RenderOptions o;
    o.scenePath = (dir / "scene.json").string();
    o.quiet = true;
    ASSERT_EQ(app::runRender(o, core), 0);
    EXPECT_TRUE(fs::exists(dir / "out/ball.png"));
    EXPECT_TRUE(fs::exists(dir / "out/ball.lines.png")) << "the layer takes the render element's name";
}

TEST_F(LineEffectCommands, InfoListsTheEffectWithItsElementTypes)
{
    ::testing::internal::CaptureStdout();
    ASSERT_EQ(app::runInfo((dir / "scene.json").string(), core), 0);
    const std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("LineFxManager  3 elements: edgeBoundary, basicSet, outline"), std::string::npos)
        << out;
    EXPECT_NE(out.find("lines"), std::string::npos) << out;
}

}  // namespace
