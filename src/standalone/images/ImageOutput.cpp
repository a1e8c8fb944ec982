#include "standalone/images/ImageOutput.h"

#include "standalone/FileExtension.h"
#include "standalone/ShadingThreads.h"
#include "standalone/images/ImageModule.h"
#include "standalone/images/ImageOutputPng.h"

#include <fmt/format.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace standalone {

namespace fs = std::filesystem;

namespace {

int compressionLevel(int compression) { return compression < 0 ? 1 : std::min(compression, 9); }

}  // namespace

bool writingNeedsImageModule(const std::string& path, int compression)
{
    return !(lowerExtension(path) == ".png" && compressionLevel(compression) <= 3);
}

ImageSnapshot snapshotImage(const Bitmap& bitmap, const std::string& path, int compression)
{
    ImageSnapshot image;
    image.path = path;
    image.compression = compression;
    if (!bitmap.HasStorage())
        return image;
    const int w = bitmap.Width(), h = bitmap.Height();
    image.width = w, image.height = h;
    image.pixels.resize(static_cast<std::size_t>(w) * h * 4);
    constexpr int bandRows = 16;
    ShadingThreads().forEach(0, (h + bandRows - 1) / bandRows, [&](int band) {
        for (int y = band * bandRows; y < std::min(h, (band + 1) * bandRows); ++y)
            std::memcpy(&image.pixels[static_cast<std::size_t>(y) * w * 4], bitmap.Row(y),
                        static_cast<std::size_t>(w) * sizeof(BMM_Color_64));
    });
    return image;
}

namespace {

ImageWriteResult writePixels(const std::string& path, int compression, int width, int height,
                             const std::uint16_t* pixels)
{
    fs::path target(path);
    // Same directory, so the final rename cannot cross file systems; same extension, so the
    // writer picks the same format.
    fs::path temp = target.parent_path() / ("." + target.stem().string() + ".tmp" +
                                            std::to_string(::getpid()) + target.extension().string());

    const std::string ext = lowerExtension(target);
    const int level = compressionLevel(compression);
    auto replaceTarget = [&]() -> ImageWriteResult {
        std::error_code ec;
        fs::rename(temp, target, ec);
        if (ec) {
            std::error_code ignored;
            fs::remove(temp, ignored);
            return {false, path + ": cannot replace the file (" + ec.message() + ")"};
        }
        return {true, {}};
    };
    // The fast levels are deflate-bound: our encoder spreads that over the cores. The slow ones
    // keep the library's row filtering, which pays there.
    if (!writingNeedsImageModule(path, compression)) {
        std::string error;
        if (!writePng16(temp.string(), width, height, pixels, true, level, error)) {
            std::error_code ignored;
            fs::remove(temp, ignored);
            return {false, path + ": write failed (" + error + ")"};
        }
        return replaceTarget();
    }

    std::string error;
    const ImageCodecs* codecs = imageCodecs(error);
    if (!codecs)
        return {false, path + ": " + error};
    // EXR holds floats; every other format gets the 16-bit pixels (8-bit ones are converted).
    const bool floatFile = ext == ".exr";
    ImageEncoding image;
    image.path = temp.string();
    image.width = width, image.height = height;
    image.channelNames = {"R", "G", "B", "A"};
    image.channelFormats = {floatFile ? StoredAs::float32 : StoredAs::uint16};
    image.alphaChannel = 3;
    image.pixels = pixels;
    if (ext == ".png")
        image.attributes.push_back(ImageAttribute::integerValue("png:compressionLevel", level));
    else if (floatFile)
        image.attributes.push_back(ImageAttribute::textValue(
            "compression", level == 0 ? std::string("none") : "zip:" + std::to_string(level)));
    if (!codecs->encode(image, nullptr, error)) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        return {false, path + ": " + error};
    }
    return replaceTarget();
}

}  // namespace

ImageWriteResult writeImage(const Bitmap& bitmap, const std::string& path, int compression)
{
    if (!bitmap.HasStorage())
        return {false, path + ": nothing to write (the image is empty)"};
    // Straight from the bitmap's rows, which are one block: a still costs no copy of the frame.
    static_assert(sizeof(BMM_Color_64) == 4 * sizeof(std::uint16_t));
    return writePixels(path, compression, bitmap.Width(), bitmap.Height(),
                       reinterpret_cast<const std::uint16_t*>(bitmap.Row(0)));
}

ImageWriteResult writeSnapshot(const ImageSnapshot& image)
{
    if (image.pixels.empty())
        return {false, image.path + ": nothing to write (the image is empty)"};
    return writePixels(image.path, image.compression, image.width, image.height, image.pixels.data());
}

std::string numberedPath(const std::string& path, int frame)
{
    const fs::path p(path);
    return (p.parent_path() / fmt::format("{}.{:04d}{}", p.stem().string(), frame, p.extension().string()))
        .string();
}

std::string encodePng(const Bitmap& bitmap)
{
    if (!bitmap.HasStorage())
        return {};
    // Shown at once, so the fastest level; the bitmap's rows are one block.
    return encodePng8(bitmap.Width(), bitmap.Height(), reinterpret_cast<const std::uint16_t*>(bitmap.Row(0)),
                      true, 1);
}

}  // namespace standalone
