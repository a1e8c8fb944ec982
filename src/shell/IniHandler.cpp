#include "shell/IniHandler.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

namespace vml {

namespace fs = std::filesystem;

IniHandler::IniHandler(std::string_view fullPath)
{
    if (fullPath.size() < settingsPathSize)
        std::memcpy(path, fullPath.data(), fullPath.size());
}

int IniHandler::ensureWritable()
{
    if (path[0] == '\0')
        return 0;
    if (std::FILE* f = std::fopen(path, "a")) {
        std::fclose(f);
        return 0;
    }

    const std::string& userDir = productDataDir();
    std::string name = fs::path(path).filename().string();
    std::string target = userDir + name;
    if (userDir.empty() || name.empty() || target.size() >= settingsPathSize)
        return 0;

    std::error_code ec;
    // Parents too: unlike the platform's common data folder, ours may not exist yet.
    fs::create_directories(userDir, ec);
    // The copy takes the installed file's permissions; it must stay writable to serve as the copy.
    if (fs::is_regular_file(path, ec) && fs::copy_file(path, target, fs::copy_options::skip_existing, ec))
        fs::permissions(target, fs::perms::owner_write, fs::perm_options::add, ec);

    std::memcpy(path, target.c_str(), target.size() + 1);
    return 1;
}

}  // namespace vml
