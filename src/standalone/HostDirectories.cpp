#include "standalone/HostDirectories.h"

#include "host/Interface.h"
#include "standalone/StandaloneCore.h"

#include <cstdlib>
#include <filesystem>

namespace standalone {

namespace {

std::string withSlash(std::string dir)
{
    if (!dir.empty() && dir.back() != '/')
        dir += '/';
    return dir;
}

std::string resolve(const std::function<const char*(const char*)>& lookup, const char* override,
                    const char* xdgVariable, const char* homeRelative, const char* suffix)
{
    const char* value = lookup(override);
    if (value && *value)
        return withSlash(value);
    const char* xdg = lookup(xdgVariable);
    if (xdg && *xdg == '/')
        return withSlash(xdg) + suffix;
    const char* home = lookup("HOME");
    if (home && *home)
        return withSlash(home) + homeRelative + suffix;
    return {};
}

}  // namespace

HostDirectories hostDirectoriesFromEnvironment(const std::function<const char*(const char*)>& lookup)
{
    std::function<const char*(const char*)> get = lookup;
    if (!get)
        get = [](const char* name) -> const char* { return std::getenv(name); };
    HostDirectories dirs;
    dirs.pluginConfig = resolve(get, "VERMIL_PLUGCFG_DIR", "XDG_CONFIG_HOME", ".config/", "vermil/plugcfg/");
    dirs.machineData = resolve(get, "VERMIL_DATA_DIR", "XDG_DATA_HOME", ".local/share/", "vermil/");
    return dirs;
}

void setHostDirectories(StandaloneCore& core, const HostDirectories& dirs)
{
    core.setDir(APP_PLUGCFG_DIR, dirs.pluginConfig);
    core.setDir(APP_MACHINE_DATA_DIR, dirs.machineData);
    if (!dirs.pluginConfig.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(dirs.pluginConfig, ec);
    }
}

}  // namespace standalone
