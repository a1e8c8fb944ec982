#pragma once
// An RGBA PNG encoder that deflates bands of rows on every core: one zlib stream cut at
// band boundaries, so any PNG reader sees an ordinary file. A single-threaded encoder spends
// most of a frame's write time in deflate.

#include <algorithm>
#include <cstdint>
#include <string>

namespace standalone {

// Straight alpha as PNG stores it: c * 65535 / a, truncated as the image library does it, so
// either path writes the same values.
inline std::uint16_t straightAlpha(unsigned c, unsigned a)
{
    return static_cast<std::uint16_t>(a == 0 ? c : std::min(65535u, c * 65535u / a));
}

// Writes width x height RGBA pixels (native 16-bit values, rows packed) to `path` with zlib
// `level` 0..9 and no row filters; premultiplied pixels are made straight on the way. False
// with `error` set on failure; the file may then be partly written (callers write to a
// temporary file).
bool writePng16(const std::string& path, int width, int height, const std::uint16_t* pixels,
                bool premultiplied, int level, std::string& error);

// The same encoding into memory with 8 bits per channel, each value rounded: the bytes of the
// file, for showing rather than keeping. Empty when there are no pixels.
std::string encodePng8(int width, int height, const std::uint16_t* pixels, bool premultiplied, int level);

}  // namespace standalone
