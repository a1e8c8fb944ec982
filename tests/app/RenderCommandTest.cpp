// `vermil render`: documents and model files, frame sequences, memory, --stats, and the looks of
// --paint [LOOK] --lines.

#include "support/CommandTestSupport.h"
#include "support/ReadImage.h"

#include "app/CancelOnInterrupt.h"
#include "app/PaintOptions.h"
#include "app/RenderCommand.h"
#include "host/IParamBlock2.h"
#include "host/Mtl.h"
#include "host/Notify.h"
#include "line/LineFxManager.h"
#include "material/vmlMaterial.h"
#include "material/vmlMaterialParamBlocks.h"
#include "paint/PaintBlockParams.h"
#include "standalone/SceneDocument.h"
#include "standalone/import/SceneOrModel.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <tuple>

using namespace test_support;

namespace {

namespace fs = std::filesystem;
using standalone::document::findLook;
using standalone::document::Look;

const fs::path blenderScene = fs::path(VML_FIXTURES_DIR) / "blender" / "scene.glb";

// A lit red sphere in front of the camera, small enough to render in milliseconds.
constexpr const char* sphereScene = R"({
  "render": {"width": 48, "height": 32, "output": "out/sphere.png"},
  "environment": {"background": [0, 0, 1]},
  "camera": {"position": [0, -6, 0], "target": [0, 0, 0], "fov": 40},
  "lights": [{"name": "key", "type": "omni", "position": [-3, -6, 4]}],
  "materials": [{"name": "red", "class": "Standard", "diffuse": [1, 0, 0]}],
  "objects": [{"name": "ball", "type": "sphere", "radius": 1, "material": "red"}]
})";

// Two lit spheres, one without a material.
constexpr const char* spheresScene = R"({
  "render": {"width": 48, "height": 32},
  "camera": {"position": [0, -8, 0], "target": [0, 0, 0], "fov": 40},
  "lights": [{"name": "key", "type": "omni", "position": [-3, -6, 4]}],
  "materials": [{"name": "red", "class": "Standard", "diffuse": [1, 0, 0]}],
  "objects": [{"name": "ball", "type": "sphere", "radius": 1, "position": [-1.2, 0, 0], "material": "red"},
              {"name": "bare", "type": "sphere", "radius": 1, "position": [1.2, 0, 0]}]
})";

struct RenderCommand : test_support::CommandTest {
    void SetUp() override
    {
        CommandTest::SetUp();
        std::ofstream(dir / "scene.json") << sphereScene;
        std::ofstream(dir / "spheres.json") << spheresScene;
    }
    // The sphere scene to its document's output, or `scene` to `output` in the test's folder.
    app::RenderOptions options(const fs::path& scene = {}, const std::string& output = "")
    {
        app::RenderOptions o;
        o.scenePath = scene.empty() ? (dir / "scene.json").string() : scene.string();
        if (!output.empty())
            o.output = (dir / output).string();
        o.quiet = true;
        return o;
    }
    // Runs `o` expecting `code`, and answers what the command printed on stderr.
    std::string errorsOf(const app::RenderOptions& o, int code = 1)
    {
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(app::runRender(o, core), code);
        return ::testing::internal::GetCapturedStderr();
    }
    // Renders with --stats and answers the strokes painted: 0 when none are counted, -1 on failure.
    int strokesOf(app::RenderOptions o)
    {
        o.stats = true;
        ::testing::internal::CaptureStdout();
        const int code = app::runRender(o, core);
        const std::string out = ::testing::internal::GetCapturedStdout();
        const std::size_t at = out.find("strokes: ");
        return code != 0 ? -1 : at == std::string::npos ? 0 : std::stoi(out.substr(at + 9));
    }
};

using PaintCommand = RenderCommand;

TEST_F(RenderCommand, MistakesNameWhatIsWrongAndWriteNothing)
{
    app::RenderOptions o = options();
    o.renderer = "raytracer";
    std::string err = errorsOf(o);
    for (const char* part : {"raytracer", "scanline", "vmlRenderer"})
        EXPECT_NE(err.find(part), std::string::npos) << err;
    EXPECT_FALSE(fs::exists(dir / "out/sphere.png"));
    std::ofstream(dir / "scene.json") << R"({"objects": [{"name": "b", "type": "sphere", "radius": "big"}]})";
    err = errorsOf(options());
    EXPECT_NE(err.find("scene.json: /objects/0/radius"), std::string::npos) << err;
    o = options(blenderScene, "never.png");
    o.paintLook = "wett";
    err = errorsOf(o);
    EXPECT_NE(err.find("unknown look \"wett\" (did you mean \"wet\"?)"), std::string::npos) << err;
    for (const Look& look : standalone::document::looks())
        EXPECT_NE(err.find(look.name), std::string::npos) << err;
    EXPECT_FALSE(fs::exists(o.output));
}

TEST_F(RenderCommand, FrameSequencesAreNumbered)
{
    app::RenderOptions o = options();
    o.frames = {0, 2};
    ASSERT_EQ(app::runRender(o, core), 0);
    EXPECT_TRUE(fs::exists(dir / "out/sphere.0000.png"));
    EXPECT_TRUE(fs::exists(dir / "out/sphere.0002.png"));
    EXPECT_FALSE(fs::exists(dir / "out/sphere.0001.png"));
    EXPECT_FALSE(fs::exists(dir / "out/sphere.png"));
    // A document with a frame range renders it all without being asked.
    std::string doc = sphereScene;
    doc.replace(doc.find("\"output\""), 0, "\"startFrame\": 3, \"endFrame\": 4, ");
    std::ofstream(dir / "scene.json") << doc;
    ASSERT_EQ(app::runRender(options(), core), 0);
    EXPECT_TRUE(fs::exists(dir / "out/sphere.0003.png"));
    EXPECT_TRUE(fs::exists(dir / "out/sphere.0004.png"));
}

TEST_F(RenderCommand, AFailedWriteInASequenceStopsItAndNamesTheFile)
{
    // Frame 1 is written while frame 2 renders; its failure is still the command's.
    fs::create_directories(dir / "out/sphere.0001.png");
    app::RenderOptions o = options();
    o.frames = {0, 1, 2, 3};
    const std::string err = errorsOf(o);
    EXPECT_NE(err.find("sphere.0001.png"), std::string::npos) << err;
    EXPECT_TRUE(fs::exists(dir / "out/sphere.0000.png"));
    EXPECT_FALSE(fs::exists(dir / "out/sphere.0002.png")) << "no frame is written after a failure";
    EXPECT_FALSE(fs::exists(dir / "out/sphere.0003.png"));
}

TEST_F(RenderCommand, AFrameTooBigForMemoryIsRefusedBeforeItIsAllocated)
{
    // 16384 x 16384 painted needs tens of GB: were any of it allocated, the test would not end
    // in milliseconds, or at all on a small machine.
    app::RenderOptions o = options();
    o.renderer = "vmlRenderer";
    o.width = o.height = 16384;
    o.availableMemory = 4ull << 30;
    const std::string err = errorsOf(o);
    EXPECT_NE(err.find("16384 x 16384"), std::string::npos) << err;
    EXPECT_NE(err.find("4.3 GB is available"), std::string::npos) << err;
    EXPECT_NE(err.find("--size "), std::string::npos) << err;
    EXPECT_FALSE(fs::exists(dir / "out/sphere.png"));
    // The same frame at the suggested size renders.
    const std::size_t at = err.find("--size ") + 7;
    o.width = o.height = std::min(64, std::stoi(err.substr(at)));
    EXPECT_EQ(app::runRender(o, core), 0);
}

TEST_F(RenderCommand, AFrameThatFitsOnlyOnTheMemorySavingCanvasIsPaintedOnIt)
{
    // 512 x 512 with the full canvas asked for: the light canvas needs about 14 MB less, and
    // the room given lies between the two.
    std::string doc = sphereScene;
    doc.replace(doc.find("\"output\""), 0,
                "\"renderer\": {\"class\": \"vmlRenderer\", \"saveMemoryEnable\": false}, ");
    std::ofstream(dir / "scene.json") << doc;
    app::RenderOptions o = options();
    o.width = o.height = 512;
    o.availableMemory = (150ull << 20) + (33ull << 20);
    std::string err = errorsOf(o, 0);
    EXPECT_NE(err.find("painting on the memory-saving canvas"), std::string::npos) << err;
    EXPECT_TRUE(fs::exists(dir / "out/sphere.png"));
    // With less room than even that canvas needs, the frame is refused.
    o.availableMemory = (150ull << 20) + (20ull << 20);
    err = errorsOf(o);
    EXPECT_NE(err.find("render it smaller"), std::string::npos) << err;
}

TEST_F(RenderCommand, CancelledRenderWritesNothing)
{
    core.SetCancel(TRUE);
    errorsOf(options(), 130);
    EXPECT_FALSE(fs::exists(dir / "out/sphere.png"));
}

// Ctrl-C that lands after the frame's last cancel check still ends the command unwritten. In a
// child process: the signal stays seen for the rest of the process.
TEST_F(RenderCommand, CtrlCAfterTheLastCancelCheckWritesNothing)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            app::cancelOnInterrupt(core);
            RegisterNotification([](void*, NotifyInfo*) { std::raise(SIGINT); }, nullptr,
                                 NOTIFY_POST_RENDERFRAME);
            ::testing::internal::CaptureStderr();
            const bool unwritten =
                app::runRender(options(), core) == 130 && !fs::exists(dir / "out/sphere.png");
            fs::remove_all(dir);
            std::exit(unwritten ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

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
    const std::vector<float> plain = readImage(dir / "plain.png").luma, lined = readImage(o.output).luma;
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

// Each look makes its material and paints a document's objects, those without a material too;
// --stats counts the strokes.
TEST_F(PaintCommand, EveryLookPaintsADocumentAndStatsCountItsStrokes)
{
    for (const Look& look : standalone::document::looks()) {
        app::RenderOptions o = options(dir / "spheres.json", look.name + ".png");
        o.paintLook = look.name;
        EXPECT_GT(strokesOf(o), 0) << look.name;
    }
    EXPECT_EQ(strokesOf(options()), 0) << "the scanline renderer has no strokes to count";
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

// The Blender add-on dresses each imported material on its own: a materials entry that replaces
// it may wear a look, as a wrap does.
TEST_F(PaintCommand, AMaterialEntryTakesTheLookWithItsOwnKeysOverIt)
{
    std::ofstream(dir / "look.json")
        << R"({"import": ")" + blenderScene.string() +
               R"(", "materials": [{"name": "Stone", "class": "vmlMaterial", "subMaterials": ["Stone"],
                  "look": "wet", "brushSize": 3}]})";
    auto scene = standalone::loadScene((dir / "look.json").string(), core);
    auto* ball = dynamic_cast<vml::vmlMaterial*>(scene->findNode("Ball")->GetMtl());
    ASSERT_NE(ball, nullptr);
    EXPECT_FLOAT_EQ(ball->brushBlock()->GetFloat(vml::brushParam::brushSize, 0), 3.0f);
    EXPECT_FLOAT_EQ(ball->paintBlock()->GetFloat(vml::paintParam::paintBlur, 0),
                    findLook("wet")->material["paintBlur"].get<float>());
    EXPECT_EQ(dynamic_cast<vml::vmlMaterial*>(scene->findNode("Head")->GetMtl()), nullptr) << "not dressed";

    for (const auto& [entry, pointer, reason] :
         {std::tuple{R"({"name": "m", "class": "vmlMaterial", "look": "wett"})", "/materials/0/look",
                     "unknown look \"wett\""},
          std::tuple{R"({"name": "m", "class": "Standard", "look": "wet"})", "/materials/0/look",
                     "a look dresses a vmlMaterial, not a Standard"}}) {
        std::ofstream(dir / "bad.json") << std::string(R"({"materials": [)") + entry + "]}";
        try {
            standalone::loadScene((dir / "bad.json").string(), core);
            ADD_FAILURE() << entry;
        } catch (const standalone::SceneError& e) {
            EXPECT_EQ(e.jsonPath(), pointer);
            EXPECT_NE(e.reason().find(reason), std::string::npos) << e.reason();
        }
    }
}

TEST_F(PaintCommand, LinesAreAddedOnceAndReachUnmarkedMaterials)
{
    auto scene = standalone::loadScene((dir / "spheres.json").string(), core);
    app::addLines(*scene, core, dir);
    app::addLines(*scene, core, dir);
    ASSERT_EQ(scene->effects.size(), 1u);
    EXPECT_NE(dynamic_cast<vml::LineFxManager*>(scene->effects[0]), nullptr);
    EXPECT_EQ(scene->findNode("ball")->GetMtl()->GetGBufferID(), 1u);
}

}  // namespace
