#pragma once
// A fresh directory under the system's temporary folder, removed with everything in it (read-only
// parts included) when the object goes; and whole-file text helpers for tests that use one. The
// one temporary folder of every test.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <system_error>

namespace test_support {

class TempDir {
public:
    TempDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "vermil_test_XXXXXX").string();
        if (::mkdtemp(pattern.data()))
            path_ = pattern;
    }
    ~TempDir()
    {
        if (path_.empty())
            return;
        std::error_code ec;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(path_, ec))
            if (entry.is_directory(ec))
                std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                             std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // The directory with a trailing '/', as the host answers directories.
    std::string dir() const { return path_.string() + "/"; }

    // Writes text to name inside the directory (making its folders) and answers the file's path.
    std::string write(const std::string& name, const std::string& text) const
    {
        const std::filesystem::path file = path_ / name;
        std::filesystem::create_directories(file.parent_path());
        writeText(file, text);
        return file.string();
    }
    static std::string readText(const std::filesystem::path& p)
    {
        std::ifstream in(p, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    static void writeText(const std::filesystem::path& p, const std::string& text)
    {
        std::ofstream(p, std::ios::binary) << text;
    }

private:
    std::filesystem::path path_;
};

}  // namespace test_support
