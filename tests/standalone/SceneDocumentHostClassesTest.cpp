#include "support/DocumentTestClasses.h"
#include "support/ParamByName.h"

#include "host/Interface.h"
#include "host/StdMat2.h"
#include "standalone/HostClasses.h"
#include "standalone/SceneDocument.h"
#include "standalone/maps/BitmapMap.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

using namespace standalone;
using namespace test_support;

namespace {

// The host's own classes through the same generic mechanism as plug-ins.
class SceneDocumentHostClasses : public ::testing::Test {
protected:
    void SetUp() override
    {
        core.setQuietMode(true);
        SetCOREInterface(&core);
        registerHostClasses(core);
    }
    void TearDown() override { SetCOREInterface(nullptr); }

    std::string document(const std::string& bitmapFile)
    {
        return R"({
          "camera": {"position": [0, -5, 2], "target": [0, 0, 0]},
          "materials": [{"name": "paper", "class": "Standard", "diffuse": [0.9, 0.85, 0.7], "glossiness": 40,
                         "diffuseMap": "checks", "bumpMap": {"class": "Noise", "size": 0.5}}],
          "maps": [{"name": "checks", "class": "Checker", "color1": [0.2, 0.1, 0], "map2": "photo"},
                   {"name": "photo", "class": "Bitmap", "fileName": ")" +
               bitmapFile + R"("}],
          "objects": [{"name": "sheet", "type": "plane", "material": "paper"}]
        })";
    }

    StandaloneCore core;
    TempDir dir;
};

// The complete example of docs/scene-format.md stays a valid document.
TEST_F(SceneDocumentHostClasses, DocumentedExampleLoads)
{
    std::ifstream in(std::filesystem::path(VML_DOCS_DIR) / "scene-format.md");
    ASSERT_TRUE(in) << VML_DOCS_DIR;
    const std::string doc((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::size_t begin = doc.find("```jsonc\n"), end = doc.find("\n```", begin + 1);
    ASSERT_NE(begin, std::string::npos);
    ASSERT_NE(end, std::string::npos);
    writePng(dir.path() / "textures/linen.png", 2, 1, {255, 0, 0, 0, 0, 255});
    auto scene = loadScene(dir.write("still_life.json", doc.substr(begin + 9, end - begin - 9)), core);
    EXPECT_EQ(scene->render.output, (dir.path() / "renders/still_life.png").string());
    EXPECT_EQ(scene->camera, scene->findNode("camera"));
    EXPECT_EQ(scene->findNode("cup")->GetParentNode(), scene->findNode("saucer"));
    EXPECT_EQ(scene->findNode("teapot")->GetMtl()->GetName(), "glaze");
    EXPECT_EQ(scene->findNode("teapot")->GetMtl()->GetGBufferID(), 2u);
    int lights = 0;
    for (const auto& node : scene->nodes())
        lights += node->light.has_value();
    EXPECT_EQ(lights, 3);
}

}  // namespace
