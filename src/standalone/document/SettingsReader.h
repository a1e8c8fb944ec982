#pragma once
// The document's "render" and "environment" sections.

#include "standalone/Scene.h"
#include "standalone/document/ParameterSetter.h"

#include <filesystem>
#include <optional>
#include <string>

namespace standalone::document {

// What "render" names but the rest of the document must exist for.
struct RenderReferences {
    const Json* renderer = nullptr;  // a class name or {"class": ...}; null: the scanline renderer
    std::optional<JsonLocation> rendererAt;
    std::string camera;  // name of the camera to render from; empty: the default
    std::optional<JsonLocation> cameraAt;
};

// Fills settings; output paths resolve against baseDir.
RenderReferences readRenderSettings(const Json& v, const JsonLocation& at,
                                    const std::filesystem::path& baseDir, RenderSettings& settings);

void readEnvironment(const Json& v, const JsonLocation& at, Environment& environment,
                     ReferenceResolver& refs);

}  // namespace standalone::document
