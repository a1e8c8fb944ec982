#pragma once
// The directories the standalone host answers for APP_PLUGCFG_DIR and APP_MACHINE_DATA_DIR.
//
// Plug-in configuration directory: $VERMIL_PLUGCFG_DIR, else $XDG_CONFIG_HOME/vermil/plugcfg/,
// else $HOME/.config/vermil/plugcfg/. Per-machine data folder: $VERMIL_DATA_DIR, else
// $XDG_DATA_HOME/vermil/, else $HOME/.local/share/vermil/. Empty and relative XDG values are
// ignored, as the XDG rules say. Every answer ends in '/'; empty when nothing applies.

#include <functional>
#include <string>

namespace standalone {

class StandaloneCore;

struct HostDirectories {
    std::string pluginConfig;
    std::string machineData;
};

// `lookup` answers an environment variable or nullptr (std::getenv by default).
HostDirectories hostDirectoriesFromEnvironment(const std::function<const char*(const char*)>& lookup = {});

// Installs both directories in the core and creates the plug-in configuration directory, as an
// installation would have; a failure to create it leaves the system to its user-folder fallback.
void setHostDirectories(StandaloneCore& core, const HostDirectories& dirs);

}  // namespace standalone
