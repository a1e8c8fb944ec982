#include "support/CommandTestSupport.h"

#include "app/HostSetup.h"
#include "app/RenderCommand.h"
#include "standalone/StandaloneCore.h"

#include <OpenImageIO/imageio.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace test_support;

namespace {

namespace fs = std::filesystem;

// A lit red sphere in front of the camera, small enough to render in milliseconds.
constexpr const char* sphereScene = R"({
  "render": {"width": 48, "height": 32, "output": "out/sphere.png"},
  "environment": {"background": [0, 0, 1]},
  "camera": {"position": [0, -6, 0], "target": [0, 0, 0], "fov": 40},
  "lights": [{"name": "key", "type": "omni", "position": [-3, -6, 4]}],
  "materials": [{"name": "red", "class": "Standard", "diffuse": [1, 0, 0]}],
  "objects": [{"name": "ball", "type": "sphere", "radius": 1, "material": "red"}]
})";

struct RenderCommand : test_support::CommandTest {
    void SetUp() override
    {
        CommandTest::SetUp();
        std::ofstream(dir / "scene.json") << sphereScene;
    }
    app::RenderOptions options()
    {
        app::RenderOptions o;
        o.scenePath = (dir / "scene.json").string();
        o.quiet = true;
        return o;
    }
};

TEST_F(RenderCommand, WritesTheImageWhereTheDocumentSaysAtTheRequestedSize)
{
    ASSERT_EQ(app::runRender(options(), core), 0);
    auto in = OIIO::ImageInput::open((dir / "out/sphere.png").string());
    ASSERT_TRUE(in);
    EXPECT_EQ(in->spec_dimensions(0).width, 48);

    app::RenderOptions o = options();
    o.output = (dir / "other.exr").string();
    o.width = 20, o.height = 10;
    ASSERT_EQ(app::runRender(o, core), 0);
    in = OIIO::ImageInput::open(o.output);
    ASSERT_TRUE(in);
    EXPECT_EQ(in->spec_dimensions(0).width, 20);
    EXPECT_EQ(in->spec_dimensions(0).height, 10);
    // Centre pixel: the sphere (red), corner: the blue background.
    std::vector<float> px(20 * 10 * 4);
    ASSERT_TRUE(in->read_image(0, 0, 0, 4, OIIO::TypeDesc::FLOAT, px.data()));
    const float* centre = &px[(5 * 20 + 10) * 4];
    EXPECT_GT(centre[0], 0.2f);
    EXPECT_LT(centre[2], 0.05f);
    EXPECT_FLOAT_EQ(px[2], 1.0f);
}

TEST_F(RenderCommand, MistakesNameWhatIsWrongAndWriteNothing)
{
    app::RenderOptions o = options();
    o.renderer = "raytracer";
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(app::runRender(o, core), 1);
    std::string err = ::testing::internal::GetCapturedStderr();
    for (const char* part : {"raytracer", "scanline", "vmlRenderer"})
        EXPECT_NE(err.find(part), std::string::npos) << err;
    EXPECT_FALSE(fs::exists(dir / "out/sphere.png"));

    std::ofstream(dir / "scene.json") << R"({"objects": [{"name": "b", "type": "sphere", "radius": "big"}]})";
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(app::runRender(options(), core), 1);
    err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("scene.json: /objects/0/radius"), std::string::npos) << err;
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
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(app::runRender(o, core), 1);
    const std::string err = ::testing::internal::GetCapturedStderr();
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
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(app::runRender(o, core), 1);
    const std::string err = ::testing::internal::GetCapturedStderr();
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
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(app::runRender(o, core), 0);
    std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("painting on the memory-saving canvas"), std::string::npos) << err;
    EXPECT_TRUE(fs::exists(dir / "out/sphere.png"));

    // With less room than even that canvas needs, the frame is refused.
    o.availableMemory = (150ull << 20) + (20ull << 20);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(app::runRender(o, core), 1);
    err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("render it smaller"), std::string::npos) << err;
}

TEST_F(RenderCommand, StatsCountThePainterlyRenderersStrokes)
{
    // The sphere under a painterly material, rendered by the painterly renderer.
    std::string doc = sphereScene;
    doc.replace(doc.find("{\"name\": \"red\""), 0,
                "{\"name\": \"painted\", \"class\": \"vmlMaterial\", \"subMaterials\": [\"red\"]}, ");
    doc.replace(doc.find("\"material\": \"red\""), std::string("\"material\": \"red\"").size(),
                "\"material\": \"painted\"");
    std::ofstream(dir / "scene.json") << doc;
    app::RenderOptions o = options();
    o.renderer = "vmlRenderer";
    o.stats = true;
    ::testing::internal::CaptureStdout();
    ASSERT_EQ(app::runRender(o, core), 0);
    const std::string out = ::testing::internal::GetCapturedStdout();
    const std::size_t at = out.find("strokes: ");
    ASSERT_NE(at, std::string::npos) << out;
    EXPECT_GT(std::stoi(out.substr(at + 9)), 10) << out;

    // The scanline renderer has no strokes to count.
    o.renderer = "scanline";
    ::testing::internal::CaptureStdout();
    ASSERT_EQ(app::runRender(o, core), 0);
    EXPECT_EQ(::testing::internal::GetCapturedStdout().find("strokes:"), std::string::npos);
}

TEST_F(RenderCommand, CancelledRenderWritesNothing)
{
    core.SetCancel(TRUE);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(app::runRender(options(), core), 130);
    ::testing::internal::GetCapturedStderr();
    EXPECT_FALSE(fs::exists(dir / "out/sphere.png"));
}

}  // namespace
