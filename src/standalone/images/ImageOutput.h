#pragma once
// Writes a host bitmap to an image file (format from the extension: PNG, TIFF, EXR, JPEG, ...).
// PNG and TIFF get 16 bits per channel, EXR 32-bit floats.
// The file is written beside the target and renamed over it, so a failed write leaves any
// previous file intact.

#include "host/Bitmap.h"

#include <cstdint>
#include <string>
#include <vector>

namespace standalone {

struct ImageWriteResult {
    bool ok = false;
    std::string error;  // names the file and what went wrong
};

// Compression of lossless formats: 0 (none, largest, fastest) to 9 (smallest, slowest). The
// default is fast: PNG at zlib level 1 without row filters (about 4x faster than level 6 on a
// painted frame, and no larger), EXR zip at level 1; TIFF keeps its zip compression.
inline constexpr int kDefaultCompression = -1;

// True when writing `path` at this compression needs the image module (ImageModule.h): every
// format but PNG at the fast levels, which has an encoder of its own.
bool writingNeedsImageModule(const std::string& path, int compression = kDefaultCompression);

// The bitmap's pixels are premultiplied; formats that store straight alpha (PNG) get them
// un-premultiplied by the writer. 8-bit formats get the 16-bit values rounded.
ImageWriteResult writeImage(const Bitmap& bitmap, const std::string& path,
                            int compression = kDefaultCompression);

// A bitmap's pixels as its file will store them, taken so the bitmap can render the next frame
// while the file is written (see FrameWriter.h).
struct ImageSnapshot {
    std::string path;
    int compression = kDefaultCompression;
    int width = 0, height = 0;
    std::vector<std::uint16_t> pixels;  // RGBA rows; empty when the bitmap had no pixels
};

// Copies the pixels on every core; cheap next to the encoding.
ImageSnapshot snapshotImage(const Bitmap& bitmap, const std::string& path,
                            int compression = kDefaultCompression);
// Encodes and writes a snapshot as writeImage does; safe on any thread.
ImageWriteResult writeSnapshot(const ImageSnapshot& image);

// NAME.EXT -> NAME.0012.EXT (at least four digits): a sequence's file for one frame.
std::string numberedPath(const std::string& path, int frame);

// The bitmap as an 8-bit RGBA PNG file's bytes, for showing rather than keeping (a browser);
// empty when it has no pixels or cannot be encoded.
std::string encodePng(const Bitmap& bitmap);

}  // namespace standalone
