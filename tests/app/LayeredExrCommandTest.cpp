// `vermil render -o x.exr`: one file with the image, the render elements and the G-buffer as
// layers, as the separate files have them; --layers; the header; `vermil info --layers`.

#include "support/CommandTestSupport.h"
#include "support/ReadImage.h"

#include "app/InfoCommand.h"
#include "app/RenderCommand.h"

#include <OpenImageIO/imagebuf.h>
#include <OpenImageIO/imageio.h>
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>

using namespace test_support;

namespace {

namespace fs = std::filesystem;

// A lit sphere of radius 1, 6 units in front of the camera, outlined into a line element.
constexpr const char* outlinedSphere = R"({
  "render": {"width": 48, "height": 32, "output": "x.png"},
  "environment": {"background": [0, 0, 1], "backgroundAlpha": 0},
  "camera": {"position": [0, -6, 0], "target": [0, 0, 0], "fov": 40},
  "lights": [{"name": "key", "type": "omni", "position": [-3, -6, 4]}],
  "materials": [{"name": "red", "class": "Standard", "diffuse": [1, 0, 0], "gbufferId": 1}],
  "objects": [{"name": "ball", "type": "sphere", "radius": 1, "material": "red"}],
  "effects": [{"class": "LineFxManager", "lineOutRenderElement": true,
               "elements": [{"type": "outline", "lineWidth": 2, "lineColor": [0, 0, 0], "outlineMaterial": true}]}],
  "renderElements": [{"class": "LineFxRenderElement", "name": "lines"}]
})";

struct LayeredExr : CommandTest {
    void SetUp() override
    {
        CommandTest::SetUp();
        std::ofstream(dir / "scene.json") << outlinedSphere;
    }
    app::RenderOptions options(const std::string& output, std::vector<std::string> layers = {})
    {
        app::RenderOptions o;
        o.scenePath = (dir / "scene.json").string();
        o.output = (dir / output).string();
        o.layers = std::move(layers);
        o.quiet = true;
        return o;
    }
    std::string errorsOf(const app::RenderOptions& o)
    {
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(app::runRender(o, core), 1);
        return ::testing::internal::GetCapturedStderr();
    }
    static OIIO::ImageSpec headerOf(const fs::path& file)
    {
        // The file's own header, read without its pixels (a file that cannot be read gives none).
        return OIIO::ImageBuf(file.string()).nativespec();
    }
    static float maxDifference(const std::vector<float>& a, const std::vector<float>& b)
    {
        float d = a.size() == b.size() && !a.empty() ? 0.0f : 1e30f;
        for (std::size_t i = 0; i < a.size() && i < b.size(); ++i)
            d = std::max(d, std::abs(a[i] - b[i]));
        return d;
    }
};

TEST_F(LayeredExr, HoldsWhatTheSeparateFilesHoldAndTheGBuffer)
{
    ASSERT_EQ(app::runRender(options("x.exr"), core), 0);
    ASSERT_EQ(app::runRender(options("x.png"), core), 0);
    EXPECT_FALSE(fs::exists(dir / "x.lines.exr")) << "the elements are layers, not files";
    // Both read premultiplied: PNG's straight alpha is associated on reading.
    for (const char* c : {"R", "G", "B", "A"}) {
        EXPECT_LT(maxDifference(readChannel(dir / "x.exr", c), readChannel(dir / "x.png", c)), 2e-3f) << c;
        EXPECT_LT(maxDifference(readChannel(dir / "x.exr", std::string("lines.") + c),
                                readChannel(dir / "x.lines.png", c)),
                  2e-3f)
            << c;
    }
    const std::vector<float> lineAlpha = readChannel(dir / "x.exr", "lines.A");
    EXPECT_GT(*std::max_element(lineAlpha.begin(), lineAlpha.end()), 0.5f) << "the outline is drawn";
    // The sphere's nearest point faces the camera at the image centre; the corner is background.
    const std::size_t centre = 16 * 48 + 24, corner = 0;
    auto at = [&](const char* channel, std::size_t i) { return readChannel(dir / "x.exr", channel).at(i); };
    EXPECT_NEAR(at("Z", centre), 5.0f, 0.05f);
    EXPECT_FLOAT_EQ(at("Z", corner), 1e30f);
    EXPECT_NEAR(at("N.Z", centre), 1.0f, 0.01f);
    EXPECT_NEAR(at("N.X", centre), 0.0f, 0.05f);
    EXPECT_EQ(at("N.Z", corner), 0.0f);
    EXPECT_EQ(at("objectId.X", centre), 1.0f);
    EXPECT_EQ(at("objectId.X", corner), 0.0f);
    EXPECT_EQ(at("materialId.X", centre), 1.0f);
    EXPECT_GT(at("coverage.X", centre), 0.0f) << "the front triangle's share";
    EXPECT_EQ(at("coverage.X", corner), 0.0f);
    EXPECT_EQ(at("velocity.X", centre), 0.0f) << "nothing moves";
    const OIIO::ImageSpec header = headerOf(dir / "x.exr");
    EXPECT_EQ(header.channelformat(header.channelindex("R")), OIIO::TypeDesc::HALF);
    EXPECT_EQ(header.channelformat(header.channelindex("Z")), OIIO::TypeDesc::FLOAT);
    EXPECT_EQ(header.channelformat(header.channelindex("objectId.X")), OIIO::TypeDesc::FLOAT);
    EXPECT_EQ(header.get_string_attribute("compression"), "zips");
}

TEST_F(LayeredExr, LayersPicksTheLayersAndAnUnknownOneListsWhatTheSceneCanWrite)
{
    ASSERT_EQ(app::runRender(options("picked.exr", {"Z", "beauty"}), core), 0);
    EXPECT_EQ(headerOf(dir / "picked.exr").channelnames, (std::vector<std::string>{"R", "G", "B", "A", "Z"}));
    std::string err = errorsOf(options("never.exr", {"beauty", "line"}));
    EXPECT_NE(err.find("unknown layer \"line\""), std::string::npos) << err;
    EXPECT_NE(err.find("beauty, lines, Z, N, objectId, materialId, velocity, coverage"), std::string::npos)
        << err;
    err = errorsOf(options("never.png", {"beauty"}));
    EXPECT_NE(err.find("not an OpenEXR file"), std::string::npos) << err;
    EXPECT_FALSE(fs::exists(dir / "never.exr"));
    EXPECT_FALSE(fs::exists(dir / "never.png"));
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(app::runInfoLayers((dir / "scene.json").string(), core), 0);
    const std::string listed = ::testing::internal::GetCapturedStdout();
    EXPECT_NE(listed.find("lines        half   lines.R lines.G lines.B lines.A\n"), std::string::npos)
        << listed;
    EXPECT_NE(listed.find("velocity     float  velocity.X velocity.Y\n"), std::string::npos) << listed;
}

TEST_F(LayeredExr, TheHeaderHoldsTheCameraTheFrameAndTheRenderer)
{
    // Frame 3 is written while frame 4 renders.
    app::RenderOptions o = options("seq.exr");
    o.frames = {3, 4};
    ASSERT_EQ(app::runRender(o, core), 0);
    for (int frame : {3, 4}) {
        const OIIO::ImageSpec header = headerOf(dir / fmt::format("seq.{:04d}.exr", frame));
        EXPECT_EQ(header.get_int_attribute("vermil:frame", -1), frame);
        EXPECT_EQ(header.get_string_attribute("vermil:renderer"), "scanline");
        EXPECT_EQ(header.get_string_attribute("vermil:objects"), "1=ball");
        // The world origin lies 6 units in front of the camera (OpenEXR's camera looks down +z)
        // and at the centre of the image.
        float toCamera[16] = {}, toNdc[16] = {};
        ASSERT_TRUE(header.getattribute("worldToCamera", OIIO::TypeMatrix44, toCamera));
        ASSERT_TRUE(header.getattribute("worldToNDC", OIIO::TypeMatrix44, toNdc));
        EXPECT_NEAR(toCamera[12], 0.0f, 1e-5f);
        EXPECT_NEAR(toCamera[13], 0.0f, 1e-5f);
        EXPECT_NEAR(toCamera[14], 6.0f, 1e-5f);
        EXPECT_NEAR(toNdc[12] / toNdc[15], 0.5f, 1e-5f);
        EXPECT_NEAR(toNdc[13] / toNdc[15], 0.5f, 1e-5f);
        // World +x is to the right, world +z up: toward the top of the image (smaller NDC y).
        EXPECT_GT((toNdc[0] + toNdc[12]) / (toNdc[3] + toNdc[15]), 0.5f);
        EXPECT_LT((toNdc[9] + toNdc[13]) / (toNdc[11] + toNdc[15]), 0.5f);
    }
}

// In a child process: the file size limit stays for the rest of the process.
TEST_F(LayeredExr, AFailedWriteLeavesThePreviousFile)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    auto failedWriteKeepsTheFile = [&] {
        std::ofstream(dir / "x.exr") << "the previous frame";
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit small{};
        small.rlim_cur = small.rlim_max = 2000;
        ::setrlimit(RLIMIT_FSIZE, &small);
        ::testing::internal::CaptureStderr();
        const int code = app::runRender(options("x.exr"), core);
        const std::string err = ::testing::internal::GetCapturedStderr();
        return code == 1 && err.find("x.exr") != std::string::npos &&
               TempDir::readText(dir / "x.exr") == "the previous frame" &&
               std::distance(fs::directory_iterator(dir), fs::directory_iterator()) == 2;
    };
    EXPECT_EXIT(
        {
            const bool kept = failedWriteKeepsTheFile();
            fs::remove_all(dir);
            std::exit(kept ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace
