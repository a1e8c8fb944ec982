#pragma once
// The path of one settings file, made writable before use. A reader or writer builds one on the
// stack with settingsFilePath(name), calls ensureWritable(), then reads and writes keys with the
// private-profile calls on `path`.

#include "shell/SettingsLocations.h"

#include <string_view>

namespace vml {

class IniHandler {
public:
    IniHandler() = default;
    // An empty path when fullPath does not fit the buffer.
    explicit IniHandler(std::string_view fullPath);
    virtual ~IniHandler() = default;

    // Keeps `path` when the file there can be opened for appending (which creates it in a writable
    // directory) and answers 0. Otherwise redirects `path` to productDataDir() + the file's name,
    // creating the folders and copying the installed file there unless a copy already exists, and
    // answers 1: the user copy starts as the installed file once and is never replaced by it. Also
    // 0, with `path` unchanged, when `path` is empty or there is no user folder to redirect to.
    // Failures to create or copy are not reported: the caller then reads defaults and its writes
    // may fail.
    virtual int ensureWritable();

    char path[settingsPathSize] = {};
};

}  // namespace vml
