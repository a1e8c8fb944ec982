#include "standalone/maps/BitmapMap.h"

#include "standalone/StandaloneCore.h"
#include "support/ParamByName.h"
#include "support/TempDir.h"
#include "support/TestShadeContext.h"

#include <OpenImageIO/imageio.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <vector>

using namespace test_support;

namespace {

namespace fs = std::filesystem;
using standalone::BitmapMap;

constexpr float kTol = 1e-5f;

// Writes 8-bit pixels, row 0 at the top.
void writePng(const fs::path& path, int w, int h, int channels, const std::vector<std::uint8_t>& pixels)
{
    auto out = OIIO::ImageOutput::create(path.string());
    ASSERT_TRUE(out);
    OIIO::ImageSpec format(w, h, channels, OIIO::TypeDesc::UINT8);
    ASSERT_TRUE(out->open(path.string(), format)) << out->geterror();
    ASSERT_TRUE(out->write_image(OIIO::TypeDesc::UINT8, pixels.data()));
    ASSERT_TRUE(out->close());
}

AColor at(BitmapMap& map, float u, float v)
{
    TestShadeContext sc;
    sc.uvw = Point3(u, v, 0);
    return map.EvalColor(sc);
}

// A 3 x 2 RGB image:  top row     A B C
//                     bottom row  D E F
// with red = 10 * (1 + texel index) / 255, green = 255 - that, blue = 0.
class BitmapFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = dir.path() / "grid.png";
        std::vector<std::uint8_t> px;
        for (int i = 0; i < 6; ++i)
            px.insert(px.end(), {std::uint8_t(10 * (i + 1)), std::uint8_t(255 - 10 * (i + 1)), 0});
        writePng(path, 3, 2, 3, px);
        setParam(map, "fileName", path.string());
    }
    static float red(int texel) { return 10.0f * (texel + 1) / 255.0f; }

    TempDir dir;
    fs::path path;
    BitmapMap map;
};

TEST_F(BitmapFile, TexelCentresReadExactly)
{
    std::string error;
    ASSERT_TRUE(map.load(error)) << error;
    // Texel (x, y) has its centre at u = (x + 0.5) / 3, v = 1 - (y + 0.5) / 2.
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) {
            const AColor c = at(map, (x + 0.5f) / 3.0f, 1.0f - (y + 0.5f) / 2.0f);
            const int i = y * 3 + x;
            expectColor(c, Color(red(i), 1.0f - red(i), 0.0f));
            EXPECT_EQ(c.a, 1.0f) << "no alpha channel reads opaque";
        }
}

TEST_F(BitmapFile, BilinearBetweenTexelsAndAcrossTheSeam)
{
    ASSERT_TRUE(map.LoadMapFiles(0)) << map.loadError();
    EXPECT_NEAR(at(map, 1.0f / 3.0f, 0.75f).r, (red(0) + red(1)) / 2, kTol);  // between A and B
    EXPECT_NEAR(at(map, 1.0f / 6.0f, 0.5f).r, (red(0) + red(3)) / 2, kTol);   // between A and D
    EXPECT_NEAR(at(map, 1.0f / 3.0f, 0.5f).r, (red(0) + red(1) + red(3) + red(4)) / 4, kTol);
    EXPECT_NEAR(at(map, 0.0f, 0.75f).r, (red(0) + red(2)) / 2, kTol);  // wraps from A to C
    EXPECT_NEAR(at(map, 1.0f, 0.75f).r, (red(0) + red(2)) / 2, kTol);
    expectColor(at(map, 1.0f / 6.0f + 1.0f, 0.75f - 2.0f), Color(red(0), 1.0f - red(0), 0.0f));  // repeats
    setParam(map, "filter", 0);
    EXPECT_NEAR(at(map, 1.0f / 3.0f - 0.01f, 0.7f).r, red(0), kTol) << "nearest texel without filtering";
    EXPECT_NEAR(at(map, 1.0f / 3.0f + 0.01f, 0.7f).r, red(1), kTol);
}

TEST_F(BitmapFile, CloneSharesTheImageAndANewFileNameDropsIt)
{
    std::string error;
    ASSERT_TRUE(map.load(error));
    std::unique_ptr<ReferenceTarget> copy(map.Clone());
    auto* clone = dynamic_cast<BitmapMap*>(copy.get());
    ASSERT_NE(clone, nullptr);
    EXPECT_TRUE(clone->loaded());
    expectColor(at(*clone, 0.5f, 0.25f), Color(red(4), 1.0f - red(4), 0.0f));
    setParam(map, "fileName", (dir.path() / "other.png").string());
    EXPECT_FALSE(map.loaded());
    expectColor(at(map, 0.5f, 0.25f), Color(0.5f, 0.5f, 0.5f));
}

TEST(BitmapMap, GreyAndAlphaChannels)
{
    TempDir dir;
    const fs::path path = dir.path() / "grey_alpha.png";
    writePng(path, 2, 1, 2, {51, 255, 204, 102});  // grey + alpha
    BitmapMap map;
    setParam(map, "fileName", path.string());
    std::string error;
    ASSERT_TRUE(map.load(error)) << error;
    const AColor left = at(map, 0.25f, 0.5f);
    expectColor(left, Color(0.2f, 0.2f, 0.2f));
    EXPECT_NEAR(left.a, 1.0f, kTol);
    EXPECT_NEAR(at(map, 0.75f, 0.5f).a, 0.4f, kTol);
}

TEST(BitmapMap, UnreadableFilesAreClearErrorsAndEvaluateGrey)
{
    BitmapMap map;
    map.SetName("wood");
    std::string error;
    EXPECT_FALSE(map.load(error));
    EXPECT_NE(error.find("wood"), std::string::npos) << error;
    EXPECT_NE(error.find("file name"), std::string::npos) << error;
    TempDir dir;
    const std::string missing = (dir.path() / "does_not_exist.png").string();
    setParam(map, "fileName", missing);
    EXPECT_FALSE(map.load(error));
    EXPECT_NE(error.find(missing), std::string::npos) << error;
    standalone::StandaloneCore core;
    core.setQuietMode(true);
    SetCOREInterface(&core);
    EXPECT_FALSE(map.LoadMapFiles(0));
    SetCOREInterface(nullptr);
    EXPECT_NE(map.loadError().find(missing), std::string::npos);
    ASSERT_EQ(core.messages().size(), 1u);
    EXPECT_EQ(core.messages()[0].text, map.loadError());
    expectColor(at(map, 0.3f, 0.3f), Color(0.5f, 0.5f, 0.5f));
    TestShadeContext sc;
    EXPECT_EQ(map.EvalNormalPerturb(sc), Point3());
    const std::string garbage = dir.write("garbage.png", "\x89PNG\r\n\x1a\n this is not really an image");
    setParam(map, "fileName", garbage);
    EXPECT_FALSE(map.load(error));
    EXPECT_NE(error.find(garbage), std::string::npos) << error;
}

TEST_F(BitmapFile, BrokenImageDataInMemoryIsAClearError)
{
    // (Data cut short inside a PNG is left out: OpenImageIO 2.4 leaks a message string then.)
    const std::string png = TempDir::readText(path);
    const std::string badChunk = png.substr(0, 8) + " this is not really an image";
    const std::string noise(300, '\x5a');
    BitmapMap embedded;
    embedded.SetName("logo");
    std::string error;
    for (const std::string* data : {&png, &badChunk, &noise}) {
        const std::size_t size = data == &png ? 0 : data->size();
        EXPECT_FALSE(embedded.loadFromMemory(data->data(), size, "png", "embedded texture 3", error)) << size;
        EXPECT_NE(error.find("\"logo\": cannot read image embedded texture 3"), std::string::npos) << error;
    }
    EXPECT_FALSE(embedded.loadFromMemory(nullptr, 10, "png", "nothing", error));
    expectColor(at(embedded, 0.5f, 0.5f), Color(0.5f, 0.5f, 0.5f));
}

TEST(BitmapMap, DecodedTexelsAreTakenAsGiven)
{
    BitmapMap map;
    std::string error;
    ASSERT_TRUE(map.setImage(2, 1, {AColor(1, 0, 0, 1), AColor(0, 0, 1, 0.5f)}, error)) << error;
    expectColor(at(map, 0.25f, 0.5f), Color(1, 0, 0));
    EXPECT_NEAR(at(map, 0.75f, 0.5f).a, 0.5f, kTol);
    EXPECT_FALSE(map.setImage(2, 2, {AColor(1, 0, 0, 1)}, error)) << "too few texels";
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(map.setImage(0, 1, {}, error));
    EXPECT_FALSE(map.loaded());
}

}  // namespace
