#include "standalone/ImageOutput.h"

#include <OpenImageIO/filesystem.h>
#include <OpenImageIO/imageio.h>
#include <fmt/format.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace standalone {

namespace fs = std::filesystem;

ImageWriteResult writeImage(const Bitmap& bitmap, const std::string& path, int compression)
{
    if (!bitmap.HasStorage())
        return {false, path + ": nothing to write (the image is empty)"};

    fs::path target(path);
    // Same directory, so the final rename cannot cross file systems; same extension, so the
    // writer picks the same format.
    fs::path temp = target.parent_path() / ("." + target.stem().string() + ".tmp" +
                                            std::to_string(::getpid()) + target.extension().string());

    auto out = OIIO::ImageOutput::create(temp.string());
    if (!out)
        return {false, path + ": unsupported image format (" + OIIO::geterror() + ")"};

    const int w = bitmap.Width(), h = bitmap.Height();
    // EXR holds floats; every other format gets the 16-bit pixels (8-bit ones are converted).
    std::string ext = target.extension().string();
    for (char& ch : ext)
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    const bool floatFile = ext == ".exr";
    OIIO::ImageSpec format(w, h, 4, floatFile ? OIIO::TypeDesc::FLOAT : OIIO::TypeDesc::UINT16);
    format.alpha_channel = 3;
    const int level = compression < 0 ? 1 : std::min(compression, 9);
    if (ext == ".png") {
        format.attribute("png:compressionLevel", level);
        // Filtering rows pays only at the slow levels; at the fast ones it costs time and size.
        if (level <= 3)
            format.attribute("png:filter", 8);  // none
    } else if (floatFile) {
        format.attribute("compression", level == 0 ? std::string("none") : "zip:" + std::to_string(level));
    }
    if (!out->open(temp.string(), format))
        return {false, path + ": cannot open for writing (" + out->geterror() + ")"};

    std::vector<BMM_Color_64> pixels(static_cast<std::size_t>(w) * h);
    for (int y = 0; y < h; ++y)
        bitmap.GetPixels(0, y, w, &pixels[static_cast<std::size_t>(y) * w]);
    bool written = out->write_image(OIIO::TypeDesc::UINT16, pixels.data());
    std::string writeError = written ? std::string() : out->geterror();
    bool closed = out->close();
    if (!written || !closed) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        return {false, path + ": write failed (" + (writeError.empty() ? out->geterror() : writeError) + ")"};
    }

    std::error_code ec;
    fs::rename(temp, target, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        return {false, path + ": cannot replace the file (" + ec.message() + ")"};
    }
    return {true, {}};
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
