#include "standalone/maps/BitmapMap.h"

#include "host/IParamBlock2.h"
#include "host/Interface.h"
#include "host/ParamBlockDesc2.h"
#include "standalone/HostClassDesc.h"
#include "standalone/images/ImageModule.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace standalone {

namespace {

enum : ParamID { pFileName, pFilter };

// Larger images are refused rather than risk exhausting memory on a corrupt header.
constexpr long long kMaxTexels = 1LL << 26;

constexpr AColor kUnloaded{0.5f, 0.5f, 0.5f, 1.0f};

int wrap(double v, int n)
{
    double m = std::fmod(std::floor(v), static_cast<double>(n));
    if (m < 0.0)
        m += n;
    const int i = static_cast<int>(m);
    return i >= n ? n - 1 : i;
}

std::string describe(const std::string& name)
{
    return name.empty() ? "Bitmap map" : "Bitmap map \"" + name + "\"";
}

// The extension that selects the image reader: from the data's signature when it has a known one,
// else the hint when it is a plain word.
std::string imageExtension(const void* data, std::size_t size, const std::string& hint)
{
    const auto* b = static_cast<const unsigned char*>(data);
    if (size >= 8 && b[0] == 0x89 && b[1] == 'P' && b[2] == 'N' && b[3] == 'G')
        return "png";
    if (size >= 3 && b[0] == 0xFF && b[1] == 0xD8 && b[2] == 0xFF)
        return "jpg";
    const bool word = !hint.empty() && hint.size() <= 8 && std::all_of(hint.begin(), hint.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) != 0;
    });
    return word ? hint : "img";
}

struct Decoded {
    int width = 0, height = 0;
    std::vector<AColor> texels;
};

// Decodes an image into texels; error says why not (without naming the image).
bool decode(const ImageSource& source, Decoded& out, std::string& error)
{
    const ImageCodecs* codecs = imageCodecs(error);
    DecodedPixels image;
    if (!codecs || !codecs->decode(source, {kMaxTexels, 64}, image, error))
        return false;
    const int nch = image.channels;
    out.width = image.width;
    out.height = image.height;
    out.texels.resize(static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height));
    const int alpha = image.alphaChannel >= 0 ? image.alphaChannel : nch == 2 || nch >= 4 ? nch - 1 : -1;
    for (std::size_t i = 0; i < out.texels.size(); ++i) {
        const float* px = &image.values[i * static_cast<std::size_t>(nch)];
        AColor& t = out.texels[i];
        if (nch < 3)
            t.r = t.g = t.b = px[0];
        else
            t.r = px[0], t.g = px[1], t.b = px[2];
        t.a = alpha >= 0 ? px[alpha] : 1.0f;
    }
    return true;
}

}  // namespace

ParamBlockDesc2& BitmapMap::paramBlockDesc()
{
    static ParamBlockDesc2 desc = [] {
        ParamBlockDesc2 d(0, "parameters", 0, P_AUTO_CONSTRUCT, 0);
        d.addFilename(pFileName, "fileName", "", 0).addBool(pFilter, "filter", true, 0);
        UVCoordinates::declare(d);
        return d;
    }();
    return desc;
}

ClassDesc2& BitmapMap::classDesc()
{
    static HostClassDesc desc(
        "Bitmap", TEXMAP_CLASS_ID, kBitmapMapClassId, []() -> ReferenceTarget* { return new BitmapMap(); },
        paramBlockDesc());
    return desc;
}

BitmapMap::BitmapMap() : MapBase(classDesc(), {}) { refresh(); }

void BitmapMap::readParams(IParamBlock2& block, TimeValue t, Interval& valid)
{
    std::string name;
    block.GetValue(pFileName, t, name, valid);
    int filter = 1;
    block.GetValue(pFilter, t, filter, valid);
    filter_ = filter != 0;
    fileName_ = std::move(name);
    // A different file makes the loaded image stale: back to grey until the next load.
    if (image_ && fileName_ != loadedPath_) {
        image_.reset();
        loadedPath_.clear();
    }
}

void BitmapMap::copyLoadedState(MapBase& copy) const
{
    auto& other = static_cast<BitmapMap&>(copy);
    other.image_ = image_;
    other.loadedPath_ = loadedPath_;
}

bool BitmapMap::load(std::string& error)
{
    image_.reset();
    loadedPath_.clear();
    error.clear();
    if (fileName_.empty()) {
        error = describe(GetName()) + ": no image file name is set";
        return false;
    }
    const std::string what = describe(GetName()) + ": cannot read image file \"" + fileName_ + "\": ";
    Decoded decoded;
    if (!decode({.path = fileName_}, decoded, error)) {
        error = what + error;
        return false;
    }
    return setImage(decoded.width, decoded.height, std::move(decoded.texels), error);
}

bool BitmapMap::loadFromMemory(const void* data, std::size_t size, const std::string& formatHint,
                               const std::string& description, std::string& error)
{
    image_.reset();
    loadedPath_.clear();
    error.clear();
    const std::string what = describe(GetName()) + ": cannot read image " + description + ": ";
    if (!data || size == 0) {
        error = what + "no image data";
        return false;
    }
    // The reader is picked by the name's extension; the others are tried after it.
    Decoded decoded;
    if (!decode({.path = "embedded." + imageExtension(data, size, formatHint), .data = data, .size = size},
                decoded, error)) {
        error = what + error;
        return false;
    }
    return setImage(decoded.width, decoded.height, std::move(decoded.texels), error);
}

bool BitmapMap::setImage(int width, int height, std::vector<AColor> texels, std::string& error)
{
    image_.reset();
    loadedPath_.clear();
    if (width <= 0 || height <= 0 || static_cast<long long>(width) * height > kMaxTexels ||
        texels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
        error = describe(GetName()) + ": expected " + std::to_string(width) + " x " + std::to_string(height) +
                " texels, at most " + std::to_string(kMaxTexels) + ", got " + std::to_string(texels.size());
        return false;
    }
    auto image = std::make_shared<Image>();
    image->width = width;
    image->height = height;
    image->texels = std::move(texels);
    image_ = std::move(image);
    // The image belongs to the current file name, whatever it holds, until the name changes.
    loadedPath_ = fileName_;
    error.clear();
    return true;
}

bool BitmapMap::LoadMapFiles(TimeValue t)
{
    Interval ignored = FOREVER;
    refresh(t, ignored);
    if (image_ && loadedPath_ == fileName_)
        return true;
    if (load(loadError_))
        return true;
    // Callers learn the details from the host's messages.
    MessageBox(nullptr, loadError_.c_str(), "Bitmap map", MB_OK | MB_ICONEXCLAMATION);
    return false;
}

AColor BitmapMap::sample(const Image& image, const Point2& uv) const
{
    const double fx = double(uv.x) * image.width - 0.5, fy = (1.0 - double(uv.y)) * image.height - 0.5;
    if (!std::isfinite(fx) || !std::isfinite(fy))
        return kUnloaded;
    auto texel = [&](int x, int y) {
        return image.texels[static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width) +
                            static_cast<std::size_t>(x)];
    };
    if (!filter_)
        return texel(wrap(fx + 0.5, image.width), wrap(fy + 0.5, image.height));
    const double x0 = std::floor(fx), y0 = std::floor(fy);
    const auto tx = static_cast<float>(fx - x0), ty = static_cast<float>(fy - y0);
    const int ax = wrap(x0, image.width), bx = wrap(x0 + 1.0, image.width);
    const int ay = wrap(y0, image.height), by = wrap(y0 + 1.0, image.height);
    const AColor top = mixColor(texel(ax, ay), texel(bx, ay), tx);
    const AColor bottom = mixColor(texel(ax, by), texel(bx, by), tx);
    return mixColor(top, bottom, ty);
}

AColor BitmapMap::EvalColor(ShadeContext& sc)
{
    if (!image_)
        return kUnloaded;
    return sample(*image_, coordinates().eval(sc));
}

}  // namespace standalone
