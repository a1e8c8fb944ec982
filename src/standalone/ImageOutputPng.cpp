#include "standalone/ImageOutputPng.h"

#include <tbb/parallel_for.h>
#include <tbb/task_arena.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <utility>
#include <vector>

namespace standalone {

namespace {

struct Band {
    std::vector<unsigned char> deflated;
    uLong adler = 1;
    std::size_t rawBytes = 0;
    bool ok = false;
};

void putBigEndian32(unsigned char* p, std::uint32_t v)
{
    p[0] = static_cast<unsigned char>(v >> 24);
    p[1] = static_cast<unsigned char>(v >> 16);
    p[2] = static_cast<unsigned char>(v >> 8);
    p[3] = static_cast<unsigned char>(v);
}

// Rows y0..y1 as PNG scanlines (filter byte 0, big-endian samples), deflated as a raw stream
// that ends on a byte boundary; the last band closes the stream.
void deflateBand(const std::uint16_t* pixels, int width, int y0, int y1, bool premultiplied, int level,
                 bool last, Band& band)
{
    const std::size_t rowBytes = 1 + static_cast<std::size_t>(width) * 8;
    std::vector<unsigned char> raw(rowBytes * static_cast<std::size_t>(y1 - y0));
    for (int y = y0; y < y1; ++y) {
        unsigned char* out = &raw[rowBytes * static_cast<std::size_t>(y - y0)];
        const std::uint16_t* in = pixels + static_cast<std::size_t>(y) * width * 4;
        *out++ = 0;
        for (int x = 0; x < width; ++x, in += 4) {
            const unsigned a = in[3];
            for (int c = 0; c < 4; ++c) {
                const std::uint16_t v = premultiplied && c < 3 ? straightAlpha(in[c], a) : in[c];
                *out++ = static_cast<unsigned char>(v >> 8);
                *out++ = static_cast<unsigned char>(v);
            }
        }
    }
    band.rawBytes = raw.size();
    band.adler = adler32(adler32(0, nullptr, 0), raw.data(), static_cast<uInt>(raw.size()));

    z_stream z{};
    if (deflateInit2(&z, level, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        return;
    band.deflated.resize(deflateBound(&z, static_cast<uLong>(raw.size())) + 16);
    z.next_in = raw.data();
    z.avail_in = static_cast<uInt>(raw.size());
    z.next_out = band.deflated.data();
    z.avail_out = static_cast<uInt>(band.deflated.size());
    // A sync flush leaves the stream open and byte-aligned for the next band's blocks.
    const int result = deflate(&z, last ? Z_FINISH : Z_SYNC_FLUSH);
    band.ok = last ? result == Z_STREAM_END : result == Z_OK && z.avail_in == 0;
    band.deflated.resize(band.deflated.size() - z.avail_out);
    deflateEnd(&z);
}

class ChunkFile {
public:
    explicit ChunkFile(const std::string& path) : f_(std::fopen(path.c_str(), "wb")) {}
    ~ChunkFile()
    {
        if (f_)
            std::fclose(f_);
    }
    bool isOpen() const { return f_ != nullptr; }
    bool put(const void* data, std::size_t n) { return std::fwrite(data, 1, n, f_) == n; }
    // One chunk: length, type, data pieces, CRC of type and data.
    bool chunk(const char* type, std::initializer_list<std::pair<const unsigned char*, std::size_t>> pieces)
    {
        std::size_t length = 0;
        for (const auto& p : pieces)
            length += p.second;
        unsigned char head[8];
        putBigEndian32(head, static_cast<std::uint32_t>(length));
        std::memcpy(head + 4, type, 4);
        uLong crc = crc32(0, head + 4, 4);
        bool ok = put(head, 8);
        for (const auto& p : pieces) {
            crc = crc32(crc, p.first, static_cast<uInt>(p.second));
            ok = ok && put(p.first, p.second);
        }
        unsigned char tail[4];
        putBigEndian32(tail, static_cast<std::uint32_t>(crc));
        return ok && put(tail, 4);
    }
    bool close()
    {
        const bool ok = std::fclose(f_) == 0;
        f_ = nullptr;
        return ok;
    }

private:
    std::FILE* f_;
};

}  // namespace

bool writePng16(const std::string& path, int width, int height, const std::uint16_t* pixels,
                bool premultiplied, int level, std::string& error)
{
    if (width <= 0 || height <= 0 || !pixels) {
        error = "no pixels";
        return false;
    }
    level = std::clamp(level, 0, 9);
    // Bands of at least 16 rows (each restarts the compressor's history), deflated one per core
    // at a time and written in order: only one wave's output is held, never the whole file's.
    const int cores = std::max(1, tbb::this_task_arena::max_concurrency());
    const int bandRows = std::max(16, (height + 4 * cores - 1) / (4 * cores));
    const int bandCount = (height + bandRows - 1) / bandRows;

    ChunkFile file(path);
    if (!file.isOpen()) {
        error = std::strerror(errno);
        return false;
    }
    static constexpr unsigned char signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    unsigned char header[13];
    putBigEndian32(header, static_cast<std::uint32_t>(width));
    putBigEndian32(header + 4, static_cast<std::uint32_t>(height));
    header[8] = 16;                            // bits per sample
    header[9] = 6;                             // RGBA
    header[10] = header[11] = header[12] = 0;  // deflate, adaptive filtering method, no interlace
    // zlib header: 32K window, deflate; the check bits make it a multiple of 31.
    const unsigned char zlibHeader[2] = {0x78, 0x01};

    uLong adler = adler32(0, nullptr, 0);
    bool ok = file.put(signature, sizeof signature) && file.chunk("IHDR", {{header, sizeof header}});
    std::vector<Band> wave(static_cast<std::size_t>(cores));
    for (int first = 0; ok && first < bandCount; first += cores) {
        const int n = std::min(cores, bandCount - first);
        tbb::parallel_for(0, n, [&](int i) {
            const int b = first + i;
            const int y0 = b * bandRows, y1 = std::min(height, y0 + bandRows);
            wave[static_cast<std::size_t>(i)] = Band();
            deflateBand(pixels, width, y0, y1, premultiplied, level, b + 1 == bandCount,
                        wave[static_cast<std::size_t>(i)]);
        });
        for (int i = 0; ok && i < n; ++i) {
            const Band& band = wave[static_cast<std::size_t>(i)];
            if (!band.ok) {
                error = "compression failed";
                return false;
            }
            adler = adler32_combine(adler, band.adler, static_cast<z_off_t>(band.rawBytes));
            const bool last = first + i + 1 == bandCount;
            unsigned char trailer[4];
            putBigEndian32(trailer, static_cast<std::uint32_t>(adler));
            ok = file.chunk("IDAT", {{zlibHeader, first + i == 0 ? 2u : 0u},
                                     {band.deflated.data(), band.deflated.size()},
                                     {trailer, last ? 4u : 0u}});
        }
    }
    ok = ok && file.chunk("IEND", {});
    if (!file.close() || !ok) {
        error = std::strerror(errno ? errno : EIO);
        return false;
    }
    return true;
}

}  // namespace standalone
