#pragma once
// ISave into a growing byte buffer, in the stream format described in ChunkIO.h.

#include "host/ChunkIO.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class ChunkWriter final : public ISave {
public:
    void BeginChunk(USHORT id) override;
    void EndChunk() override;
    IOResult Write(const void* buf, ULONG nbytes, ULONG* nwrit) override;

    // IO_OK when every chunk has been closed and nothing was misused. Misuse is sticky and makes
    // every later call a no-op: EndChunk without an open chunk, data outside any chunk, data and
    // sub-chunks in one chunk, nesting past kMaxChunkDepth, a chunk longer than kMaxChunkLength.
    IOResult Status() const;
    int Depth() const { return static_cast<int>(open_.size()); }

    // The stream so far; a complete stream only when Status() is IO_OK.
    const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

private:
    struct OpenChunk {
        std::size_t start;
        bool hasData = false;
        bool hasChildren = false;
    };
    void fail() { failed_ = true; }

    std::vector<std::uint8_t> bytes_;
    std::vector<OpenChunk> open_;
    bool failed_ = false;
};
