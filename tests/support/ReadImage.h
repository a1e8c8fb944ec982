#pragma once
// The commands' pictures read back: their stored values and the Rec. 709 luma of them.

#include <OpenImageIO/imagebuf.h>

#include <filesystem>
#include <string>
#include <vector>

namespace test_support {

struct ReadImage {
    int width = 0, height = 0;
    std::vector<float> rgb, luma;  // rows top first
    float at(int x, int y) const { return luma[static_cast<std::size_t>(y) * width + x]; }
};

// Empty when the file cannot be read.
inline ReadImage readImage(const std::filesystem::path& file)
{
    ReadImage image;
    OIIO::ImageBuf buf(file.string());
    if (!buf.read(0, 0, true, OIIO::TypeDesc::FLOAT))
        return image;
    const OIIO::ROI all = buf.roi();
    image.width = all.width(), image.height = all.height();
    image.rgb.resize(std::size_t(image.width) * image.height * 3);
    buf.get_pixels(OIIO::ROI(all.xbegin, all.xend, all.ybegin, all.yend, 0, 1, 0, 3), OIIO::TypeDesc::FLOAT,
                   image.rgb.data());
    for (std::size_t i = 0; i < image.rgb.size(); i += 3)
        image.luma.push_back(0.2126f * image.rgb[i] + 0.7152f * image.rgb[i + 1] +
                             0.0722f * image.rgb[i + 2]);
    return image;
}

// One channel of a file by its name (rows top first, as floats); empty when the file cannot be read
// or has no such channel.
inline std::vector<float> readChannel(const std::filesystem::path& file, const std::string& name)
{
    OIIO::ImageBuf buf(file.string());
    if (!buf.read(0, 0, true, OIIO::TypeDesc::FLOAT))
        return {};
    const int c = buf.nativespec().channelindex(name);
    if (c < 0)
        return {};
    const OIIO::ROI all = buf.roi();
    std::vector<float> values(std::size_t(all.width()) * all.height());
    buf.get_pixels(OIIO::ROI(all.xbegin, all.xend, all.ybegin, all.yend, 0, 1, c, c + 1),
                   OIIO::TypeDesc::FLOAT, values.data());
    return values;
}

}  // namespace test_support
