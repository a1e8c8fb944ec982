// The painterly renderer's pass lists in scene documents, and what info and --stats say of them.

#include "support/CommandTestSupport.h"

#include "app/InfoCommand.h"
#include "app/RenderCommand.h"
#include "host/INode.h"
#include "host/IParamBlock2.h"
#include "renderer/MultipassNodeTable.h"
#include "renderer/vmlRenderer.h"
#include "renderer/vmlRendererParamBlocks.h"
#include "standalone/SceneDocument.h"

#include <fstream>
#include <string>

using namespace test_support;

namespace {

// The painterly renderer with `settings` over a ground, a group of two hills and two heroes.
std::string sceneWith(const std::string& settings)
{
    return R"({
      "render": {"width": 48, "height": 32, "output": "out.png", "renderer": {"class": "vmlRenderer", )" +
           settings + R"(}},
      "camera": {"position": [0, -8, 1], "target": [0, 0, 0.5]},
      "objects": [
        {"name": "ground", "type": "plane", "width": 8, "length": 8},
        {"name": "hills", "type": "group"},
        {"name": "hillA", "parent": "hills", "type": "sphere", "radius": 0.5, "position": [-1, 2, 0.5]},
        {"name": "hillB", "parent": "hills", "type": "sphere", "radius": 0.5, "position": [1, 2, 0.5]},
        {"name": "hero1", "type": "box", "position": [-0.5, -1, 0]},
        {"name": "hero2", "type": "box", "position": [0.8, -1, 0]}
      ]
    })";
}

using MultipassDocument = test_support::CommandTest;

TEST_F(MultipassDocument, PassesListNamesAndPatternsTurnMultipassOnAndShowInInfoAndStats)
{
    const std::string text = sceneWith(R"("passes": {"1": ["hills"], "3": ["hero*"]})");
    auto scene = standalone::parseScene(text, "scene.json", core);
    auto* renderer = dynamic_cast<vml::vmlRenderer*>(scene->renderer);
    ASSERT_NE(renderer, nullptr);
    IParamBlock2& block = *renderer->paramBlock();
    EXPECT_TRUE(block.GetInt(vml::rendererMultipassEnable));
    ASSERT_EQ(vml::multipassNodesUnder(block, 0).size(), 1u);
    EXPECT_STREQ(vml::multipassNodesUnder(block, 0)[0]->GetName(), "hills");
    EXPECT_EQ(vml::multipassNodesUnder(block, 2).size(), 2u);
    std::ofstream(dir / "scene.json") << text;
    ::testing::internal::CaptureStdout();
    ASSERT_EQ(app::runInfo((dir / "scene.json").string(), core), 0);
    const std::string info = ::testing::internal::GetCapturedStdout();
    EXPECT_NE(info.find("pass 0 (objects no pass lists): ground\n"), std::string::npos) << info;
    EXPECT_NE(info.find("pass 1: hillA, hillB\n"), std::string::npos) << info;
    EXPECT_NE(info.find("pass 3: hero1, hero2\n"), std::string::npos) << info;
    app::RenderOptions o;
    o.scenePath = (dir / "scene.json").string();
    o.quiet = true;
    o.stats = true;
    ::testing::internal::CaptureStdout();
    ASSERT_EQ(app::runRender(o, core), 0);
    const std::string stats = ::testing::internal::GetCapturedStdout();
    EXPECT_NE(stats.find("passes: 3\n"), std::string::npos) << stats;
    EXPECT_NE(stats.find("strokes_pass_3: "), std::string::npos) << stats;
}

TEST_F(MultipassDocument, BadPassListsNameWhatIsWrong)
{
    const struct {
        const char* renderer;
        const char* says;
    } cases[] = {
        {R"("passes": {"1": ["hils"]})",
         "/render/renderer/passes/1/0: the scene has no object named \"hils\""},
        {R"("passes": {"2": ["tree*"]})", "no object of the scene matches \"tree*\""},
        {R"("passes": {"10": ["ground"]})", "the passes are \"1\" to \"9\""},
        {R"("passes": {"1": ["hillA"]})", "\"hillA\" is inside a group; list the group"},
        {R"("passes": {"1": ["hero1"], "2": ["hero*"]})", "\"hero1\" is already in another pass"},
        {R"("passes": ["hero1"])", "expected {\"1\": [object names or patterns]"},
        {R"("multipassNode": ["nobody"])", "nobody"},
    };
    for (const auto& c : cases) {
        try {
            standalone::parseScene(sceneWith(c.renderer), "scene.json", core);
            ADD_FAILURE() << "loaded: " << c.renderer;
        } catch (const standalone::SceneError& e) {
            EXPECT_NE(std::string(e.what()).find(c.says), std::string::npos) << c.renderer << "\n"
                                                                             << e.what();
        }
    }
}

}  // namespace
