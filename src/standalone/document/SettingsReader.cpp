#include "standalone/document/SettingsReader.h"

#include "host/Texmap.h"
#include "standalone/document/ValueReaders.h"

#include <fmt/format.h>

namespace standalone::document {

RenderReferences readRenderSettings(const Json& v, const JsonLocation& at,
                                    const std::filesystem::path& baseDir, RenderSettings& settings)
{
    ObjectReader r(v, at, "render settings");
    settings.width = r.integer("width", settings.width, {1, 16384});
    settings.height = r.integer("height", settings.height, {1, 16384});
    settings.antialias = r.boolean("antialias", settings.antialias);
    settings.output = resolvePath(baseDir, r.string("output", settings.output));
    settings.frameRate = r.integer("frameRate", settings.frameRate, {1, 1000});
    settings.startFrame = r.integer("startFrame", settings.startFrame, {-100000, 100000});
    settings.endFrame =
        r.integer("endFrame", std::max(settings.endFrame, settings.startFrame), {-100000, 100000});
    if (settings.endFrame < settings.startFrame)
        r.at("endFrame")
            .fail(fmt::format("\"endFrame\" ({}) comes before \"startFrame\" ({})", settings.endFrame,
                              settings.startFrame));
    RenderReferences refs;
    if (const Json* renderer = r.get("renderer")) {
        refs.rendererAt = r.at("renderer");
        if (renderer->is_string()) {
            settings.renderer = readString(*renderer, *refs.rendererAt);
            if (settings.renderer.empty())
                refs.rendererAt->fail("expected a renderer class name (\"scanline\" for the built-in one)");
        } else if (renderer->is_object()) {
            const auto cls = renderer->find("class");
            if (cls == renderer->end() || !cls->is_string())
                refs.rendererAt->fail("expected {\"class\": \"<renderer class>\", parameters...}");
            settings.renderer = cls->get<std::string>();
        } else {
            refs.rendererAt->fail("expected a renderer class name or {\"class\": ...}, got " +
                                  describe(*renderer));
        }
        if (settings.renderer != "scanline")
            refs.renderer = renderer;
    }
    if (r.get("camera")) {
        refs.camera = r.requiredString("camera");
        refs.cameraAt = r.at("camera");
    }
    r.finish();
    return refs;
}

void readEnvironment(const Json& v, const JsonLocation& at, Environment& environment, ReferenceResolver& refs)
{
    ObjectReader r(v, at, "environment settings");
    environment.background = r.color("background", environment.background);
    environment.backgroundAlpha = float(r.number("backgroundAlpha", environment.backgroundAlpha, {0.0, 1.0}));
    environment.ambient = r.color("ambient", environment.ambient);
    if (const Json* map = r.get("map"); map && !map->is_null())
        environment.map = refs.map(*map, r.at("map"));
    r.finish();
}

}  // namespace standalone::document
