#pragma once
// Where the two settings files live: the host's plug-in configuration directory, with a writable
// copy in the maker's folder of the per-machine data folder when that directory is read-only
// (see IniHandler).

#include <cstddef>
#include <string>
#include <string_view>

namespace vml {

// File names, appended directly to pluginConfigDir().
inline constexpr char materialPresetFileName[] = "vermil+.ini";
inline constexpr char linePresetFileName[] = "vermil+_line.ini";

// Size of the path buffers, terminator included.
inline constexpr std::size_t settingsPathSize = 1024;

// The host's plug-in configuration directory (GetDir(APP_PLUGCFG_DIR), which ends in '/'), filled
// once on the first use while a core interface is installed. Empty without a core interface, when
// the host answers none, or when the answer does not fit the buffer (a cut path would name another
// place). Also the start directory of the line file dialogs.
const char* pluginConfigDir();

// The per-machine data folder (GetDir(APP_MACHINE_DATA_DIR)) followed by "KOBAN", computed once
// like pluginConfigDir. Empty when the host answers no folder: the user copy then has no place.
const std::string& makerDataDir();
// makerDataDir() followed by "/Vermil+/"; empty when makerDataDir() is.
const std::string& productDataDir();

// pluginConfigDir() followed by fileName; empty while the directory is unknown, so that callers
// never fall back on the working directory.
std::string settingsFilePath(std::string_view fileName);

}  // namespace vml
