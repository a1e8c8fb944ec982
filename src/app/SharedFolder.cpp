#include "app/SharedFolder.h"

#include <filesystem>

namespace app {

namespace {

std::filesystem::path resolved(const std::string& path)
{
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
    const std::filesystem::path real = std::filesystem::weakly_canonical(absolute, ec);
    return (ec ? absolute : real).lexically_normal();
}

}  // namespace

std::vector<std::string> outsideFolder(const std::vector<std::string>& paths, const std::string& folder)
{
    const std::filesystem::path root = resolved(folder);
    std::vector<std::string> outside;
    for (const std::string& path : paths) {
        const std::filesystem::path relative = resolved(path).lexically_relative(root);
        if (relative.empty() || *relative.begin() == "..")
            outside.push_back(path);
    }
    return outside;
}

}  // namespace app
