#pragma once
// A file's extension as the readers and writers pick formats by it: with its dot, lower case
// (".glb", ".exr"); empty when the name has none.

#include <cctype>
#include <filesystem>
#include <string>

namespace standalone {

inline std::string lowerExtension(const std::filesystem::path& path)
{
    std::string ext = path.extension().string();
    for (char& ch : ext)
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return ext;
}

}  // namespace standalone
