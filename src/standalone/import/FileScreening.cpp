#include "standalone/import/FileScreening.h"

#include "standalone/FileExtension.h"
#include "standalone/document/JsonText.h"
#include "standalone/import/PlyScreening.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <string_view>
#include <utility>
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

// Walks a glTF's JSON without building it, for the media types Assimp reads with strchr(type, '/')
// + 1 and no test of the result: every "mimeType", and every "uri" that is a data URI (its type
// runs from "data:" to the first ';' or ','; an empty one stands for "text/plain").
class MediaTypeCheck : public nlohmann::json::json_sax_t {
public:
    std::optional<std::string> fault;

    bool null() override { return value(); }
    bool boolean(bool) override { return value(); }
    bool number_integer(number_integer_t) override { return value(); }
    bool number_unsigned(number_unsigned_t) override { return value(); }
    bool number_float(number_float_t, const string_t&) override { return value(); }
    bool binary(binary_t&) override { return value(); }
    bool string(string_t& text) override
    {
        if (!path_.empty() && !path_.back().inArray) {
            const std::string& key = path_.back().key;
            std::string_view type;
            if (key == "mimeType")
                type = text;
            else if (key == "uri" && text.starts_with("data:"))
                type = std::string_view(text).substr(5, text.find_first_of(";,", 5) - 5);
            if (!type.empty() && type.find('/') == std::string_view::npos) {
                fault = where() + " gives the media type \"" + document::printable(type) +
                        "\", which has no '/' (a media type is \"type/subtype\", as in \"image/png\")";
                return false;
            }
        }
        return value();
    }
    bool start_object(std::size_t) override { return open(false); }
    bool key(string_t& name) override
    {
        path_.back().key = name;
        return true;
    }
    bool end_object() override { return close(); }
    bool start_array(std::size_t) override { return open(true); }
    bool end_array() override { return close(); }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override
    {
        return false;  // text that is not JSON is Assimp's to refuse
    }

private:
    struct Level {
        bool inArray;
        std::size_t index = 0;
        std::string key;
    };
    std::vector<Level> path_;

    bool open(bool array)
    {
        path_.push_back({array, 0, {}});
        return true;
    }
    bool close()
    {
        path_.pop_back();
        return value();
    }
    // A value ended: the next one in an array has the next index.
    bool value()
    {
        if (!path_.empty() && path_.back().inArray)
            ++path_.back().index;
        return true;
    }
    // The member being read, as in images[0].uri.
    std::string where() const
    {
        std::string at;
        for (const Level& level : path_)
            at += level.inArray ? "[" + std::to_string(level.index) + "]"
                                : (at.empty() ? "" : ".") + document::printable(level.key);
        return at;
    }
};

// Whether the raw text could hold a media type without a '/', looked for without parsing: a file
// whose images carry megabytes of base64 is passed over in one scan. A '/' in a string's raw text
// is one in its value too; an escape, or anything unexpected, counts as suspect, and then the
// parse decides.
bool mayHoldBadMediaType(std::string_view text)
{
    // Whether the raw type from `at` to the first of `stops` lacks a '/', or holds an escape.
    auto suspect = [&text](std::size_t at, std::string_view stops) {
        const std::size_t end = text.find_first_of(stops, at);
        return end == std::string_view::npos || text[end] == '\\' ||
               text.substr(at, end - at).find('/') == std::string_view::npos;
    };
    // A \u escape can spell a key or a type in other bytes than its own.
    if (text.find("\\u") != std::string_view::npos)
        return true;
    auto skipSpace = [&text](std::size_t at) { return text.find_first_not_of(" \t\r\n", at); };
    // "mimeType" : "type/subtype"
    constexpr std::string_view key = "\"mimeType\"";
    for (std::size_t at = text.find(key); at != std::string_view::npos; at = text.find(key, at + 1)) {
        std::size_t v = skipSpace(at + key.size());
        if (v == std::string_view::npos || text[v] != ':')
            continue;  // not a key
        v = skipSpace(v + 1);
        if (v != std::string_view::npos && text[v] == '"' && suspect(v + 1, "\"\\"))
            return true;
    }
    // "data:type/subtype;base64,... or "data:type/subtype,...; an empty type stands for text/plain.
    constexpr std::string_view data = "\"data:";
    for (std::size_t at = text.find(data); at != std::string_view::npos; at = text.find(data, at + 1)) {
        const std::size_t type = at + data.size();
        if (type < text.size() && (text[type] == ';' || text[type] == ','))
            continue;
        if (suspect(type, ";,\"\\"))
            return true;
    }
    return false;
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

std::optional<std::string> screenGltfJson(std::string json)
{
    if (!mayHoldBadMediaType(json))
        return std::nullopt;
    // Assimp's JSON reader takes strings that are not UTF-8 as they are; ours would stop at them.
    std::replace_if(
        json.begin(), json.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; }, '?');
    MediaTypeCheck check;
    nlohmann::json::sax_parse(json.begin(), json.end(), &check);
    return check.fault;
}

std::optional<std::string> screenThreeDs(std::span<const std::uint8_t> bytes)
{
    return screenChunks(bytes, 0, bytes.size(), 0);
}

std::optional<std::string> screenModelFile(const std::string& path)
{
    const std::string ext = lowerExtension(path);
    std::ifstream in(path, std::ios::binary);
    // The whole file, in one read.
    auto readAll = [&in] {
        in.clear();
        in.seekg(0, std::ios::end);
        std::string bytes(static_cast<std::size_t>(std::max<std::streamoff>(in.tellg(), 0)), '\0');
        in.seekg(0);
        in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return bytes;
    };
    // Assimp reads a file as binary glTF by its extension only; its header, then the JSON it gives.
    if (ext == ".glb") {
        std::array<std::uint8_t, kGltfHeader> header{};
        in.read(reinterpret_cast<char*>(header.data()), header.size());
        std::error_code ec;
        const std::uintmax_t size = std::filesystem::file_size(path, ec);
        if (in.gcount() != std::streamsize(header.size()) || ec)
            return std::nullopt;
        if (auto reason = screenBinaryGltf(header, size))
            return reason;
        if (!std::equal(kGltfMagic.begin(), kGltfMagic.end(), header.begin()))
            return std::nullopt;  // not binary glTF: Assimp refuses it
        // The header's JSON length is within the file now.
        std::string json(le32(header, 12), '\0');
        in.read(json.data(), std::streamsize(json.size()));
        return in ? screenGltfJson(std::move(json)) : std::nullopt;
    }
    if (ext == ".3ds") {
        const std::string bytes = readAll();
        return in.bad() ? std::nullopt
                        : screenThreeDs(
                              std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
    }
    // Assimp reads a file that starts as PLY does as PLY when no reader claims its extension; such a
    // file is checked whatever its extension, as no other format starts so.
    std::array<char, 3> magic{};
    in.read(magic.data(), magic.size());
    if (ext == ".ply" || (in && startsAsPly(std::string_view(magic.data(), magic.size())))) {
        const std::string bytes = readAll();
        return in.bad() ? std::nullopt : screenPly(bytes);
    }
    in.clear();
    in.seekg(0);
    // Assimp tries its glTF readers on any text that starts as JSON does when no reader claims the
    // extension; text that does is checked whatever its extension.
    char first = 0;
    while (in.get(first) && std::isspace(static_cast<unsigned char>(first))) {
    }
    if (!in || first != '{')
        return std::nullopt;
    std::string text = readAll();
    return in.bad() ? std::nullopt : screenGltfJson(std::move(text));
}

}  // namespace standalone::import
