// `vermil render --paint [LOOK] --lines` on model files and documents, and the looks it wears.

#include "support/CommandTestSupport.h"

#include "app/PaintOptions.h"
#include "app/RenderCommand.h"
#include "host/IParamBlock2.h"
#include "host/Mtl.h"
#include "line/LineFxManager.h"
#include "material/vmlMaterial.h"
#include "material/vmlMaterialParamBlocks.h"
#include "paint/PaintBlockParams.h"
#include "standalone/SceneDocument.h"
#include "standalone/StandaloneCore.h"
#include "standalone/import/SceneOrModel.h"

#include <OpenImageIO/imageio.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace test_support;

namespace {

namespace fs = std::filesystem;
using standalone::document::findLook;
using standalone::document::Look;

const fs::path blenderScene = fs::path(VML_FIXTURES_DIR) / "blender" / "scene.glb";

// A lit sphere with a material and one without, in front of the camera.
constexpr const char* spheresScene = R"({
  "render": {"width": 48, "height": 32},
  "camera": {"position": [0, -8, 0], "target": [0, 0, 0], "fov": 40},
  "lights": [{"name": "key", "type": "omni", "position": [-3, -6, 4]}],
  "materials": [{"name": "red", "class": "Standard", "diffuse": [1, 0, 0]}],
  "objects": [{"name": "ball", "type": "sphere", "radius": 1, "position": [-1.2, 0, 0], "material": "red"},
              {"name": "bare", "type": "sphere", "radius": 1, "position": [1.2, 0, 0]}]
})";

struct PaintCommand : test_support::CommandTest {
    app::RenderOptions options(const fs::path& scene, const std::string& output)
    {
        app::RenderOptions o;
        o.scenePath = scene.string();
        o.output = (dir / output).string();
        o.quiet = true;
        return o;
    }
    // Renders with --stats and answers the strokes painted, -1 on failure.
    int strokesOf(app::RenderOptions o)
    {
        o.stats = true;
        ::testing::internal::CaptureStdout();
        const int code = app::runRender(o, core);
        const std::string out = ::testing::internal::GetCapturedStdout();
        const std::size_t at = out.find("strokes: ");
        return code == 0 && at != std::string::npos ? std::stoi(out.substr(at + 9)) : -1;
    }
    static std::vector<float> luma(const std::string& file)
    {
        auto in = OIIO::ImageInput::open(file);
        if (!in)
            return {};
        const OIIO::ImageSpec& spec = in->spec();
        std::vector<float> rgb(std::size_t(spec.width) * spec.height * 3);
        in->read_image(0, 0, 0, 3, OIIO::TypeDesc::FLOAT, rgb.data());
        std::vector<float> y;
        for (std::size_t i = 0; i < rgb.size(); i += 3)
            y.push_back(0.2126f * rgb[i] + 0.7152f * rgb[i + 1] + 0.0722f * rgb[i + 2]);
        return y;
    }
};

// The same painting with and without lines differs only where lines darken it.
TEST_F(PaintCommand, PaintsAModelAndDrawsItsOutlines)
{
    app::RenderOptions o = options(blenderScene, "plain.png");
    o.width = 160, o.height = 90;
    o.paintLook = app::kDefaultPaintLook;
    EXPECT_GT(strokesOf(o), 100);
    o.output = (dir / "lines.png").string();
    o.lines = true;
    EXPECT_GT(strokesOf(o), 100);

    const std::vector<float> plain = luma((dir / "plain.png").string());
    const std::vector<float> lined = luma(o.output);
    ASSERT_EQ(plain.size(), 160u * 90u);
    ASSERT_EQ(lined.size(), plain.size());
    int darker = 0, lighter = 0;
    for (std::size_t i = 0; i < plain.size(); ++i) {
        darker += lined[i] < plain[i] - 0.1f;
        lighter += lined[i] > plain[i] + 0.1f;
    }
    EXPECT_GT(darker, int(plain.size() / 50)) << "outlines drawn";
    EXPECT_LT(lighter, darker / 10);
}

TEST_F(PaintCommand, ModelMaterialsSharedBeforeShareOneWrapper)
{
    auto scene = standalone::sceneFromModel(blenderScene.string(), core);
    app::paintScene(*scene, core, *findLook("wet"), true, dir);
    Mtl* stone = scene->findNode("Pillar")->GetMtl();
    EXPECT_EQ(scene->findNode("Ball")->GetMtl(), stone);
    EXPECT_NE(scene->findNode("Head")->GetMtl(), stone);
    auto* painterly = dynamic_cast<vml::vmlMaterial*>(stone);
    ASSERT_NE(painterly, nullptr);
    ASSERT_NE(painterly->baseMaterial(), nullptr);
    EXPECT_EQ(painterly->baseMaterial()->GetName(), "Stone");
}

// Each look makes its material and paints a document's objects, those without a material too.
TEST_F(PaintCommand, EveryLookPaintsADocument)
{
    std::ofstream(dir / "spheres.json") << spheresScene;
    for (const Look& look : standalone::document::looks()) {
        app::RenderOptions o = options(dir / "spheres.json", look.name + ".png");
        o.paintLook = look.name;
        EXPECT_GT(strokesOf(o), 0) << look.name;
    }
    auto scene = standalone::loadScene((dir / "spheres.json").string(), core);
    app::paintScene(*scene, core, *findLook("dry"), false, dir);
    auto* bare = dynamic_cast<vml::vmlMaterial*>(scene->findNode("bare")->GetMtl());
    ASSERT_NE(bare, nullptr);
    EXPECT_NE(bare->baseMaterial(), nullptr) << "the material's own default base";
}

TEST_F(PaintCommand, ADocumentWrapTakesTheLookWithItsOwnKeysOverIt)
{
    std::ofstream(dir / "wrap.json")
        << R"({"import": ")" + blenderScene.string() +
               R"(", "assign": [{"objects": ["*"], "wrap": {"look": "wet", "brushSize": 3}}]})";
    auto scene = standalone::loadScene((dir / "wrap.json").string(), core);
    auto* head = dynamic_cast<vml::vmlMaterial*>(scene->findNode("Head")->GetMtl());
    ASSERT_NE(head, nullptr);
    EXPECT_FLOAT_EQ(head->brushBlock()->GetFloat(vml::brushParam::brushSize, 0), 3.0f);
    EXPECT_FLOAT_EQ(head->paintBlock()->GetFloat(vml::paintParam::paintBlur, 0),
                    findLook("wet")->material["paintBlur"].get<float>());
}

TEST_F(PaintCommand, LinesAreAddedOnceAndReachUnmarkedMaterials)
{
    std::ofstream(dir / "spheres.json") << spheresScene;
    auto scene = standalone::loadScene((dir / "spheres.json").string(), core);
    app::addLines(*scene, core, dir);
    app::addLines(*scene, core, dir);
    ASSERT_EQ(scene->effects.size(), 1u);
    EXPECT_NE(dynamic_cast<vml::LineFxManager*>(scene->effects[0]), nullptr);
    EXPECT_EQ(scene->findNode("ball")->GetMtl()->GetGBufferID(), 1u);
}

TEST_F(PaintCommand, UnknownLookListsTheLooks)
{
    app::RenderOptions o = options(blenderScene, "never.png");
    o.paintLook = "wett";
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(app::runRender(o, core), 1);
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("unknown look \"wett\" (did you mean \"wet\"?)"), std::string::npos) << err;
    for (const Look& look : standalone::document::looks())
        EXPECT_NE(err.find(look.name), std::string::npos) << err;
    EXPECT_FALSE(fs::exists(o.output));
}

}  // namespace
