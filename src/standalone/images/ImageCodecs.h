#pragma once
// Image files read and written through OpenImageIO, which lives in a module of its own that is
// loaded on first use. The library and the 260 libraries it pulls in take 0.4 s to load, more
// than many commands take to run, and most renders need none of it: PNG output has its own
// encoder. Only standard types cross the module's edge, so it links nothing of ours.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace standalone {

// Where an image to decode comes from: a file, or bytes in memory.
struct ImageSource {
    std::string path;  // the file; with data set, a name whose extension picks the reader first
    const void* data = nullptr;
    std::size_t size = 0;
};

// Images past these are refused before their pixels are read, so a corrupt header cannot
// exhaust memory.
struct DecodeLimits {
    long long maxPixels = 0;
    int maxChannels = 0;
};

// A decoded image: `channels` floats per pixel, rows from the top, as the file stores them.
struct DecodedPixels {
    int width = 0, height = 0, channels = 0;
    int alphaChannel = -1;  // the channel the file names as alpha; -1 when it names none
    std::vector<float> values;
};

// How an encoded channel is stored.
enum class StoredAs { uint8, uint16, half, float32 };

// A header attribute of an image being encoded.
struct ImageAttribute {
    enum class Kind { text, integer, matrix44, rational };
    Kind kind = Kind::text;
    std::string name;
    std::string text;
    int integer = 0;
    std::array<float, 16> matrix{};
    std::array<int, 2> rational{};

    static ImageAttribute textValue(std::string name, std::string text)
    {
        ImageAttribute a;
        a.name = std::move(name), a.text = std::move(text);
        return a;
    }
    static ImageAttribute integerValue(std::string name, int value)
    {
        ImageAttribute a;
        a.kind = Kind::integer, a.name = std::move(name), a.integer = value;
        return a;
    }
    // Row by row.
    static ImageAttribute matrixValue(std::string name, const float* matrix)
    {
        ImageAttribute a;
        a.kind = Kind::matrix44, a.name = std::move(name);
        std::copy_n(matrix, a.matrix.size(), a.matrix.begin());
        return a;
    }
    static ImageAttribute rationalValue(std::string name, int numerator, int denominator)
    {
        ImageAttribute a;
        a.kind = Kind::rational, a.name = std::move(name), a.rational = {numerator, denominator};
        return a;
    }
};

// An image to encode. The pixels come either as 16-bit values (every channel of every pixel,
// rows packed) or, when `pixels` is null, row by row as floats from `row`.
struct ImageEncoding {
    std::string path;  // the file to write; with memory output, a name whose extension picks the format
    int width = 0, height = 0;
    std::vector<std::string> channelNames;
    std::vector<StoredAs> channelFormats;  // one per channel, or a single one for all
    int alphaChannel = -1, zChannel = -1;
    std::vector<ImageAttribute> attributes;
    const std::uint16_t* pixels = nullptr;
    std::function<void(int y, float* values)> row;
};

class ImageCodecs {
public:
    // False with `error` saying why (without naming the image: callers do).
    virtual bool decode(const ImageSource& source, const DecodeLimits& limits, DecodedPixels& image,
                        std::string& error) const = 0;
    // Into the file, or into `memory` when it is given. On failure the file may be partly written
    // (callers write to a temporary one).
    virtual bool encode(const ImageEncoding& image, std::vector<unsigned char>* memory,
                        std::string& error) const = 0;

protected:
    ~ImageCodecs() = default;
};

// The module's entry point: the codecs when `interfaceVersion` is the one it was built with.
// Bump the version whenever anything above changes.
inline constexpr int kImageCodecsVersion = 1;
using ImageCodecsEntry = const ImageCodecs* (*)(int interfaceVersion);
inline constexpr const char* kImageCodecsEntryName = "vermilImageCodecs";

}  // namespace standalone
