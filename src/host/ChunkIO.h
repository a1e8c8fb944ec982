#pragma once
// Chunked save and load: the interface objects persist themselves through.
//
// Stream format (ChunkWriter writes it, ChunkReader reads it). All numbers are little-endian.
//   stream = chunk*
//   chunk  = u16 id, u32 length, payload
// `length` counts the whole chunk including its 6-byte header. Bit 31 of the length word is set
// when the payload is a sequence of sub-chunks and clear when it is raw data; a chunk never holds
// both. Chunks nest at most kMaxChunkDepth levels deep.

#include "host/MaxTypes.h"

#include <bit>
#include <cstring>
#include <string>
#include <string_view>
#include <type_traits>

static_assert(std::endian::native == std::endian::little, "chunk streams store host memory as little-endian");

enum IOResult { IO_OK = 0, IO_END = 1, IO_ERROR = 2 };

inline constexpr ULONG kChunkHeaderSize = 6;
inline constexpr ULONG kChunkContainerBit = 0x80000000u;
inline constexpr ULONG kMaxChunkLength = 0x7FFFFFFFu;
inline constexpr int kMaxChunkDepth = 64;

// Writing side. Chunks nest: BeginChunk(id) ... EndChunk(); data goes into the innermost chunk.
class ISave {
public:
    virtual ~ISave() = default;
    virtual void BeginChunk(USHORT id) = 0;
    virtual void EndChunk() = 0;
    // Appends nbytes to the open chunk; *nwrit (when given) receives the count written.
    virtual IOResult Write(const void* buf, ULONG nbytes, ULONG* nwrit) = 0;
};

// Reading side. A loader loops: while (OpenChunk() == IO_OK) { switch (CurChunkID()) ...;
// CloseChunk(); }. OpenChunk answers IO_END when this level holds no more chunks and IO_ERROR for a
// malformed header; anything but IO_OK ends the loop. CloseChunk skips what was not read.
class ILoad {
public:
    virtual ~ILoad() = default;
    virtual IOResult OpenChunk() = 0;
    virtual USHORT CurChunkID() = 0;
    virtual IOResult CloseChunk() = 0;
    // Copies up to nbytes of the open data chunk. Asking for more than the chunk still holds
    // copies what there is, reports it in *nread and answers IO_ERROR.
    virtual IOResult Read(void* buf, ULONG nbytes, ULONG* nread) = 0;
    // Where the data comes from (a file's path), for messages; empty when unknown. A service of
    // this host interface.
    virtual std::string SourceName() const { return {}; }
};

// Typed helpers. A value is stored as its bytes in memory, so only plain types belong here: a
// struct with padding writes indeterminate padding bytes.
template <class T> IOResult writeValue(ISave* isave, const T& v)
{
    static_assert(std::is_trivially_copyable_v<T>);
    ULONG n = 0;
    IOResult res = isave->Write(&v, sizeof(T), &n);
    return res == IO_OK && n == sizeof(T) ? IO_OK : IO_ERROR;
}

// Reads sizeof(T) bytes into v; v is left untouched unless the whole value was read. bool and
// enums are refused because an arbitrary byte pattern is not a valid value of them: read an
// integer and validate it.
template <class T> IOResult readValue(ILoad* iload, T& v)
{
    static_assert(std::is_trivially_copyable_v<T>);
    static_assert(!std::is_same_v<T, bool> && !std::is_enum_v<T>, "read an integer and validate it");
    unsigned char raw[sizeof(T)];
    ULONG n = 0;
    if (iload->Read(raw, sizeof(T), &n) != IO_OK || n != sizeof(T))
        return IO_ERROR;
    std::memcpy(&v, raw, sizeof(T));
    return IO_OK;
}

// A string is a u32 byte count followed by the bytes (UTF-8, no terminator).
IOResult writeString(ISave* isave, std::string_view s);
// The stored count is trusted only as far as the chunk really holds bytes, so a corrupt count
// cannot make it allocate more than the stream's size.
IOResult readString(ILoad* iload, std::string& s);
