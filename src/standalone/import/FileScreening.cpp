#include "standalone/import/FileScreening.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace standalone::import {

namespace {

constexpr std::size_t kChunkHeader = 6;
// A track: u16 flags, 8 bytes Assimp skips, u32 key count, then the keys.
constexpr std::size_t kTrackHeader = 14;
constexpr std::size_t kSmallestKey = 6;
constexpr int kMaxDepth = 16;
constexpr std::array<std::uint8_t, 4> kGltfMagic = {'g', 'l', 'T', 'F'};
constexpr std::size_t kGltfHeader = 20;

std::uint32_t le32(std::span<const std::uint8_t> b, std::size_t at)
{
    return std::uint32_t{b[at]} | std::uint32_t{b[at + 1]} << 8 | std::uint32_t{b[at + 2]} << 16 |
           std::uint32_t{b[at + 3]} << 24;
}

// The main chunk, the keyframer and its node chunks hold the tracks (0xB020-0xB02F).
bool holdsTracks(unsigned id) { return id == 0x4D4D || (id >= 0xB000 && id <= 0xB00F); }

std::optional<std::string> screenChunks(std::span<const std::uint8_t> b, std::size_t begin, std::size_t end,
                                        int depth)
{
    for (std::size_t at = begin; end - at >= kChunkHeader;) {
        const unsigned id = b[at] | b[at + 1] << 8;
        const std::uint32_t length = le32(b, at + 2);
        if (length < kChunkHeader)
            return std::nullopt;  // Assimp stops reading here
        // Assimp reads a chunk longer than what holds it up to the end of the holder.
        const std::size_t stop = length > end - at ? end : at + length;
        const std::size_t body = at + kChunkHeader;
        if (id >= 0xB020 && id <= 0xB02F && stop - body >= kTrackHeader) {
            const std::uint64_t keys = le32(b, body + 10);
            const std::size_t room = (stop - body - kTrackHeader) / kSmallestKey;
            if (keys > room)
                return "the keyframe track at byte " + std::to_string(at) + " says it holds " +
                       std::to_string(keys) + " keys, but its chunk has room for " + std::to_string(room);
        } else if (holdsTracks(id) && depth < kMaxDepth) {
            if (auto reason = screenChunks(b, body, stop, depth + 1))
                return reason;
        }
        at = stop;
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> screenBinaryGltf(std::span<const std::uint8_t> header, std::uint64_t fileSize)
{
    // Both versions' headers take 20 bytes and give the length of the JSON that follows at byte 12:
    // version 1 as the scene's length, version 2 as the first chunk's.
    if (header.size() < kGltfHeader || fileSize < kGltfHeader ||
        !std::equal(kGltfMagic.begin(), kGltfMagic.end(), header.begin()))
        return std::nullopt;
    const std::uint64_t json = le32(header, 12);
    if (json > fileSize - kGltfHeader)
        return "the binary glTF header says its JSON takes " + std::to_string(json) +
               " bytes, but the file has " + std::to_string(fileSize - kGltfHeader) + " after the header";
    return std::nullopt;
}

std::optional<std::string> screenThreeDs(std::span<const std::uint8_t> bytes)
{
    return screenChunks(bytes, 0, bytes.size(), 0);
}

std::optional<std::string> screenModelFile(const std::string& path)
{
    std::string ext = std::filesystem::path(path).extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    std::ifstream in(path, std::ios::binary);
    // Assimp reads a file as binary glTF by its extension only; its header is all that is checked.
    if (ext == ".glb") {
        std::array<std::uint8_t, kGltfHeader> header{};
        in.read(reinterpret_cast<char*>(header.data()), header.size());
        std::error_code ec;
        const std::uintmax_t size = std::filesystem::file_size(path, ec);
        if (in.gcount() != std::streamsize(header.size()) || ec)
            return std::nullopt;
        return screenBinaryGltf(header, size);
    }
    if (ext != ".3ds")
        return std::nullopt;
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                          std::istreambuf_iterator<char>()};
    return in.bad() ? std::nullopt : screenThreeDs(bytes);
}

}  // namespace standalone::import
