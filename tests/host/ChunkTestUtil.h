#pragma once
// Helpers for tests of chunk streams: hand-built headers and a reader-agnostic walker.

#include "host/ChunkReader.h"

#include <cstdint>
#include <vector>

// Appends a chunk header with a raw length word.
inline void putHeader(std::vector<std::uint8_t>& out, std::uint16_t id, std::uint32_t word)
{
    out.push_back(static_cast<std::uint8_t>(id));
    out.push_back(static_cast<std::uint8_t>(id >> 8));
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(word >> (8 * i)));
}

struct WalkStats {
    int opened = 0;
    std::size_t bytesRead = 0;
};

// Visits every chunk, reading data chunks in odd-sized pieces; answers IO_OK only for a stream
// that parsed to its end.
inline IOResult walkChunks(ChunkReader& reader, WalkStats& stats)
{
    IOResult res;
    while ((res = reader.OpenChunk()) == IO_OK) {
        ++stats.opened;
        IOResult inner = IO_OK;
        if (reader.CurChunkIsContainer()) {
            inner = walkChunks(reader, stats);
        } else {
            unsigned char piece[7];
            ULONG n = 0;
            do {
                n = 0;
                reader.Read(piece, sizeof piece, &n);
                stats.bytesRead += n;
            } while (n == sizeof piece);
        }
        if (reader.CloseChunk() != IO_OK || inner != IO_OK)
            return IO_ERROR;
    }
    return res == IO_END ? IO_OK : IO_ERROR;
}
