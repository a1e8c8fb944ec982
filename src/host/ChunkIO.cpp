#include "host/ChunkIO.h"

#include <algorithm>
#include <cstdint>
#include <utility>

IOResult writeString(ISave* isave, std::string_view s)
{
    if (s.size() > kMaxChunkLength)
        return IO_ERROR;
    const auto count = static_cast<std::uint32_t>(s.size());
    if (writeValue(isave, count) != IO_OK)
        return IO_ERROR;
    if (count == 0)
        return IO_OK;
    ULONG n = 0;
    return isave->Write(s.data(), count, &n) == IO_OK && n == count ? IO_OK : IO_ERROR;
}

IOResult readString(ILoad* iload, std::string& s)
{
    std::uint32_t count = 0;
    if (readValue(iload, count) != IO_OK)
        return IO_ERROR;
    std::string text;
    char piece[4096];
    while (count > 0) {
        const ULONG want = std::min<ULONG>(count, sizeof piece);
        ULONG n = 0;
        if (iload->Read(piece, want, &n) != IO_OK || n != want)
            return IO_ERROR;
        text.append(piece, n);
        count -= want;
    }
    s = std::move(text);
    return IO_OK;
}
