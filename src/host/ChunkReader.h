#pragma once
// ILoad over a byte span in the stream format described in ChunkIO.h. Built for untrusted input:
// it never reads outside the span nor outside the open chunk, and every malformed header is
// answered with IO_ERROR rather than trusted.

#include "host/ChunkIO.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

class ChunkReader final : public ILoad {
public:
    // The span must outlive the reader. sourceName names the data in messages (a file's path).
    explicit ChunkReader(std::span<const std::uint8_t> bytes, std::string sourceName = {})
        : bytes_(bytes), sourceName_(std::move(sourceName))
    {}

    // IO_END when the current level holds no more chunks (also inside a data chunk whose bytes
    // have all been read). IO_ERROR, without moving, for a header that does not fit in what is
    // left of its parent, a length below the header size, a header inside data that is still
    // unread, or nesting past kMaxChunkDepth.
    IOResult OpenChunk() override;
    // Id of the innermost open chunk, 0 when none is open.
    USHORT CurChunkID() override;
    // Moves past the end of the innermost chunk; IO_ERROR when none is open.
    IOResult CloseChunk() override;
    // Only a data chunk can be read; reading at the top level or from a chunk that holds
    // sub-chunks answers IO_ERROR.
    IOResult Read(void* buf, ULONG nbytes, ULONG* nread) override;
    std::string SourceName() const override { return sourceName_; }

    int Depth() const { return static_cast<int>(open_.size()); }
    bool CurChunkIsContainer() const { return !open_.empty() && open_.back().container; }
    // Unread bytes of the innermost open chunk (of the stream at the top level).
    std::size_t Remaining() const { return limit() - pos_; }

private:
    struct Open {
        USHORT id;
        std::size_t end;
        bool container;
    };
    std::size_t limit() const { return open_.empty() ? bytes_.size() : open_.back().end; }

    std::span<const std::uint8_t> bytes_;
    std::string sourceName_;
    std::vector<Open> open_;
    std::size_t pos_ = 0;
};
