#include "shell/SettingsLocations.h"

#include "host/Interface.h"

#include <cstring>
#include <mutex>

namespace vml {

namespace {

struct Locations {
    bool known = false;
    char pluginConfig[settingsPathSize] = {};
    std::string maker;
    std::string product;
};

std::mutex locationsMutex;
Locations locations;

// Fills the locations from the host the first time one is installed; afterwards they never change,
// so the answers handed out stay valid.
const Locations& knownLocations()
{
    static const Locations unknown;
    std::lock_guard<std::mutex> lock(locationsMutex);
    if (locations.known)
        return locations;
    Interface* core = GetCOREInterface();
    if (!core)
        return unknown;

    const char* config = core->GetDir(APP_PLUGCFG_DIR);
    if (config && std::strlen(config) < settingsPathSize)
        std::strcpy(locations.pluginConfig, config);

    const char* data = core->GetDir(APP_MACHINE_DATA_DIR);
    if (data && *data) {
        locations.maker = data;
        if (locations.maker.back() != '/')
            locations.maker += '/';
        locations.maker += "KOBAN";
        locations.product = locations.maker + "/Vermil+/";
    }
    locations.known = true;
    return locations;
}

}  // namespace

const char* pluginConfigDir() { return knownLocations().pluginConfig; }
const std::string& makerDataDir() { return knownLocations().maker; }
const std::string& productDataDir() { return knownLocations().product; }

std::string settingsFilePath(std::string_view fileName)
{
    std::string dir = pluginConfigDir();
    return dir.empty() ? std::string() : dir + std::string(fileName);
}

}  // namespace vml
