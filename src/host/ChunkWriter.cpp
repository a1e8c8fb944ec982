#include "host/ChunkWriter.h"

#include <cstring>

namespace {

void putU16(std::uint8_t* p, std::uint16_t v)
{
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}

void putU32(std::uint8_t* p, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

}  // namespace

void ChunkWriter::BeginChunk(USHORT id)
{
    if (failed_)
        return;
    if (Depth() >= kMaxChunkDepth) {
        fail();
        return;
    }
    if (!open_.empty()) {
        if (open_.back().hasData) {
            fail();
            return;
        }
        open_.back().hasChildren = true;
    }
    const std::size_t start = bytes_.size();
    bytes_.resize(start + kChunkHeaderSize);
    putU16(&bytes_[start], id);
    putU32(&bytes_[start + 2], 0);  // patched by EndChunk
    open_.push_back({start});
}

void ChunkWriter::EndChunk()
{
    if (failed_)
        return;
    if (open_.empty()) {
        fail();
        return;
    }
    const OpenChunk chunk = open_.back();
    open_.pop_back();
    const std::size_t length = bytes_.size() - chunk.start;
    if (length > kMaxChunkLength) {
        fail();
        return;
    }
    const auto word = static_cast<std::uint32_t>(length) | (chunk.hasChildren ? kChunkContainerBit : 0u);
    putU32(&bytes_[chunk.start + 2], word);
}

IOResult ChunkWriter::Write(const void* buf, ULONG nbytes, ULONG* nwrit)
{
    if (nwrit)
        *nwrit = 0;
    if (failed_)
        return IO_ERROR;
    if (open_.empty() || (nbytes > 0 && (open_.back().hasChildren || !buf))) {
        fail();
        return IO_ERROR;
    }
    if (nbytes > 0) {
        open_.back().hasData = true;
        const std::size_t at = bytes_.size();
        bytes_.resize(at + nbytes);
        std::memcpy(&bytes_[at], buf, nbytes);
    }
    if (nwrit)
        *nwrit = nbytes;
    return IO_OK;
}

IOResult ChunkWriter::Status() const { return failed_ || !open_.empty() ? IO_ERROR : IO_OK; }
