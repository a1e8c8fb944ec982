#include "standalone/images/ImageOutputPng.h"

#include "standalone/ShadingThreads.h"

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
    // The compressed bytes in blocks of blockBytes (the last one partly filled): they grow without
    // being copied or over-allocated, and are most of a band's memory.
    std::vector<std::vector<unsigned char>> blocks;
    std::size_t deflatedBytes = 0;
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

// Rows converted and fed to the compressor at a time: the band's scanlines are never held
// whole, only its compressed bytes.
constexpr int rowsPerPiece = 8;
constexpr std::size_t blockBytes = std::size_t{1} << 18;

// How the 16-bit pixels are stored: 16 bits per sample, or 8 (each value rounded).
enum class Depth { eight = 8, sixteen = 16 };

std::uint8_t toEightBits(std::uint16_t v) { return static_cast<std::uint8_t>((v * 255u + 32767u) / 65535u); }

// Rows y0..y1 as PNG scanlines (filter byte 0, big-endian samples), deflated as a raw stream
// that ends on a byte boundary; the last band closes the stream.
void deflateBand(const std::uint16_t* pixels, int width, int y0, int y1, bool premultiplied, Depth depth,
                 int level, bool last, Band& band)
{
    z_stream z{};
    if (deflateInit2(&z, level, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        return;
    const std::size_t rowBytes = 1 + static_cast<std::size_t>(width) * (depth == Depth::sixteen ? 8 : 4);
    std::vector<unsigned char> raw(rowBytes * static_cast<std::size_t>(std::min(rowsPerPiece, y1 - y0)));
    band.adler = adler32(0, nullptr, 0);
    band.rawBytes = 0;
    bool ok = true;
    for (int piece = y0; ok && piece < y1; piece += rowsPerPiece) {
        const int end = std::min(y1, piece + rowsPerPiece);
        for (int y = piece; y < end; ++y) {
            unsigned char* out = &raw[rowBytes * static_cast<std::size_t>(y - piece)];
            const std::uint16_t* in = pixels + static_cast<std::size_t>(y) * width * 4;
            *out++ = 0;
            for (int x = 0; x < width; ++x, in += 4) {
                const unsigned a = in[3];
                for (int c = 0; c < 4; ++c) {
                    const std::uint16_t v = premultiplied && c < 3 ? straightAlpha(in[c], a) : in[c];
                    if (depth == Depth::eight) {
                        *out++ = toEightBits(v);
                        continue;
                    }
                    *out++ = static_cast<unsigned char>(v >> 8);
                    *out++ = static_cast<unsigned char>(v);
                }
            }
        }
        const std::size_t bytes = rowBytes * static_cast<std::size_t>(end - piece);
        band.rawBytes += bytes;
        band.adler = adler32(band.adler, raw.data(), static_cast<uInt>(bytes));
        const bool final = end == y1;
        // A sync flush at the band's end leaves the stream open and byte-aligned for the next
        // band's blocks.
        const int flush = !final ? Z_NO_FLUSH : last ? Z_FINISH : Z_SYNC_FLUSH;
        z.next_in = raw.data();
        z.avail_in = static_cast<uInt>(bytes);
        int result = Z_OK;
        do {
            if (band.blocks.empty() || band.deflatedBytes == band.blocks.size() * blockBytes)
                band.blocks.emplace_back(blockBytes);
            const std::size_t used = band.deflatedBytes - (band.blocks.size() - 1) * blockBytes;
            z.next_out = band.blocks.back().data() + used;
            z.avail_out = static_cast<uInt>(blockBytes - used);
            result = deflate(&z, flush);
            band.deflatedBytes += blockBytes - used - z.avail_out;
        } while (result == Z_OK && (z.avail_in > 0 || z.avail_out == 0));
        ok = final && last ? result == Z_STREAM_END : result == Z_OK || result == Z_BUF_ERROR;
        ok = ok && z.avail_in == 0;
    }
    band.ok = ok;
    deflateEnd(&z);
}

// A PNG's chunks, handed to `put(data, bytes)` in order (false: the bytes could not be kept).
template <class Put> class ChunkWriter {
public:
    explicit ChunkWriter(Put put) : put_(std::move(put)) {}
    bool put(const void* data, std::size_t n) { return put_(data, n); }
    // One chunk: length, type, data pieces, CRC of type and data.
    bool chunk(const char* type, std::initializer_list<std::pair<const unsigned char*, std::size_t>> pieces)
    {
        return chunk(type, std::vector<std::pair<const unsigned char*, std::size_t>>(pieces));
    }
    bool chunk(const char* type, const std::vector<std::pair<const unsigned char*, std::size_t>>& pieces)
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

private:
    Put put_;
};

}  // namespace

namespace {

// Encodes the pixels into `chunks`. False when they cannot be encoded, with `error` set, or when
// the output fails, with `error` left as it was.
template <class Writer>
bool encode(Writer& chunks, int width, int height, const std::uint16_t* pixels, bool premultiplied,
            Depth depth, int level, std::string& error)
{
    if (width <= 0 || height <= 0 || !pixels) {
        error = "no pixels";
        return false;
    }
    level = std::clamp(level, 0, 9);
    // Bands of at least 16 rows (each restarts the compressor's history), deflated one per core
    // at a time and written in order: only one wave's output is held, never the whole file's.
    ShadingThreads threads;
    const int cores = threads.concurrency();
    const int bandRows = std::max(16, (height + 4 * cores - 1) / (4 * cores));
    const int bandCount = (height + bandRows - 1) / bandRows;

    static constexpr unsigned char signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    unsigned char header[13];
    putBigEndian32(header, static_cast<std::uint32_t>(width));
    putBigEndian32(header + 4, static_cast<std::uint32_t>(height));
    header[8] = static_cast<unsigned char>(depth);  // bits per sample
    header[9] = 6;                                  // RGBA
    header[10] = header[11] = header[12] = 0;       // deflate, adaptive filtering method, no interlace
    // zlib header: 32K window, deflate; the check bits make it a multiple of 31.
    const unsigned char zlibHeader[2] = {0x78, 0x01};

    uLong adler = adler32(0, nullptr, 0);
    bool ok = chunks.put(signature, sizeof signature) && chunks.chunk("IHDR", {{header, sizeof header}});
    std::vector<Band> wave(static_cast<std::size_t>(cores));
    for (int first = 0; ok && first < bandCount; first += cores) {
        const int n = std::min(cores, bandCount - first);
        threads.forEach(0, n, [&](int i) {
            const int b = first + i;
            const int y0 = b * bandRows, y1 = std::min(height, y0 + bandRows);
            wave[static_cast<std::size_t>(i)] = Band();
            deflateBand(pixels, width, y0, y1, premultiplied, depth, level, b + 1 == bandCount,
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
            std::vector<std::pair<const unsigned char*, std::size_t>> pieces{
                {zlibHeader, first + i == 0 ? 2u : 0u}};
            for (std::size_t k = 0; k < band.blocks.size(); ++k)
                pieces.emplace_back(band.blocks[k].data(),
                                    std::min(blockBytes, band.deflatedBytes - k * blockBytes));
            pieces.emplace_back(trailer, last ? 4u : 0u);
            ok = chunks.chunk("IDAT", pieces);
        }
    }
    return ok && chunks.chunk("IEND", {});
}

}  // namespace

bool writePng16(const std::string& path, int width, int height, const std::uint16_t* pixels,
                bool premultiplied, int level, std::string& error)
{
    if (width <= 0 || height <= 0 || !pixels) {
        error = "no pixels";
        return false;
    }
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        error = std::strerror(errno);
        return false;
    }
    auto put = [file](const void* data, std::size_t n) { return std::fwrite(data, 1, n, file) == n; };
    ChunkWriter<decltype(put)> chunks(put);
    error.clear();
    const bool encoded = encode(chunks, width, height, pixels, premultiplied, Depth::sixteen, level, error);
    const bool closed = std::fclose(file) == 0;
    if ((!encoded || !closed) && error.empty())
        error = std::strerror(errno ? errno : EIO);
    return encoded && closed;
}

std::string encodePng8(int width, int height, const std::uint16_t* pixels, bool premultiplied, int level)
{
    std::string bytes;
    auto put = [&bytes](const void* data, std::size_t n) {
        bytes.append(static_cast<const char*>(data), n);
        return true;
    };
    ChunkWriter<decltype(put)> chunks(put);
    std::string error;
    return encode(chunks, width, height, pixels, premultiplied, Depth::eight, level, error) ? bytes
                                                                                            : std::string();
}

}  // namespace standalone
