#pragma once
// `vermil render --paint [LOOK]` and `--lines`: a loaded scene turned into a painting with
// outlines, without writing a document.

#include "standalone/Scene.h"
#include "standalone/StandaloneCore.h"
#include "standalone/document/Looks.h"

#include <filesystem>

namespace app {

// The look --paint wears when none is named.
inline constexpr const char* kDefaultPaintLook = "curved";

// Wraps the material of every mesh object in a vmlMaterial wearing the look (see
// standalone/document/MaterialWrapping.h); objects already painted change look. A model file,
// which has no background of its own, is laid on the look's canvas. Throws SceneError.
void paintScene(standalone::Scene& scene, standalone::StandaloneCore& core,
                const standalone::document::Look& look, bool isModel, const std::filesystem::path& baseDir);

// Adds a line effect drawing outlines over creases on material effects channel 1, where every
// painterly material draws, and puts the materials on channel 0 (none) there too. A scene with
// a line effect of its own keeps it, unchanged. Throws SceneError.
void addLines(standalone::Scene& scene, standalone::StandaloneCore& core,
              const std::filesystem::path& baseDir);

}  // namespace app
