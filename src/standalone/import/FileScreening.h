#pragma once
// Checks of a model file made before Assimp reads it, for inputs on which Assimp itself misbehaves
// (docs/known-issues.md). Each is cheap next to the import and refuses only files that break their
// format's rules.

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace standalone::import {

// Why the file at path must not reach Assimp, or nothing. A file that cannot be read here is left
// to Assimp, which reports it.
std::optional<std::string> screenModelFile(const std::string& path);

// Binary glTF (versions 1 and 2): Assimp allocates and zeroes the JSON's length as the header gives
// it before reading any, so a corrupt length makes a file of a few bytes take up to 4 GB. A length
// beyond the end of the file is refused. header is the file's first bytes, fileSize its length.
std::optional<std::string> screenBinaryGltf(std::span<const std::uint8_t> header, std::uint64_t fileSize);

// glTF (text, or the JSON of a binary file): Assimp 5.2 finds an image's subtype as the text after
// the '/' of its media type without looking whether there is one, and crashes when there is not.
// A "mimeType", or a data URI's type, without a '/' is refused, naming the member that gives it.
// Text that is not JSON is left to Assimp; bytes past ASCII are read as '?'. Text that plainly holds
// no such type (a scan for the two) is passed without being parsed.
std::optional<std::string> screenGltfJson(std::string json);

// 3DS: Assimp 5.2 reserves a keyframe track's keys by the count the file gives before it reads any,
// so a corrupt count asks for up to 100 GB. A track whose count is more than its chunk could hold
// (each key takes at least 6 bytes: frame and flags) is refused.
std::optional<std::string> screenThreeDs(std::span<const std::uint8_t> bytes);

}  // namespace standalone::import
