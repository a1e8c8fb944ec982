#include "standalone/images/ImageModule.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <exception>
#include <fstream>

namespace {

namespace fs = std::filesystem;

// The file of a shared library every program has, which is not an image module.
fs::path someOtherLibrary()
{
    Dl_info info{};
    if (!::dladdr(reinterpret_cast<void*>(&std::terminate), &info) || !info.dli_fname)
        return {};
    return info.dli_fname;
}

TEST(ImageModule, LoadsTheFirstUsableCandidateAndSaysWhyEachOtherFailed)
{
    test_support::TempDir temp;
    const fs::path missing = temp.path() / "missing.so";
    const fs::path notALibrary = temp.path() / "text.so";
    std::ofstream(notALibrary) << "not a library";
    const fs::path other = someOtherLibrary();
    ASSERT_FALSE(other.empty());

    const standalone::LoadedImageModule none = standalone::loadImageModule({missing, notALibrary, other});
    EXPECT_EQ(none.codecs, nullptr);
    EXPECT_NE(none.error.find("cannot load the image module vermil-images.so"), std::string::npos)
        << none.error;
    EXPECT_NE(none.error.find(notALibrary.string() + ": "), std::string::npos) << none.error;
    EXPECT_NE(none.error.find(other.string() + ": not an image module of this program"), std::string::npos)
        << none.error;

    const standalone::LoadedImageModule nowhere = standalone::loadImageModule({missing});
    EXPECT_EQ(nowhere.codecs, nullptr);
    EXPECT_NE(nowhere.error.find("it is in none of " + missing.string()), std::string::npos) << nowhere.error;

    // The program's own candidates end with the module this build made.
    const std::vector<fs::path> candidates = standalone::imageModuleCandidates();
    ASSERT_FALSE(candidates.empty());
    std::vector<fs::path> tried{missing, notALibrary, other};
    tried.insert(tried.end(), candidates.begin(), candidates.end());
    const standalone::LoadedImageModule loaded = standalone::loadImageModule(tried);
    ASSERT_NE(loaded.codecs, nullptr) << loaded.error;
    std::string error;
    EXPECT_EQ(standalone::imageCodecs(error), loaded.codecs) << error;
}

TEST(ImageModule, CodecsRoundTripAFileAndRefuseOversizedImagesBeforeReadingThem)
{
    std::string error;
    const standalone::ImageCodecs* codecs = standalone::imageCodecs(error);
    ASSERT_NE(codecs, nullptr) << error;
    test_support::TempDir temp;
    const fs::path file = temp.path() / "grey.tif";

    // Two channels, grey and alpha, 3 x 2: every value distinct.
    std::vector<std::uint16_t> pixels{0,    65535, 1000, 60000, 2000, 50000,
                                      3000, 40000, 4000, 30000, 5000, 20000};
    standalone::ImageEncoding image;
    image.path = file.string();
    image.width = 3, image.height = 2;
    image.channelNames = {"Y", "A"};
    image.channelFormats = {standalone::StoredAs::uint16};
    image.alphaChannel = 1;
    image.pixels = pixels.data();
    ASSERT_TRUE(codecs->encode(image, nullptr, error)) << error;

    standalone::DecodedPixels decoded;
    ASSERT_TRUE(codecs->decode({.path = file.string()}, {6, 2}, decoded, error)) << error;
    EXPECT_EQ(decoded.width, 3);
    EXPECT_EQ(decoded.height, 2);
    EXPECT_EQ(decoded.channels, 2);
    EXPECT_EQ(decoded.alphaChannel, 1);
    ASSERT_EQ(decoded.values.size(), pixels.size());
    for (std::size_t i = 0; i < pixels.size(); ++i)
        EXPECT_NEAR(decoded.values[i], pixels[i] / 65535.0f, 1e-6f) << i;

    // One pixel or one channel over the limits: refused, with the size in the message.
    EXPECT_FALSE(codecs->decode({.path = file.string()}, {5, 2}, decoded, error));
    EXPECT_EQ(error, "image is too large (3 x 2 x 2)");
    EXPECT_FALSE(codecs->decode({.path = file.string()}, {6, 1}, decoded, error));

    // In memory, rows given as floats; the name picks the format.
    std::vector<unsigned char> bytes;
    image.path = "memory.exr";
    image.pixels = nullptr;
    image.channelFormats = {standalone::StoredAs::float32, standalone::StoredAs::half};
    image.row = [](int y, float* values) {
        for (int i = 0; i < 6; ++i)
            values[i] = static_cast<float>(y * 6 + i) * 0.125f;
    };
    ASSERT_TRUE(codecs->encode(image, &bytes, error)) << error;
    ASSERT_TRUE(codecs->decode({.path = "memory.exr", .data = bytes.data(), .size = bytes.size()}, {6, 2},
                               decoded, error))
        << error;
    ASSERT_EQ(decoded.values.size(), 12u);
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(decoded.values[static_cast<std::size_t>(i)], static_cast<float>(i) * 0.125f) << i;

    EXPECT_FALSE(
        codecs->decode({.path = "bytes.png", .data = "not an image", .size = 12}, {6, 2}, decoded, error));
    EXPECT_FALSE(error.empty());
}

}  // namespace
