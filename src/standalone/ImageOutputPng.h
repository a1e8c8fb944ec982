#pragma once
// A 16-bit RGBA PNG encoder that deflates bands of rows on every core: one zlib stream cut at
// band boundaries, so any PNG reader sees an ordinary file. A single-threaded encoder spends
// most of a frame's write time in deflate.

#include <cstdint>
#include <string>

namespace standalone {

// Writes width x height straight-alpha RGBA pixels (native 16-bit values, rows packed) to
// `path` with zlib `level` 0..9 and no row filters. False with `error` set on failure; the file
// may then be partly written (callers write to a temporary file).
bool writePng16(const std::string& path, int width, int height, const std::uint16_t* pixels, int level,
                std::string& error);

}  // namespace standalone
