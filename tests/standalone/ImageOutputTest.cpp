#include "standalone/images/ImageOutput.h"
#include "standalone/images/FrameWriter.h"
#include "standalone/images/ImageOutputPng.h"
#include "support/TempDir.h"

#include <OpenImageIO/filesystem.h>
#include <OpenImageIO/imageio.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <utility>

namespace {

namespace fs = std::filesystem;

struct ImageFiles : ::testing::Test {
    test_support::TempDir temp;
    fs::path dir = temp.path();
    static std::string contents(const fs::path& p) { return test_support::TempDir::readText(p); }
};

TEST_F(ImageFiles, EveryCompressionLevelKeepsThePixels)
{
    // A gradient with noise, so the levels compress differently, tall enough that the fast PNG
    // encoder cuts it into several bands, and partly transparent, so PNG un-premultiplies.
    constexpr int w = 64, h = 150;
    Bitmap bm(w, h);
    std::uint32_t seed = 7;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            seed = seed * 1664525u + 1013904223u;
            const auto a = static_cast<std::uint16_t>(y < 100 ? 65535 : (y - 100) * 1300 + (seed >> 28));
            auto under = [&](unsigned v) {
                return static_cast<std::uint16_t>(std::min<unsigned>(v % 65536u, a));
            };
            BMM_Color_64 p{under(x * 1000 + (seed >> 20)), under(y * 2000), under(seed >> 16), a};
            bm.PutPixels(x, y, 1, &p);
        }
    auto pixels = [](const std::string& path) {
        auto in = OIIO::ImageInput::open(path);
        std::vector<float> px(w * h * 4);
        if (!in || !in->read_image(0, 0, 0, 4, OIIO::TypeDesc::FLOAT, px.data()))
            px.clear();
        return px;
    };
    // PNG stores straight alpha, truncated as c * 65535 / a.
    {
        const std::string path = (dir / "straight.png").string();
        ASSERT_TRUE(standalone::writeImage(bm, path).ok);
        OIIO::ImageSpec asStored;
        asStored.attribute("oiio:UnassociatedAlpha", 1);
        auto in = OIIO::ImageInput::open(path, &asStored);
        ASSERT_TRUE(in);
        std::vector<std::uint16_t> px(w * h * 4);
        ASSERT_TRUE(in->read_image(0, 0, 0, 4, OIIO::TypeDesc::UINT16, px.data()));
        for (int y : {0, 101, 149}) {
            BMM_Color_64 src;
            bm.GetPixels(5, y, 1, &src);
            const std::uint16_t* got = &px[(y * w + 5) * 4];
            const unsigned expected = src.a ? src.r * 65535u / src.a : src.r;
            EXPECT_EQ(got[0], expected) << "row " << y;
            EXPECT_EQ(got[3], src.a) << "row " << y;
        }
    }
    std::vector<std::uintmax_t> sizes;
    for (const char* ext : {".png", ".exr"}) {
        std::vector<float> first;
        for (int level : {standalone::kDefaultCompression, 0, 9}) {
            const std::string path = (dir / ("out" + std::to_string(level) + ext)).string();
            ASSERT_TRUE(standalone::writeImage(bm, path, level).ok) << path;
            const std::vector<float> read = pixels(path);
            ASSERT_FALSE(read.empty()) << path;
            if (first.empty())
                first = read;
            EXPECT_EQ(read, first) << path << ": compression must not change a pixel";
            sizes.push_back(fs::file_size(path));
        }
    }
    EXPECT_GT(sizes[1], sizes[2]) << "PNG level 0 stores, level 9 compresses";
    EXPECT_GT(sizes[4], sizes[5]) << "EXR without compression is larger";
}

TEST_F(ImageFiles, PngEncoderKeepsEveryValueAtAnyShape)
{
    // One row is a single band that both opens and closes the stream; 300 rows take several
    // waves of bands; odd widths leave no padding to hide behind.
    for (auto [w, h] : {std::pair{1, 1}, std::pair{3, 1}, std::pair{7, 300}}) {
        std::vector<std::uint16_t> px(static_cast<std::size_t>(w) * h * 4);
        std::uint32_t seed = 11;
        for (std::uint16_t& v : px) {
            seed = seed * 1664525u + 1013904223u;
            v = static_cast<std::uint16_t>(seed >> 16);
        }
        for (bool premultiplied : {false, true}) {
            const std::string path = (dir / "direct.png").string();
            std::string error;
            ASSERT_TRUE(standalone::writePng16(path, w, h, px.data(), premultiplied, 1, error)) << error;
            OIIO::ImageSpec asStored;
            asStored.attribute("oiio:UnassociatedAlpha", 1);
            auto in = OIIO::ImageInput::open(path, &asStored);
            ASSERT_TRUE(in) << w << "x" << h;
            std::vector<std::uint16_t> got(px.size());
            ASSERT_TRUE(in->read_image(0, 0, 0, 4, OIIO::TypeDesc::UINT16, got.data())) << w << "x" << h;
            for (std::size_t i = 0; i < px.size(); ++i) {
                const bool colour = i % 4 != 3;
                const std::uint16_t expected =
                    premultiplied && colour ? standalone::straightAlpha(px[i], px[i - i % 4 + 3]) : px[i];
                ASSERT_EQ(got[i], expected) << w << "x" << h << " value " << i;
            }
            // The preview encoding: the same values in memory, each rounded to 8 bits.
            const std::string bytes = standalone::encodePng8(w, h, px.data(), premultiplied, 1);
            ASSERT_FALSE(bytes.empty());
            OIIO::Filesystem::IOMemReader memory(bytes.data(), bytes.size());
            OIIO::Filesystem::IOProxy* proxy = &memory;
            OIIO::ImageSpec fromMemory =
                asStored;  // with a configuration, the reader takes the proxy from it
            fromMemory.attribute("oiio:ioproxy", OIIO::TypeDesc::PTR, &proxy);
            auto preview = OIIO::ImageInput::open("preview.png", &fromMemory);
            ASSERT_TRUE(preview) << w << "x" << h << ": " << OIIO::geterror();
            // The header's bit depth: after the 8-byte signature, IHDR's length, type, width and height.
            EXPECT_EQ(static_cast<unsigned char>(bytes[24]), 8u);
            std::vector<std::uint8_t> shown(px.size());
            ASSERT_TRUE(preview->read_image(0, 0, 0, 4, OIIO::TypeDesc::UINT8, shown.data()));
            for (std::size_t i = 0; i < px.size(); ++i)
                ASSERT_EQ(shown[i], std::lround(got[i] * 255.0 / 65535.0)) << w << "x" << h << " value " << i;
        }
    }
    EXPECT_TRUE(standalone::encodePng8(0, 1, nullptr, false, 1).empty());
    std::string error;
    const std::uint16_t one[4] = {1, 2, 3, 4};
    EXPECT_FALSE(standalone::writePng16((dir / "no/such/dir.png").string(), 1, 1, one, false, 1, error));
    EXPECT_FALSE(error.empty());
}

TEST(ImageOutput, OnlyPngAtTheFastLevelsIsWrittenWithoutTheImageModule)
{
    using standalone::writingNeedsImageModule;
    EXPECT_FALSE(writingNeedsImageModule("a/b.png"));
    EXPECT_FALSE(writingNeedsImageModule("B.PNG", 0));
    EXPECT_FALSE(writingNeedsImageModule("b.png", 3));
    EXPECT_TRUE(writingNeedsImageModule("b.png", 4));
    for (const char* path : {"b.exr", "b.tif", "b.jpg", "b", "b.png.exr"})
        EXPECT_TRUE(writingNeedsImageModule(path)) << path;
}

TEST_F(ImageFiles, ExrHoldsFloats)
{
    Bitmap bm(2, 1);
    BMM_Color_64 row[2] = {{65535, 32768, 0, 65535}, {0, 0, 0, 0}};
    bm.PutPixels(0, 0, 2, row);
    std::string path = (dir / "out.exr").string();
    ASSERT_TRUE(standalone::writeImage(bm, path).ok);
    auto in = OIIO::ImageInput::open(path);
    ASSERT_TRUE(in);
    EXPECT_EQ(in->spec_dimensions(0).format, OIIO::TypeDesc::FLOAT);
    float px[8] = {};
    ASSERT_TRUE(in->read_image(0, 0, 0, 4, OIIO::TypeDesc::FLOAT, px));
    EXPECT_FLOAT_EQ(px[0], 1.0f);
    EXPECT_NEAR(px[1], 32768.0f / 65535.0f, 1e-6f);
    EXPECT_FLOAT_EQ(px[3], 1.0f);
    EXPECT_FLOAT_EQ(px[7], 0.0f);
}

TEST_F(ImageFiles, FailedWritesLeaveThePreviousFileIntact)
{
    fs::path target = dir / "keep.png";
    Bitmap good(2, 2);
    ASSERT_TRUE(standalone::writeImage(good, target.string()).ok);
    std::string before = contents(target);
    auto empty = standalone::writeImage(Bitmap(), target.string());
    EXPECT_FALSE(empty.ok);
    EXPECT_NE(empty.error.find("keep.png"), std::string::npos) << empty.error;
    EXPECT_EQ(contents(target), before);
    auto unknown = standalone::writeImage(good, (dir / "image.notaformat").string());
    EXPECT_FALSE(unknown.ok);
    EXPECT_NE(unknown.error.find("image.notaformat"), std::string::npos);
    auto missingDir = standalone::writeImage(good, (dir / "no" / "such" / "dir.png").string());
    EXPECT_FALSE(missingDir.ok);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

TEST_F(ImageFiles, FrameWriterWritesInTheBackgroundAndNamesTheFileThatFailed)
{
    Bitmap bm(40, 30);
    standalone::FrameWriter writer;
    EXPECT_TRUE(writer.wait().ok) << "an idle writer has nothing to report";
    writer.start({standalone::snapshotImage(bm, (dir / "a.png").string()),
                  standalone::snapshotImage(bm, (dir / "a.extra.exr").string())});
    // The snapshot is the writer's own: the bitmap can change meanwhile.
    bm.Allocate(2, 2);
    standalone::FrameWriteResult done = writer.wait();
    EXPECT_TRUE(done.ok) << done.error;
    EXPECT_EQ(done.written.size(), 2u);
    EXPECT_FALSE(writer.busy());
    auto in = OIIO::ImageInput::open((dir / "a.png").string());
    ASSERT_TRUE(in);
    EXPECT_EQ(in->spec_dimensions(0).width, 40);
    // A directory in the way of the first file: the frame stops there.
    fs::create_directories(dir / "b.png");
    writer.start({standalone::snapshotImage(bm, (dir / "b.png").string()),
                  standalone::snapshotImage(bm, (dir / "c.png").string())});
    done = writer.wait();
    EXPECT_FALSE(done.ok);
    EXPECT_NE(done.error.find("b.png"), std::string::npos) << done.error;
    EXPECT_TRUE(done.written.empty());
    EXPECT_FALSE(fs::exists(dir / "c.png"));
}

}  // namespace
