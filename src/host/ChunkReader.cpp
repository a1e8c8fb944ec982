#include "host/ChunkReader.h"

#include <algorithm>
#include <cstring>

IOResult ChunkReader::OpenChunk()
{
    const std::size_t end = limit();
    if (!open_.empty() && !open_.back().container)
        return pos_ == end ? IO_END : IO_ERROR;
    if (pos_ == end)
        return IO_END;
    if (Depth() >= kMaxChunkDepth || end - pos_ < kChunkHeaderSize)
        return IO_ERROR;
    const std::uint8_t* p = bytes_.data() + pos_;
    const auto id = static_cast<USHORT>(p[0] | (p[1] << 8));
    std::uint32_t word = 0;
    for (int i = 0; i < 4; ++i)
        word |= static_cast<std::uint32_t>(p[2 + i]) << (8 * i);
    const std::size_t length = word & ~kChunkContainerBit;
    if (length < kChunkHeaderSize || length > end - pos_)
        return IO_ERROR;
    open_.push_back({id, pos_ + length, (word & kChunkContainerBit) != 0});
    pos_ += kChunkHeaderSize;
    return IO_OK;
}

USHORT ChunkReader::CurChunkID() { return open_.empty() ? 0 : open_.back().id; }

IOResult ChunkReader::CloseChunk()
{
    if (open_.empty())
        return IO_ERROR;
    pos_ = open_.back().end;
    open_.pop_back();
    return IO_OK;
}

IOResult ChunkReader::Read(void* buf, ULONG nbytes, ULONG* nread)
{
    if (nread)
        *nread = 0;
    if (open_.empty() || open_.back().container || (nbytes > 0 && !buf))
        return IO_ERROR;
    const std::size_t n = std::min<std::size_t>(nbytes, limit() - pos_);
    if (n > 0)
        std::memcpy(buf, bytes_.data() + pos_, n);
    pos_ += n;
    if (nread)
        *nread = static_cast<ULONG>(n);
    return n == nbytes ? IO_OK : IO_ERROR;
}
