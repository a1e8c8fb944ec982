#include "host/ChunkReader.h"
#include "host/ChunkWriter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// Appends a chunk header with a raw length word.
void putHeader(std::vector<std::uint8_t>& out, std::uint16_t id, std::uint32_t word)
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
IOResult walkChunks(ChunkReader& reader, WalkStats& stats)
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

// Two top-level chunks; the first nests a data chunk, an empty chunk and a container.
Bytes sampleStream()
{
    ChunkWriter w;
    w.BeginChunk(0x1000);
    w.BeginChunk(0x0001);
    writeValue(&w, std::int32_t(-5));
    writeString(&w, "painterly");
    w.EndChunk();
    w.BeginChunk(0x0002);
    w.EndChunk();
    w.BeginChunk(0x0003);
    w.BeginChunk(0x0004);
    writeValue(&w, 2.5f);
    w.EndChunk();
    w.EndChunk();
    w.EndChunk();
    w.BeginChunk(0x2000);
    writeValue(&w, std::uint16_t(0xBEEF));
    w.EndChunk();
    EXPECT_EQ(w.Status(), IO_OK);
    return w.Bytes();
}

TEST(ChunkWriter, LaysChunksOutAsDocumented)
{
    ChunkWriter w;
    w.BeginChunk(0x1234);
    w.BeginChunk(0x0001);
    writeValue(&w, std::uint8_t(0xAB));
    w.EndChunk();
    w.EndChunk();
    ASSERT_EQ(w.Status(), IO_OK);
    const Bytes expected = {0x34, 0x12, 13, 0, 0, 0x80,  // container, 6 + 7 bytes
                            0x01, 0x00, 7,  0, 0, 0,     // data chunk, 6 + 1 bytes
                            0xAB};
    EXPECT_EQ(w.Bytes(), expected);
}

// Runs a writer script: B begins a chunk, E ends one, W writes four bytes.
IOResult writerStatus(const std::string& script)
{
    ChunkWriter w;
    for (char c : script) {
        if (c == 'B')
            w.BeginChunk(1);
        else if (c == 'E')
            w.EndChunk();
        else
            writeValue(&w, 1);
    }
    return w.Status();
}

TEST(ChunkWriter, DetectsMisuse)
{
    EXPECT_EQ(writerStatus("BWEBBEE"), IO_OK);
    EXPECT_EQ(writerStatus("E"), IO_ERROR);      // nothing to end
    EXPECT_EQ(writerStatus("BBE"), IO_ERROR);    // left open
    EXPECT_EQ(writerStatus("W"), IO_ERROR);      // data outside a chunk
    EXPECT_EQ(writerStatus("BWBEE"), IO_ERROR);  // data, then a sub-chunk
    EXPECT_EQ(writerStatus("BBEWE"), IO_ERROR);  // a sub-chunk, then data
    EXPECT_EQ(writerStatus("BEEBE"), IO_ERROR);  // misuse is sticky
    const std::string deepest = std::string(kMaxChunkDepth, 'B') + std::string(kMaxChunkDepth, 'E');
    EXPECT_EQ(writerStatus(deepest), IO_OK);
    EXPECT_EQ(writerStatus("B" + deepest + "E"), IO_ERROR);
}

TEST(ChunkReader, WalksNestedChunksAndSkipsWhatIsNotRead)
{
    const Bytes bytes = sampleStream();
    ChunkReader r(bytes);
    ASSERT_EQ(r.OpenChunk(), IO_OK);
    EXPECT_TRUE(r.CurChunkIsContainer());
    ASSERT_EQ(r.OpenChunk(), IO_OK);
    std::int32_t i = 0;
    std::string s;
    EXPECT_EQ(readValue(&r, i), IO_OK);
    EXPECT_EQ(readString(&r, s), IO_OK);
    EXPECT_EQ(i, -5);
    EXPECT_EQ(s, "painterly");
    EXPECT_EQ(r.OpenChunk(), IO_END);  // a fully read data chunk has no sub-chunks
    EXPECT_EQ(r.CloseChunk(), IO_OK);
    EXPECT_EQ(r.CloseChunk(), IO_OK);  // the rest of 0x1000 is skipped unread
    ASSERT_EQ(r.OpenChunk(), IO_OK);
    EXPECT_EQ(r.CurChunkID(), 0x2000);
    EXPECT_EQ(r.CloseChunk(), IO_OK);
    EXPECT_EQ(r.OpenChunk(), IO_END);
    EXPECT_EQ(r.CloseChunk(), IO_ERROR);
    EXPECT_EQ(r.CurChunkID(), 0);
}

TEST(ChunkReader, ReadStopsAtTheEndOfTheChunk)
{
    Bytes bytes;
    putHeader(bytes, 1, 6 + 3);
    bytes.insert(bytes.end(), {1, 2, 3});
    putHeader(bytes, 2, 6 + 1);
    bytes.push_back(0xEE);
    ChunkReader r(bytes);
    std::uint8_t buf[8] = {};
    ULONG n = 99;
    EXPECT_EQ(r.Read(buf, 1, &n), IO_ERROR);  // nothing open
    EXPECT_EQ(n, 0u);
    ASSERT_EQ(r.OpenChunk(), IO_OK);
    EXPECT_EQ(r.Read(buf, 1, &n), IO_OK);
    EXPECT_EQ(r.OpenChunk(), IO_ERROR);  // data left: not a sub-chunk
    EXPECT_EQ(r.Read(buf, 8, &n), IO_ERROR);
    EXPECT_EQ(n, 2u);
    EXPECT_EQ(buf[1], 3);
    EXPECT_EQ(buf[2], 0);  // nothing of the next chunk
    EXPECT_EQ(r.Read(buf, 1, &n), IO_ERROR);
    EXPECT_EQ(n, 0u);
    std::uint32_t v = 7;
    EXPECT_EQ(readValue(&r, v), IO_ERROR);
    EXPECT_EQ(v, 7u);  // a short read leaves the value alone
}

// Headers cut short or running past the stream are covered by the truncation test below.
TEST(ChunkReader, RefusesMalformedHeaders)
{
    Bytes shortLength, childTooLong;
    putHeader(shortLength, 1, 5);
    EXPECT_EQ(ChunkReader(shortLength).OpenChunk(), IO_ERROR);
    putHeader(childTooLong, 1, (6 + 6) | kChunkContainerBit);
    putHeader(childTooLong, 2, 6 + 1);  // claims a byte beyond its parent
    childTooLong.push_back(0);
    ChunkReader r(childTooLong);
    ASSERT_EQ(r.OpenChunk(), IO_OK);
    EXPECT_EQ(r.OpenChunk(), IO_ERROR);
    EXPECT_EQ(r.OpenChunk(), IO_ERROR);  // stays refused, so a loader loop ends
}

TEST(ChunkReader, NestingDepthIsBounded)
{
    // 100 containers, each claiming exactly the rest of the stream.
    const int levels = 100;
    Bytes bytes;
    for (int i = 0; i < levels; ++i)
        putHeader(bytes, 1, static_cast<std::uint32_t>(6 * (levels - i)) | kChunkContainerBit);
    ChunkReader r(bytes);
    int opened = 0;
    while (r.OpenChunk() == IO_OK)
        ++opened;
    EXPECT_EQ(opened, kMaxChunkDepth);
    WalkStats stats;
    ChunkReader again(bytes);
    EXPECT_EQ(walkChunks(again, stats), IO_ERROR);
}

TEST(ChunkIO, StringsRoundTripAndCorruptCountsFail)
{
    const std::string texts[] = {"", std::string(10000, 'x'), "\xE7\xB7\x9A"};  // UTF-8 survives as bytes
    ChunkWriter w;
    w.BeginChunk(1);
    for (const std::string& t : texts)
        writeString(&w, t);
    w.EndChunk();
    ASSERT_EQ(w.Status(), IO_OK);
    ChunkReader r(w.Bytes());
    ASSERT_EQ(r.OpenChunk(), IO_OK);
    for (const std::string& t : texts) {
        std::string back = "old";
        EXPECT_EQ(readString(&r, back), IO_OK);
        EXPECT_EQ(back, t);
    }
    Bytes huge;
    putHeader(huge, 1, 6 + 4 + 2);
    huge.insert(huge.end(), {0xFF, 0xFF, 0xFF, 0xFF, 'h', 'i'});
    ChunkReader hr(huge);
    ASSERT_EQ(hr.OpenChunk(), IO_OK);
    std::string s = "kept";
    EXPECT_EQ(readString(&hr, s), IO_ERROR);
    EXPECT_EQ(s, "kept");
}

TEST(ChunkReader, EveryTruncationFailsUnlessItEndsBetweenTopLevelChunks)
{
    const Bytes full = sampleStream();
    const std::size_t firstEnd = full.size() - (6 + 2);  // the second top-level chunk is 8 bytes
    for (std::size_t n = 0; n <= full.size(); ++n) {
        const Bytes prefix(full.begin(),
                           full.begin() + static_cast<std::ptrdiff_t>(n));  // exact size for ASan
        ChunkReader r(prefix);
        WalkStats stats;
        const IOResult res = walkChunks(r, stats);
        const bool boundary = n == 0 || n == firstEnd || n == full.size();
        EXPECT_EQ(res, boundary ? IO_OK : IO_ERROR) << "prefix " << n;
        EXPECT_LE(stats.bytesRead, n);
    }
}

TEST(ChunkReader, RandomCorruptionNeverEscapesTheBuffer)
{
    const Bytes full = sampleStream();
    std::mt19937 rng(20240607);
    for (int round = 0; round < 5000; ++round) {
        Bytes bytes = full;
        const int flips = 1 + static_cast<int>(rng() % 4);
        for (int f = 0; f < flips; ++f)
            bytes[rng() % bytes.size()] = static_cast<std::uint8_t>(rng());
        bytes.resize(bytes.size() - rng() % 3);
        ChunkReader r(bytes);
        WalkStats stats;
        walkChunks(r, stats);
        // Every opened chunk consumes at least a header of its parent.
        EXPECT_LE(stats.bytesRead + static_cast<std::size_t>(stats.opened) * kChunkHeaderSize, bytes.size())
            << "round " << round;
    }
}

}  // namespace
