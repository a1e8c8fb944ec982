// The image module: ImageCodecs over OpenImageIO. Built as a loadable module, never linked.

#include "standalone/images/ImageCodecs.h"

#include <OpenImageIO/filesystem.h>
#include <OpenImageIO/imageio.h>

#include <exception>
#include <memory>

namespace standalone {

namespace {

OIIO::TypeDesc typeOf(StoredAs stored)
{
    switch (stored) {
    case StoredAs::uint8: return OIIO::TypeDesc::UINT8;
    case StoredAs::uint16: return OIIO::TypeDesc::UINT16;
    case StoredAs::half: return OIIO::TypeDesc::HALF;
    case StoredAs::float32: return OIIO::TypeDesc::FLOAT;
    }
    return OIIO::TypeDesc::FLOAT;
}

std::string orUnknown(std::string reason, const char* otherwise)
{
    return reason.empty() ? std::string(otherwise) : reason;
}

bool readPixels(OIIO::ImageInput* in, const DecodeLimits& limits, DecodedPixels& image, std::string& error)
{
    if (!in) {
        error = orUnknown(OIIO::geterror(), "unreadable or unsupported");
        return false;
    }
    const OIIO::ImageSpec header = in->spec_dimensions(0);
    const long long w = header.width, h = header.height, nch = header.nchannels;
    if (w <= 0 || h <= 0 || nch <= 0 || header.deep) {
        error = "expected a flat image with at least one pixel and channel";
        return false;
    }
    if (w * h > limits.maxPixels || nch > limits.maxChannels) {
        error = "image is too large (" + std::to_string(w) + " x " + std::to_string(h) + " x " +
                std::to_string(nch) + ")";
        return false;
    }
    image.values.assign(static_cast<std::size_t>(w * h * nch), 0.0f);
    if (!in->read_image(0, 0, 0, static_cast<int>(nch), OIIO::TypeDesc::FLOAT, image.values.data())) {
        error = orUnknown(in->geterror(), "the pixels cannot be read");
        return false;
    }
    in->close();
    image.width = static_cast<int>(w);
    image.height = static_cast<int>(h);
    image.channels = static_cast<int>(nch);
    image.alphaChannel = header.alpha_channel >= 0 && header.alpha_channel < nch ? header.alpha_channel : -1;
    return true;
}

void describe(const ImageEncoding& image, OIIO::ImageSpec& format)
{
    const auto n = image.channelNames.size();
    format.nchannels = static_cast<int>(n);
    format.channelnames = image.channelNames;
    format.channelformats.clear();
    if (image.channelFormats.size() == n && n > 1)
        for (StoredAs stored : image.channelFormats)
            format.channelformats.push_back(typeOf(stored));
    format.alpha_channel = image.alphaChannel;
    format.z_channel = image.zChannel;
    for (const ImageAttribute& a : image.attributes) {
        switch (a.kind) {
        case ImageAttribute::Kind::text: format.attribute(a.name, a.text); break;
        case ImageAttribute::Kind::integer: format.attribute(a.name, a.integer); break;
        case ImageAttribute::Kind::matrix44:
            format.attribute(a.name, OIIO::TypeMatrix44, a.matrix.data());
            break;
        case ImageAttribute::Kind::rational:
            format.attribute(a.name, OIIO::TypeRational, a.rational.data());
            break;
        }
    }
}

bool writePixels(OIIO::ImageOutput& out, const ImageEncoding& image, std::string& error)
{
    bool written = true;
    if (image.pixels) {
        written = out.write_image(OIIO::TypeDesc::UINT16, image.pixels);
    } else {
        std::vector<float> row(static_cast<std::size_t>(image.width) * image.channelNames.size());
        for (int y = 0; y < image.height && written; ++y) {
            image.row(y, row.data());
            written = out.write_scanline(y, 0, OIIO::TypeDesc::FLOAT, row.data());
        }
    }
    const std::string writeError = written ? std::string() : out.geterror();
    const bool closed = out.close();
    if (written && closed)
        return true;
    error = orUnknown(writeError.empty() ? out.geterror() : writeError, "unknown error");
    return false;
}

class OiioCodecs final : public ImageCodecs {
public:
    bool decode(const ImageSource& source, const DecodeLimits& limits, DecodedPixels& image,
                std::string& error) const override
    {
        try {
            if (!source.data)
                return readPixels(OIIO::ImageInput::open(source.path).get(), limits, image, error);
            // The reader is picked by the name's extension; the others are tried after it.
            OIIO::Filesystem::IOMemReader proxy(source.data, source.size);
            return readPixels(OIIO::ImageInput::open(source.path, nullptr, &proxy).get(), limits, image,
                              error);
        } catch (const std::exception& e) {
            error = e.what();
            return false;
        }
    }

    bool encode(const ImageEncoding& image, std::vector<unsigned char>* memory,
                std::string& error) const override
    {
        try {
            if (image.channelNames.empty() || image.channelFormats.empty() || (!image.pixels && !image.row)) {
                error = "nothing to encode";
                return false;
            }
            std::unique_ptr<OIIO::Filesystem::IOVecOutput> proxy;
            if (memory)
                proxy = std::make_unique<OIIO::Filesystem::IOVecOutput>(*memory);
            auto out = OIIO::ImageOutput::create(image.path, proxy.get());
            if (!out || (proxy && !out->supports("ioproxy"))) {
                error = "unsupported image format (" + orUnknown(OIIO::geterror(), "no writer for it") + ")";
                return false;
            }
            OIIO::ImageSpec format(image.width, image.height, static_cast<int>(image.channelNames.size()),
                                   typeOf(image.channelFormats.front()));
            describe(image, format);
            if (!out->open(image.path, format)) {
                error = "cannot open for writing (" + orUnknown(out->geterror(), "unknown error") + ")";
                return false;
            }
            if (!writePixels(*out, image, error)) {
                error = "write failed (" + error + ")";
                return false;
            }
            return true;
        } catch (const std::exception& e) {
            error = e.what();
            return false;
        }
    }
};

}  // namespace

}  // namespace standalone

extern "C" __attribute__((visibility("default"))) const standalone::ImageCodecs*
vermilImageCodecs(int interfaceVersion)
{
    static const standalone::OiioCodecs codecs;
    return interfaceVersion == standalone::kImageCodecsVersion ? &codecs : nullptr;
}
