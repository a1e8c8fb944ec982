#include "standalone/images/LayeredExr.h"

#include "host/FileReplace.h"
#include "host/GBufferChannels.h"
#include "host/NormalCompression.h"
#include "standalone/images/ImageModule.h"

#include <fmt/format.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace standalone {

namespace {

int slotOf(ULONG bit)
{
    for (int slot = 0; slot < BMM_CHAN_COUNT; ++slot)
        if (bit == (1u << slot))
            return slot;
    return -1;
}

std::vector<std::uint16_t> copyRgba(const Bitmap& bm)
{
    static_assert(sizeof(BMM_Color_64) == 4 * sizeof(std::uint16_t));
    const std::size_t n = static_cast<std::size_t>(bm.Width()) * bm.Height() * 4;
    const auto* first = reinterpret_cast<const std::uint16_t*>(bm.Row(0));
    return std::vector<std::uint16_t>(first, first + n);
}

// Reads one row of the snapshot's layers into interleaved floats, converting the host's G-buffer
// values to what compositors read.
class RowReader {
public:
    explicit RowReader(const LayeredExrSnapshot& s) : s_(s)
    {
        z_ = channel<float>(BMM_CHAN_Z);
        mtlId_ = channel<std::uint8_t>(BMM_CHAN_MTL_ID);
        renderId_ = channel<std::uint16_t>(BMM_CHAN_NODE_RENDER_ID);
        normal_ = channel<DWORD>(BMM_CHAN_NORMAL);
        coverage_ = channel<std::uint8_t>(BMM_CHAN_COVERAGE);
        velocity_ = channel<Point2>(BMM_CHAN_VELOC);
    }

    // The row's channels of every pixel, interleaved, into out.
    void read(int y, float* out) const
    {
        for (int x = 0; x < s_.width; ++x) {
            const std::size_t i = static_cast<std::size_t>(y) * s_.width + x;
            for (std::size_t l = 0; l < s_.layers.size(); ++l)
                out = pixel(l, i, out);
        }
    }

private:
    template <class T> const T* channel(ULONG bit) const
    {
        const std::vector<std::byte>& bytes = s_.gbuffer[static_cast<std::size_t>(slotOf(bit))];
        return bytes.empty() ? nullptr : reinterpret_cast<const T*>(bytes.data());
    }

    bool background(std::size_t i) const
    {
        return renderId_ ? renderId_[i] == BMM_BACKGROUND_NODE_RENDER_ID : true;
    }

    float* pixel(std::size_t l, std::size_t i, float* out) const
    {
        const ExrLayer& layer = s_.layers[l];
        switch (layer.kind) {
        case ExrLayerKind::beauty:
        case ExrLayerKind::element: {
            const std::vector<std::uint16_t>& rgba = s_.rgba[l];
            for (std::size_t c = 0; c < 4; ++c)
                *out++ = rgba.empty() ? 0.0f : rgba[i * 4 + c] / 65535.0f;
            return out;
        }
        // Positive distance in front of the camera; the background stays far (1e30).
        case ExrLayerKind::depth: *out++ = z_ ? -z_[i] : -BMM_BACKGROUND_Z; return out;
        case ExrLayerKind::normal: {
            const Point3 n = normal_ && !background(i) ? DeCompressNormal(normal_[i]) : Point3();
            *out++ = n.x, *out++ = n.y, *out++ = n.z;
            return out;
        }
        // Render ids from 1, so 0 is the background, as compositors' id mattes expect.
        case ExrLayerKind::objectId:
            *out++ = background(i) ? 0.0f : static_cast<float>(renderId_[i]) + 1.0f;
            return out;
        case ExrLayerKind::materialId: *out++ = mtlId_ ? static_cast<float>(mtlId_[i]) : 0.0f; return out;
        // Screen y grows downward; image y in compositors grows upward.
        case ExrLayerKind::velocity:
            *out++ = velocity_ ? velocity_[i].x : 0.0f;
            *out++ = velocity_ ? -velocity_[i].y : 0.0f;
            return out;
        case ExrLayerKind::coverage: *out++ = coverage_ ? coverage_[i] / 255.0f : 0.0f; return out;
        }
        return out;
    }

    const LayeredExrSnapshot& s_;
    const float* z_ = nullptr;
    const std::uint8_t* mtlId_ = nullptr;
    const std::uint16_t* renderId_ = nullptr;
    const DWORD* normal_ = nullptr;
    const std::uint8_t* coverage_ = nullptr;
    const Point2* velocity_ = nullptr;
};

bool hasLayer(const LayeredExrSnapshot& s, ExrLayerKind kind)
{
    return std::any_of(s.layers.begin(), s.layers.end(), [&](const ExrLayer& l) { return l.kind == kind; });
}

std::vector<ImageAttribute> headerAttributes(const LayeredExrSnapshot& s)
{
    std::vector<ImageAttribute> a;
    const LayeredExrHeader& h = s.header;
    if (h.camera.known) {
        const Matrix44 toCamera = exrWorldToCamera(h.camera), toNdc = exrWorldToNdc(h.camera);
        a.push_back(ImageAttribute::matrixValue("worldToCamera", toCamera.data()));
        a.push_back(ImageAttribute::matrixValue("worldToNDC", toNdc.data()));
    }
    a.push_back(ImageAttribute::rationalValue("FramesPerSecond", h.framesPerSecond, 1));
    a.push_back(ImageAttribute::integerValue("vermil:frame", h.frame));
    // The colour layers hold the values the renderer shows, sRGB-encoded, not linear light.
    a.push_back(ImageAttribute::textValue(
        "vermil:colour", "R G B and every element's colour: sRGB-encoded display values, "
                         "premultiplied; convert to linear before compositing in linear light"));
    for (const auto& [name, value] : h.attributes)
        a.push_back(ImageAttribute::textValue("vermil:" + name, value));
    if (hasLayer(s, ExrLayerKind::depth))
        a.push_back(ImageAttribute::textValue("vermil:Z",
                                              "distance in front of the camera along its axis (world units); "
                                              "background 1e30"));
    if (hasLayer(s, ExrLayerKind::normal))
        a.push_back(ImageAttribute::textValue(
            "vermil:N", "unit normal in camera space: x right, y up, z toward the camera; "
                        "background 0"));
    if (hasLayer(s, ExrLayerKind::velocity))
        a.push_back(ImageAttribute::textValue("vermil:velocity",
                                              "pixels per frame, this frame's position minus the previous "
                                              "frame's; x right, y up; background 0"));
    if (hasLayer(s, ExrLayerKind::coverage))
        a.push_back(ImageAttribute::textValue(
            "vermil:coverage", "share of the pixel the front fragment (one triangle) covers, 0 to 1"));
    if (hasLayer(s, ExrLayerKind::materialId))
        a.push_back(ImageAttribute::textValue("vermil:materialId",
                                              "material effects channel, 0 where the material sets none"));
    if (hasLayer(s, ExrLayerKind::objectId)) {
        std::string objects;
        for (std::size_t i = 0; i < h.instanceNames.size(); ++i)
            objects += fmt::format("{}{}={}", objects.empty() ? "" : ", ", i + 1, h.instanceNames[i]);
        a.push_back(ImageAttribute::textValue("vermil:objectId",
                                              "the rendered object's number, from 1; background 0"));
        a.push_back(ImageAttribute::textValue("vermil:objects", objects));
    }
    return a;
}

std::string compressionName(int compression)
{
    if (compression < 0)
        return "zips";
    return compression == 0 ? std::string("none") : fmt::format("zip:{}", std::min(compression, 9));
}

}  // namespace

LayeredExrSnapshot snapshotLayeredExr(const std::string& path, int compression, const Bitmap& image,
                                      const std::vector<const Bitmap*>& elements,
                                      const std::vector<ExrLayer>& layers, LayeredExrHeader header)
{
    LayeredExrSnapshot s;
    s.path = path;
    s.compression = compression;
    s.layers = layers;
    s.header = std::move(header);
    s.rgba.resize(layers.size());
    if (!image.HasStorage())
        return s;
    const int w = image.Width(), h = image.Height();
    s.width = w, s.height = h;
    for (std::size_t l = 0; l < layers.size(); ++l) {
        const Bitmap* source = layers[l].kind == ExrLayerKind::beauty ? &image : nullptr;
        if (layers[l].kind == ExrLayerKind::element && layers[l].element >= 0 &&
            static_cast<std::size_t>(layers[l].element) < elements.size())
            source = elements[static_cast<std::size_t>(layers[l].element)];
        if (source && source->HasStorage() && source->Width() == w && source->Height() == h)
            s.rgba[l] = copyRgba(*source);
    }
    const ULONG bits = exrGBufferChannels(layers) & image.ChannelsPresent();
    for (int slot = 0; slot < BMM_CHAN_COUNT; ++slot) {
        const ULONG bit = 1u << slot;
        if (!(bits & bit))
            continue;
        const auto* first = static_cast<const std::byte*>(image.GetChannel(bit));
        const std::size_t bytes = static_cast<std::size_t>(w) * h * GBufferChannelSize(bit);
        s.gbuffer[static_cast<std::size_t>(slot)].assign(first, first + bytes);
    }
    return s;
}

ImageWriteResult writeLayeredExr(const LayeredExrSnapshot& s)
{
    if (s.width <= 0 || s.height <= 0)
        return {false, s.path + ": nothing to write (the image is empty)"};
    if (s.layers.empty())
        return {false, s.path + ": nothing to write (no layers picked)"};
    std::string error;
    const ImageCodecs* codecs = imageCodecs(error);
    if (!codecs)
        return {false, s.path + ": " + error};
    ImageEncoding image;
    image.path = "frame.exr";  // encoded in memory: the name picks the format
    image.width = s.width, image.height = s.height;
    for (const ExrLayer& layer : s.layers)
        for (const std::string& channel : layer.channels) {
            if (channel == "A")
                image.alphaChannel = static_cast<int>(image.channelNames.size());
            if (channel == "Z")
                image.zChannel = static_cast<int>(image.channelNames.size());
            image.channelNames.push_back(channel);
            image.channelFormats.push_back(layer.half ? StoredAs::half : StoredAs::float32);
        }
    image.attributes = headerAttributes(s);
    image.attributes.push_back(ImageAttribute::textValue("compression", compressionName(s.compression)));
    const RowReader reader(s);
    image.row = [&reader](int y, float* values) { reader.read(y, values); };

    // Encoded in memory, then put in place whole: a failed write never touches the old file.
    std::vector<unsigned char> bytes;
    if (!codecs->encode(image, &bytes, error))
        return {false, s.path + ": cannot encode OpenEXR (" + error + ")"};
    errno = 0;
    if (!replaceFileContents(s.path.c_str(), bytes.data(), bytes.size()))
        return {false, s.path + ": cannot write the file (" +
                           (errno ? std::string(std::strerror(errno)) : "unknown error") + ")"};
    return {true, {}};
}

}  // namespace standalone
