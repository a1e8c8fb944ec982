// Scenes made and exported by Blender (tests/fixtures/blender, see its README) render about as
// bright as Blender's own render of the same files, without self-shadowing specks, and stay under
// the document's control.

#include "support/CommandTestSupport.h"
#include "support/ReadImage.h"

#include "app/RenderCommand.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <numeric>

using namespace test_support;

namespace {

namespace fs = std::filesystem;

const fs::path kFixtures = fs::path(VML_FIXTURES_DIR) / "blender";
constexpr int kWidth = 320, kHeight = 180;  // the reference renders' size

double meanLuma(const ReadImage& image)
{
    return std::accumulate(image.luma.begin(), image.luma.end(), 0.0) / (double(image.width) * image.height);
}

// Pixels with a channel at the top of an 8-bit range.
double clippedFraction(const ReadImage& image)
{
    std::size_t clipped = 0;
    for (std::size_t i = 0; i < image.rgb.size(); i += 3)
        clipped += std::max({image.rgb[i], image.rgb[i + 1], image.rgb[i + 2]}) >= 254.0f / 255.0f ? 1 : 0;
    return double(clipped) / (double(image.width) * image.height);
}

// Of the pixels in lit regions (the median of their 5x5 neighbourhood is above 0.15), the share
// that are more than 40 % darker than that median: self-shadowing specks.
double speckFraction(const ReadImage& image)
{
    std::size_t lit = 0, specks = 0;
    std::array<float, 25> around;
    for (int y = 2; y < image.height - 2; ++y)
        for (int x = 2; x < image.width - 2; ++x) {
            for (int i = 0; i < 25; ++i)
                around[i] = image.at(x + i % 5 - 2, y + i / 5 - 2);
            std::nth_element(around.begin(), around.begin() + 12, around.end());
            const float median = around[12];
            if (median <= 0.15f)
                continue;
            ++lit;
            specks += image.at(x, y) < 0.6f * median ? 1 : 0;
        }
    return lit ? double(specks) / double(lit) : 0.0;
}

class BlenderFixture : public test_support::CommandTest {
protected:
    // Renders a model file or a document at the reference size; an empty image on failure.
    ReadImage render(const fs::path& scene, const std::string& name)
    {
        app::RenderOptions options;
        options.scenePath = scene.string();
        options.output = (dir / (name + ".png")).string();
        options.width = kWidth, options.height = kHeight;
        options.quiet = true;
        if (app::runRender(options, core) != 0) {
            ADD_FAILURE() << "render of " << scene << " failed";
            return {};
        }
        return readImage(options.output);
    }
};

class BlenderBrightness : public BlenderFixture, public ::testing::WithParamInterface<const char*> {};

TEST_P(BlenderBrightness, WithinAQuarterOfBlendersOwnRenderAndRarelyClipped)
{
    const std::string model = GetParam();
    const ReadImage reference = readImage(kFixtures / (model + ".reference.png"));
    const ReadImage ours = render(kFixtures / model, "ours");
    ASSERT_EQ(ours.width, kWidth);
    const double want = meanLuma(reference), got = meanLuma(ours);
    std::printf("%s: mean luminance %.3f (Blender %.3f), clipped %.4f (Blender %.4f)\n", model.c_str(), got,
                want, clippedFraction(ours), clippedFraction(reference));
    EXPECT_NEAR(got, want, 0.25 * want) << model << ": mean luminance " << got << ", Blender's " << want;
    EXPECT_LE(clippedFraction(ours), 0.05) << model;
}

INSTANTIATE_TEST_SUITE_P(Exports, BlenderBrightness, ::testing::Values("scene.glb", "scene.fbx"),
                         [](const auto& info) { return std::string(info.param).substr(6); });

// The FBX file is in centimetres, and its points lie a thousand units from the camera: the
// automatic bias leaves lit surfaces clean, where a fixed bias too small for that distance
// speckles them (the measure sees the difference).
TEST_F(BlenderFixture, CentimetreSceneHasNoSelfShadowingSpecks)
{
    const ReadImage clean = render(kFixtures / "scene.fbx", "clean");
    std::printf("specks: %.5f of the lit pixels\n", speckFraction(clean));
    EXPECT_LT(speckFraction(clean), 0.005);
    std::ofstream(dir / "specked.json") << R"({"import": ")" << (kFixtures / "scene.fbx").string()
                                        << R"(", "overrides": [{"node": "*", "shadowBias": 0.0001}]})";
    const ReadImage specked = render(dir / "specked.json", "specked");
    EXPECT_GT(speckFraction(specked), 0.005) << "the measure finds the specks a too small bias makes";
}

}  // namespace
