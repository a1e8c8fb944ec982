#include "standalone/images/ExrLayers.h"

#include "host/GBufferChannels.h"
#include "standalone/FileExtension.h"

#include <fmt/format.h>
#include <fmt/ranges.h>

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace standalone {

namespace {

ExrLayer layer(std::string name, ExrLayerKind kind, std::vector<std::string> suffixes, bool half)
{
    ExrLayer l{std::move(name), kind, -1, {}, half};
    for (const std::string& s : suffixes)
        l.channels.push_back(s.empty() ? l.name : l.name + "." + s);
    return l;
}

bool taken(const std::string& name, const std::vector<ExrLayer>& layers)
{
    return std::any_of(layers.begin(), layers.end(), [&](const ExrLayer& l) { return l.name == name; });
}

}  // namespace

std::string exrLayerName(const std::string& elementName, int index, const std::vector<ExrLayer>& layers)
{
    std::string safe;
    for (char c : elementName) {
        const auto u = static_cast<unsigned char>(c);
        const bool keep = u < 0x80 && (std::isalnum(u) || c == '_' || c == '-');
        if (keep)
            safe += c;
        else if (!safe.empty() && safe.back() != '_')
            safe += '_';
    }
    while (!safe.empty() && safe.back() == '_')
        safe.pop_back();
    if (safe.empty())
        safe = fmt::format("element{}", index);
    std::string name = safe;
    for (int n = 2; taken(name, layers); ++n)
        name = fmt::format("{}_{}", safe, n);
    return name;
}

std::vector<ExrLayer> exrLayers(const std::vector<std::string>& elementNames)
{
    // The G-buffer layers' names are reserved first, so an element called "Z" becomes "Z_2".
    std::vector<ExrLayer> gbuffer{
        layer("Z", ExrLayerKind::depth, {""}, false),
        layer("N", ExrLayerKind::normal, {"X", "Y", "Z"}, true),
        layer("objectId", ExrLayerKind::objectId, {"X"}, false),
        layer("materialId", ExrLayerKind::materialId, {"X"}, false),
        layer("velocity", ExrLayerKind::velocity, {"X", "Y"}, false),
        layer("coverage", ExrLayerKind::coverage, {"X"}, true),
    };
    std::vector<ExrLayer> all{ExrLayer{"beauty", ExrLayerKind::beauty, -1, {"R", "G", "B", "A"}, true}};
    std::vector<ExrLayer> reserved = gbuffer;
    reserved.push_back(all.front());
    for (std::size_t i = 0; i < elementNames.size(); ++i) {
        const int index = static_cast<int>(i);
        ExrLayer element = layer(exrLayerName(elementNames[i], index, reserved), ExrLayerKind::element,
                                 {"R", "G", "B", "A"}, true);
        element.element = index;
        reserved.push_back(element);
        all.push_back(std::move(element));
    }
    all.insert(all.end(), gbuffer.begin(), gbuffer.end());
    return all;
}

std::optional<std::vector<ExrLayer>> pickExrLayers(const std::vector<ExrLayer>& all,
                                                   const std::vector<std::string>& names, std::string& error)
{
    for (const std::string& name : names)
        if (!taken(name, all)) {
            std::vector<std::string> known;
            for (const ExrLayer& l : all)
                known.push_back(l.name);
            error =
                fmt::format("unknown layer \"{}\"; this scene can write: {}", name, fmt::join(known, ", "));
            return std::nullopt;
        }
    std::vector<ExrLayer> picked;
    for (const ExrLayer& l : all)
        if (std::find(names.begin(), names.end(), l.name) != names.end())
            picked.push_back(l);
    return picked;
}

ULONG exrGBufferChannels(const std::vector<ExrLayer>& layers)
{
    ULONG bits = BMM_CHAN_NONE;
    for (const ExrLayer& l : layers)
        switch (l.kind) {
        case ExrLayerKind::depth: bits |= BMM_CHAN_Z; break;
        // The background has no normal: the render id tells it apart.
        case ExrLayerKind::normal: bits |= BMM_CHAN_NORMAL | BMM_CHAN_NODE_RENDER_ID; break;
        case ExrLayerKind::objectId: bits |= BMM_CHAN_NODE_RENDER_ID; break;
        case ExrLayerKind::materialId: bits |= BMM_CHAN_MTL_ID; break;
        case ExrLayerKind::velocity: bits |= BMM_CHAN_VELOC; break;
        case ExrLayerKind::coverage: bits |= BMM_CHAN_COVERAGE; break;
        case ExrLayerKind::beauty:
        case ExrLayerKind::element: break;
        }
    return bits;
}

bool isExrPath(const std::string& path) { return lowerExtension(path) == ".exr"; }

}  // namespace standalone
