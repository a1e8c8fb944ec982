// The settings files: private-profile text read by the material presets and the line settings.
// Beyond not crashing, a write of one key must read back as written and leave the keys around it
// as they were; a refused write must leave the file's bytes alone.

#include "FuzzHost.h"

#include "host/PrivateProfile.h"
#include "line/LineSettingsFile.h"
#include "material/MaterialPresetFile.h"

#include <fstream>
#include <iterator>
#include <map>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace {

using fuzz::fail;
using Place = std::pair<std::string, std::string>;  // section, key

template <class Keys> void addKeys(std::vector<Place>& places, const char* section, Keys keys)
{
    for (const auto& k : keys)
        places.emplace_back(section, k.key);
}

const std::vector<Place>& knownPlaces()
{
    static const std::vector<Place> places = [] {
        std::vector<Place> p;
        addKeys(p, vml::brushPresetSection, vml::brushPresetKeys());
        addKeys(p, vml::strokePresetSection, vml::strokePresetKeys());
        addKeys(p, vml::paintPresetSection, vml::paintPresetKeys());
        addKeys(p, vml::lineSettingsSection, vml::lineSettingsKeys());
        addKeys(p, vml::lineSettingsSection, vml::linePaintSettingsKeys());
        return p;
    }();
    return places;
}

// A missing key reads as this, which no file can hold as a value (a value has no line break).
constexpr char missing[] = "\n";

std::map<Place, std::string> readAll(const std::vector<Place>& places, const std::string& path)
{
    std::map<Place, std::string> values;
    char text[4096];
    for (const Place& p : places) {
        getPrivateProfileString(p.first.c_str(), p.second.c_str(), missing, text, sizeof text, path.c_str());
        values[p] = text;
    }
    return values;
}

std::string bytesOf(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::host();
    if (size == 0)
        return 0;
    const std::string path = fuzz::writeScratchFile("settings.ini", std::span(data, size));
    // Every value read opens the file afresh, so one reader per input keeps the runs fast; the
    // first byte, part of the file too, picks it.
    switch (data[0] % 3) {
    case 0: {
        vml::MaterialPresetValues presets;
        vml::readMaterialPresetFile(path.c_str(), presets);
        return 0;
    }
    case 1: {
        vml::LineSettings line;
        vml::readLineSettingsKeys(path.c_str(), line);
        return 0;
    }
    default: break;
    }

    // Write the key the first byte picks, as the preset and line writers write theirs, and look
    // at it and the keys around it.
    const std::vector<Place>& all = knownPlaces();
    const std::size_t first = data[0] / 3 % all.size();
    std::vector<Place> places;
    for (std::size_t k = 0; k < 8; ++k)
        places.push_back(all[(first + k) % all.size()]);
    const Place& written = places.front();
    const std::string value = "12.500000";
    const std::map<Place, std::string> before = readAll(places, path);
    const std::string bytesBefore = bytesOf(path);
    if (!writePrivateProfileString(written.first.c_str(), written.second.c_str(), value.c_str(),
                                   path.c_str())) {
        if (bytesOf(path) != bytesBefore)
            fail("a refused write changed the file");
        return 0;
    }
    const std::map<Place, std::string> after = readAll(places, path);
    for (const auto& [place, text] : before) {
        const std::string& want = place == written ? value : text;
        if (after.at(place) != want)
            fail("[" + place.first + "] " + place.second + " reads \"" + after.at(place) +
                 "\" after writing [" + written.first + "] " + written.second + ", expected \"" + want +
                 "\"");
    }
    return 0;
}
