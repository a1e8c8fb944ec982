#include "host/PrivateProfile.h"

#include "host/FileReplace.h"

#define SI_CONVERT_ICU
#include <SimpleIni.h>

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>
#include <string_view>

namespace {

enum class LoadResult { Loaded, Missing, Unreadable };

LoadResult load(CSimpleIniA& ini, const char* path)
{
    ini.SetUnicode(true);
    ini.SetMultiKey(false);
    ini.SetMultiLine(false);
    ini.SetSpaces(false);
    struct stat st {};
    if (::stat(path, &st) != 0)
        return errno == ENOENT ? LoadResult::Missing : LoadResult::Unreadable;
    if (!S_ISREG(st.st_mode))
        return LoadResult::Unreadable;
    return ini.LoadFile(path) < 0 ? LoadResult::Unreadable : LoadResult::Loaded;
}

bool hasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

// Rejects names and values that the file could not give back unchanged.
bool writable(const char* section, const char* key, const char* value)
{
    std::string_view s(section);
    if (s.empty() || hasLineBreak(s) || s.find(']') != std::string_view::npos)
        return false;
    if (key) {
        std::string_view k(key);
        if (k.empty() || hasLineBreak(k) || k.find('=') != std::string_view::npos)
            return false;
    }
    return !value || !hasLineBreak(value);
}

std::mutex& writeMutex()
{
    static std::mutex m;
    return m;
}

}  // namespace

DWORD getPrivateProfileString(const char* section, const char* key, const char* defaultValue, char* buffer,
                              DWORD size, const char* path)
{
    if (!buffer || size == 0)
        return 0;
    const char* value = defaultValue ? defaultValue : "";
    CSimpleIniA ini;
    if (section && key && path && *path && load(ini, path) == LoadResult::Loaded) {
        if (const char* found = ini.GetValue(section, key, nullptr))
            value = found;
    }
    std::size_t n = std::min<std::size_t>(std::strlen(value), size - 1);
    std::memcpy(buffer, value, n);
    buffer[n] = '\0';
    return static_cast<DWORD>(n);
}

BOOL writePrivateProfileString(const char* section, const char* key, const char* value, const char* path)
{
    if (!section || !path || !*path || !writable(section, key, value))
        return FALSE;
    std::lock_guard<std::mutex> lock(writeMutex());
    CSimpleIniA ini;
    if (load(ini, path) == LoadResult::Unreadable)
        return FALSE;
    if (!key)
        ini.Delete(section, nullptr);
    else if (!value)
        ini.Delete(section, key);
    else if (ini.SetValue(section, key, value) < 0)
        return FALSE;
    std::string text;
    if (ini.Save(text) < 0)
        return FALSE;
    return replaceFileContents(path, text.data(), text.size()) ? TRUE : FALSE;
}
