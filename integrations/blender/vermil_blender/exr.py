"""Reads the single-part scanline OpenEXR files vermil writes, channel by channel, with numpy.

Blender's own EXR reading maps channels by its own layer naming, so the engine reads vermil's
layers itself. Uncompressed, ZIPS and ZIP files are read; anything else is refused by name.
"""

import struct
import zlib

import numpy as np

_MAGIC = 20000630
_PIXEL_TYPES = {0: np.dtype("<u4"), 1: np.dtype("<f2"), 2: np.dtype("<f4")}
_LINES_PER_BLOCK = {0: 1, 2: 1, 3: 16}  # NO_COMPRESSION, ZIPS, ZIP
_COMPRESSION_NAMES = ("none", "rle", "zips", "zip", "piz", "pxr24", "b44", "b44a", "dwaa", "dwab")


class ExrError(Exception):
    pass


def _attributes(data, path):
    attributes, at = {}, 8
    while True:
        end = data.index(b"\0", at)
        name = data[at:end].decode("latin-1")
        at = end + 1
        if not name:
            return attributes, at
        end = data.index(b"\0", at)
        kind = data[at:end].decode("latin-1")
        (size,) = struct.unpack_from("<i", data, end + 1)
        at = end + 5
        if size < 0 or at + size > len(data):
            raise ExrError(f"{path}: header attribute {name!r}: its {size} bytes run past the file")
        attributes[name] = (kind, data[at:at + size])
        at += size


def _channels(raw):
    channels, at = [], 0
    while raw[at:at + 1] not in (b"\0", b""):
        end = raw.index(b"\0", at)
        name = raw[at:end].decode("utf-8")
        pixel_type, _linear, x_sampling, y_sampling = struct.unpack_from("<iB3xii", raw, end + 1)
        if pixel_type not in _PIXEL_TYPES or (x_sampling, y_sampling) != (1, 1):
            raise ExrError(f"channel {name!r}: pixel type {pixel_type} sampled {x_sampling}x{y_sampling}; "
                           "expected half, float or uint sampled 1x1")
        channels.append((name, _PIXEL_TYPES[pixel_type]))
        at = end + 17
    return channels


def _undo_zip(block, raw_size):
    data = np.frombuffer(zlib.decompress(block), dtype=np.uint8)
    if data.size != raw_size:
        raise ExrError(f"a block inflates to {data.size} bytes, expected {raw_size}")
    # Undo the predictor (each byte stored as the difference to the one before, plus 128), then
    # the split into even and odd bytes.
    deltas = data.astype(np.int64)
    deltas[1:] -= 128
    data = (np.cumsum(deltas) & 0xFF).astype(np.uint8)
    out = np.empty_like(data)
    half = (raw_size + 1) // 2
    out[0::2] = data[:half]
    out[1::2] = data[half:]
    return out.tobytes()


def read_exr(path):
    """(width, height, {channel name: float32 array of shape (height, width), top row first})."""
    with open(path, "rb") as f:
        data = f.read()
    if len(data) < 8 or struct.unpack_from("<i", data)[0] != _MAGIC:
        raise ExrError(f"{path}: not an OpenEXR file")
    (version,) = struct.unpack_from("<i", data, 4)
    if version & 0x1a00:
        raise ExrError(f"{path}: a tiled, deep or multi-part file; expected one part of scanlines")
    try:
        attributes, at = _attributes(data, path)
        channels = _channels(attributes["channels"][1])
        compression = attributes["compression"][1][0]
        x0, y0, x1, y1 = struct.unpack("<4i", attributes["dataWindow"][1])
    except (KeyError, ValueError, struct.error) as e:
        raise ExrError(f"{path}: malformed header ({e})") from None
    if compression not in _LINES_PER_BLOCK:
        name = _COMPRESSION_NAMES[compression] if compression < len(_COMPRESSION_NAMES) else compression
        raise ExrError(f"{path}: compression {name}; expected none, zips or zip")
    width, height = x1 - x0 + 1, y1 - y0 + 1
    if width <= 0 or height <= 0:
        raise ExrError(f"{path}: an empty data window")
    lines = _LINES_PER_BLOCK[compression]
    blocks = (height + lines - 1) // lines
    offsets = struct.unpack_from(f"<{blocks}Q", data, at)
    planes = {name: np.zeros((height, width), dtype=np.float32) for name, _ in channels}
    for offset in offsets:
        if offset + 8 > len(data):
            raise ExrError(f"{path}: a block offset {offset} lies past the end of the file")
        y, size = struct.unpack_from("<ii", data, offset)
        row = y - y0
        count = min(lines, height - row)
        if row < 0 or count <= 0 or offset + 8 + size > len(data):
            raise ExrError(f"{path}: a block at offset {offset} (line {y}) lies outside the image or file")
        raw_size = count * width * sum(dtype.itemsize for _, dtype in channels)
        block = data[offset + 8:offset + 8 + size]
        if compression != 0 and size < raw_size:
            try:
                block = _undo_zip(block, raw_size)
            except (zlib.error, ExrError) as e:
                raise ExrError(f"{path}: the block of line {y}: {e}") from None
        if len(block) != raw_size:
            raise ExrError(f"{path}: the block of line {y} holds {len(block)} bytes, expected {raw_size}")
        at = 0
        for line in range(count):
            for name, dtype in channels:
                n = width * dtype.itemsize
                planes[name][row + line] = np.frombuffer(block, dtype=dtype, count=width, offset=at)
                at += n
    return width, height, planes
