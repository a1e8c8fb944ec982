#include "standalone/ImageOutput.h"

#include "standalone/ImageOutputPng.h"
#include "standalone/ShadingThreads.h"

#include <OpenImageIO/filesystem.h>
#include <OpenImageIO/imageio.h>
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

std::string lowerExtension(const fs::path& path)
{
    std::string ext = path.extension().string();
    for (char& ch : ext)
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return ext;
}

}  // namespace

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
    const int level = compression < 0 ? 1 : std::min(compression, 9);
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
    if (ext == ".png" && level <= 3) {
        std::string error;
        if (!writePng16(temp.string(), width, height, pixels, true, level, error)) {
            std::error_code ignored;
            fs::remove(temp, ignored);
            return {false, path + ": write failed (" + error + ")"};
        }
        return replaceTarget();
    }

    auto out = OIIO::ImageOutput::create(temp.string());
    if (!out)
        return {false, path + ": unsupported image format (" + OIIO::geterror() + ")"};

    // EXR holds floats; every other format gets the 16-bit pixels (8-bit ones are converted).
    const bool floatFile = ext == ".exr";
    OIIO::ImageSpec format(width, height, 4, floatFile ? OIIO::TypeDesc::FLOAT : OIIO::TypeDesc::UINT16);
    format.alpha_channel = 3;
    if (ext == ".png") {
        format.attribute("png:compressionLevel", level);
    } else if (floatFile) {
        format.attribute("compression", level == 0 ? std::string("none") : "zip:" + std::to_string(level));
    }
    if (!out->open(temp.string(), format))
        return {false, path + ": cannot open for writing (" + out->geterror() + ")"};

    bool written = out->write_image(OIIO::TypeDesc::UINT16, pixels);
    std::string writeError = written ? std::string() : out->geterror();
    bool closed = out->close();
    if (!written || !closed) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        return {false, path + ": write failed (" + (writeError.empty() ? out->geterror() : writeError) + ")"};
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
    const int w = bitmap.Width(), h = bitmap.Height();
    std::vector<unsigned char> bytes;
    OIIO::Filesystem::IOVecOutput proxy(bytes);
    auto out = OIIO::ImageOutput::create("preview.png", &proxy);
    if (!out)
        return {};
    OIIO::ImageSpec format(w, h, 4, OIIO::TypeDesc::UINT8);
    format.alpha_channel = 3;
    if (!out->open("preview.png", format))
        return {};
    std::vector<BMM_Color_64> pixels(static_cast<std::size_t>(w) * h);
    for (int y = 0; y < h; ++y)
        bitmap.GetPixels(0, y, w, &pixels[static_cast<std::size_t>(y) * w]);
    const bool written = out->write_image(OIIO::TypeDesc::UINT16, pixels.data());
    if (!out->close() || !written)
        return {};
    return std::string(bytes.begin(), bytes.end());
}

}  // namespace standalone
