#include "paint/RasterRows.h"

#include "paint/Blend.h"
#include "paint/CanvasPixels.h"
#include "shell/WorkerPool.h"

#include <algorithm>
#include <bit>
#include <cstdint>

namespace vml {
namespace {

// 16-bit bitmap channels: value x 65535 truncated toward zero on the way out; on the way in the
// composite path divides by 65535, the replacing path multiplies by 2^-16.
constexpr float unitToChannel = 65535.0f;
constexpr float replaceScale = 1.5258789e-5f;

// Truncating conversion of a value meant to be in 0..1; anything outside (and NaN) is held to
// the channel's range instead of being undefined.
inline std::uint16_t toChannel(float v)
{
    float scaled = v * unitToChannel;
    scaled = scaled > 0.0f ? scaled : 0.0f;
    scaled = scaled < unitToChannel ? scaled : unitToChannel;
    return static_cast<std::uint16_t>(static_cast<int>(scaled));
}

// 0..1, and 0 for NaN: written so that it compiles to min/max without branches.
inline float clampUnit(float v)
{
    v = v > 0.0f ? v : 0.0f;
    return v < 1.0f ? v : 1.0f;
}

// A value already in 0..1 as a 16-bit channel, truncated.
inline std::uint16_t unitChannel(float v)
{
    return static_cast<std::uint16_t>(static_cast<int>(v * unitToChannel));
}

inline float fromChannel(std::uint16_t c) { return static_cast<float>(c) / unitToChannel; }

inline BMM_Color_64 toBitmapPixel(const AColor& c)
{
    return {toChannel(c.r), toChannel(c.g), toChannel(c.b), toChannel(c.a)};
}

// Reads row y of `source` into `buffer`; whatever the bitmap cannot give (no storage, a row or
// columns beyond its size) reads as zero.
void readRow(const Bitmap* source, int y, std::vector<BMM_Color_64>& buffer)
{
    const int n = source ? source->GetPixels(0, y, static_cast<int>(buffer.size()), buffer.data()) : 0;
    std::fill(buffer.begin() + n, buffer.end(), BMM_Color_64{});
}

bool sameSize(const Bitmap& bitmap, int width, int height)
{
    return bitmap.HasStorage() && bitmap.Width() == width && bitmap.Height() == height;
}

}  // namespace

template <class Pixel> void RasterRows<Pixel>::allocateStorage()
{
    if (width_ <= 0 || height_ <= 0)
        return;
    beforeAllocation();
    const auto columns = static_cast<std::size_t>(width_);
    storage_ = LargeArray<Pixel>(columns * static_cast<std::size_t>(height_));
    rows_.resize(static_cast<std::size_t>(height_));
    unclamped_.assign(static_cast<std::size_t>(height_), 1);
    for (int y = 0; y < height_; ++y) {
        beforeAllocation();
        rows_[y] = storage_.data() + static_cast<std::size_t>(y) * columns;
        reportAllocation(y, height_);
    }
}

template <class Pixel> void RasterRows<Pixel>::freeStorage()
{
    rows_ = std::vector<Pixel*>();
    storage_.release();
    unclamped_ = std::vector<std::uint8_t>();
    selected_ = nullptr;
}

template <class Pixel> template <class Band> void RasterRows<Pixel>::forEachRowBand(const Band& band)
{
    constexpr int bandRows = 32;
    const int bands = (height_ + bandRows - 1) / bandRows;
    renderWorkers().run(static_cast<std::size_t>(bands), [&](std::size_t i) {
        const int first = static_cast<int>(i) * bandRows;
        band(first, std::min(first + bandRows, height_) - 1);
    });
}

template <class Pixel> void RasterRows<Pixel>::loadRows(const Bitmap* source, LoadMode mode)
{
    if (rows_.empty())
        return;
    forEachRowBand([&](int first, int last) {
        std::vector<BMM_Color_64> buffer(static_cast<std::size_t>(width_));
        for (int y = first; y <= last; ++y) {
            colourChanged(y);
            readRow(source, y, buffer);
            Pixel* row = rows_[y];
            for (int x = 0; x < width_; ++x) {
                const BMM_Color_64& in = buffer[x];
                AColor colour = row[x].colour;
                switch (mode) {
                case LoadMode::composite:
                    if (in.a > 0) {
                        const float a = fromChannel(in.a);
                        colour.r = (1.0f - a) * colour.r + fromChannel(in.r);
                        colour.g = (1.0f - a) * colour.g + fromChannel(in.g);
                        colour.b = (1.0f - a) * colour.b + fromChannel(in.b);
                        colour.a = 1.0f - (1.0f - colour.a) * (1.0f - a);
                    }
                    break;
                case LoadMode::replace:
                    colour = {in.r * replaceScale, in.g * replaceScale, in.b * replaceScale,
                              in.a * replaceScale};
                    break;
                case LoadMode::colourOnly:
                    colour = {in.r * replaceScale, in.g * replaceScale, in.b * replaceScale, 0.0f};
                    break;
                }
                // Every working field starts again from zero; only the mask survives.
                Pixel fresh{};
                fresh.colour = colour;
                if constexpr (requires { fresh.mask; })
                    fresh.mask = row[x].mask;
                row[x] = fresh;
            }
        }
    });
    clearDirtyState();
}

template <class Pixel> int RasterRows<Pixel>::Load(bool replace)
{
    loadRows(bitmap_, replace ? LoadMode::replace : LoadMode::composite);
    return height_;
}

template <class Pixel> int RasterRows<Pixel>::LoadColour(const Bitmap* source)
{
    loadRows(source, LoadMode::colourOnly);
    return height_;
}

template <class Pixel> void RasterRows<Pixel>::Store()
{
    if (rows_.empty() || !bitmap_)
        return;
    forEachRowBand([&](int first, int last) {
        std::vector<BMM_Color_64> buffer(static_cast<std::size_t>(width_));
        for (int y = first; y <= last; ++y) {
            Pixel* row = rows_[y];
            for (int x = 0; x < width_; ++x) {
                AColor& c = row[x].colour;
                c = {clampUnit(c.r), clampUnit(c.g), clampUnit(c.b), clampUnit(c.a)};
                buffer[x] = {unitChannel(c.r), unitChannel(c.g), unitChannel(c.b), unitChannel(c.a)};
            }
            bitmap_->PutPixels(0, y, width_, buffer.data());
        }
    });
    bitmap_->RefreshWindow();
}

template <class Pixel> void RasterRows<Pixel>::ClampColours()
{
    if (rows_.empty() || !bitmap_)
        return;
    forEachRowBand([&](int first, int last) {
        for (int y = first; y <= last; ++y) {
            if (!unclamped_[static_cast<std::size_t>(y)])
                continue;
            unclamped_[static_cast<std::size_t>(y)] = 0;
            Pixel* row = rows_[y];
            for (int x = 0; x < width_; ++x) {
                AColor& c = row[x].colour;
                c = {clampUnit(c.r), clampUnit(c.g), clampUnit(c.b), clampUnit(c.a)};
            }
        }
    });
}

template <class Pixel>
void RasterRows<Pixel>::WriteOutput(Bitmap* output, std::span<Bitmap* const> lineElementBitmaps,
                                    bool skipMain)
{
    if (rows_.empty())
        return;
    std::vector<Bitmap*> elements;
    for (Bitmap* bitmap : lineElementBitmaps)
        if (bitmap && sameSize(*bitmap, width_, height_))
            elements.push_back(bitmap);

    const auto width = static_cast<std::size_t>(width_);
    forEachRowBand([&](int first, int last) {
        std::vector<BMM_Color_64> mainRow(width), canvasLayer(width), element(width);
        for (int y = first; y <= last; ++y) {
            readRow(output, y, mainRow);
            Pixel* row = rows_[y];
            for (int x = 0; x < width_; ++x) {
                AColor& c = row[x].colour;
                c.ClampMinMax();
                if (c.a > 0.0f) {
                    const float mainAlpha = fromChannel(mainRow[x].a);
                    mainRow[x] = {toChannel(c.r), toChannel(c.g), toChannel(c.b),
                                  toChannel(1.0f - (1.0f - c.a) * (1.0f - mainAlpha))};
                    canvasLayer[x] = toBitmapPixel(c);
                } else {
                    canvasLayer[x] = {};
                }
            }
            if (!skipMain && output)
                output->PutPixels(0, y, width_, mainRow.data());

            for (Bitmap* bitmap : elements) {
                readRow(bitmap, y, element);
                for (int x = 0; x < width_; ++x) {
                    const BMM_Color_64& layer = canvasLayer[x];
                    // A transparent canvas pixel leaves the element as it is; running the blend
                    // anyway would lose one step of its alpha to 1 - (1 - a) rounding every time.
                    if (layer.a == 0)
                        continue;
                    BMM_Color_64& e = element[x];
                    const float alpha = fromChannel(layer.a);
                    const float keep = 1.0f - alpha;
                    e.r = toChannel(keep * fromChannel(e.r) + fromChannel(layer.r) * alpha);
                    e.g = toChannel(keep * fromChannel(e.g) + fromChannel(layer.g) * alpha);
                    e.b = toChannel(keep * fromChannel(e.b) + fromChannel(layer.b) * alpha);
                    e.a = toChannel(1.0f - (1.0f - fromChannel(e.a)) * keep);
                }
                bitmap->PutPixels(0, y, width_, element.data());
            }
        }
    });
}

template <class Pixel>
void RasterRows<Pixel>::BlendPixel(int x, int y, const AColor& colour, float amount, int methodIndex)
{
    if (amount == 0.0f)
        return;
    AColor& c = pixel(x, y).colour;
    colourChanged(y);
    Color base(c.r, c.g, c.b);
    Blend(base, Color(colour), amount, blendMethodId(methodIndex));
    c.r = base.r, c.g = base.g, c.b = base.b;
    c.a = 1.0f - (1.0f - c.a) * (1.0f - amount);
}

template <class Pixel> void RasterRows<Pixel>::SelectRow(int y)
{
    const bool inside = y >= 0 && y < height_ && !rows_.empty();
    selectedY_ = inside ? y : -1;
    selected_ = inside ? rows_[y] : nullptr;
    if (inside)
        colourChanged(y);
}

template <class Pixel> void RasterRows<Pixel>::SelectRowTracked(int y)
{
    SelectRow(y);
    if (selected_)
        trackRow(y);
}

template <class Pixel> void RasterRows<Pixel>::RaiseCoverage(int x, float value)
{
    if (!selected_ || x < 0 || x >= width_)
        return;
    Pixel& p = selected_[x];
    if (!(value > p.coverage))
        return;
    if (p.coverage == 0.0f)
        widenRowSpan(selectedY_, x);
    p.coverage = value;
}

template <class Pixel>
int RasterRows<Pixel>::RaiseCoverageRun(int x, const float* values, int count, float scale)
{
    if (!selected_)
        return 0;
    // Columns outside the canvas are ignored, as RaiseCoverage does.
    const int first = std::max(0, -x), end = std::min(count, width_ - x);
    int raised = 0;
    // The newly covered pixels widen the row's span once, by their outermost columns.
    int newFirst = end, newLast = -1;
    Pixel* const pixels = selected_ + x;
    // Without branches on the values: the runs are a few pixels long and their values random.
    // Coverage is never below 0, so a zero value (whatever the scale) raises nothing and needs
    // no test of its own: the raise is a plain maximum. Which pixels were raised from 0 is
    // gathered as bits, 64 columns at a time, and read off once per chunk.
    for (int chunk = first; chunk < end; chunk += 64) {
        const int stop = std::min(end, chunk + 64);
        std::uint64_t fresh = 0;
        for (int i = chunk; i < stop; ++i) {
            const float v = values[i];
            raised += v != 0.0f ? 1 : 0;
            float& coverage = pixels[i].coverage;
            const float held = coverage;
            const float value = v * scale;
            coverage = held < value ? value : held;
            // Raised from 0 (either sign) exactly when the value is above 0.
            const bool heldZero = (std::bit_cast<std::uint32_t>(held) << 1) == 0;
            fresh |= static_cast<std::uint64_t>(heldZero & (value > 0.0f)) << (i - chunk);
        }
        if (fresh != 0) {
            newFirst = std::min(newFirst, chunk + std::countr_zero(fresh));
            newLast = chunk + 63 - std::countl_zero(fresh);
        }
    }
    if (newLast >= 0) {
        widenRowSpan(selectedY_, x + newFirst);
        widenRowSpan(selectedY_, x + newLast);
    }
    return raised;
}

template class RasterRows<RasterPixel>;
template class RasterRows<RasterRSPixel>;

}  // namespace vml
