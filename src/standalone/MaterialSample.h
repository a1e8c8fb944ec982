#pragma once
// Material-editor renders: one material on a sample object, framed by its own camera and lit by a
// key and a fill light over a mid-grey ground, rendered as a material editor renders it (the
// render parameters' and the global context's inMtlEdit set, which the painterly renderer answers
// with its editor canvas, one store at the end and no motion detection).
//
// The ground is a neutral mid grey rather than a checker: a painterly material's canvas holds the
// render's background, and a mid grey reads as toned canvas between strokes and bristles against
// both lit and shaded paint; a transparent material still shows it through, darker or lighter.

#include "host/Bitmap.h"
#include "host/Color.h"
#include "host/Renderer.h"
#include "standalone/RenderJob.h"
#include "standalone/Scene.h"
#include "standalone/StandaloneCore.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class Mtl;

namespace standalone {

enum class SampleShape { sphere, box, teapot };

inline constexpr int kMinSampleSize = 16;
inline constexpr int kMaxSampleSize = 2048;
inline const Color kSampleBackground{0.5f, 0.5f, 0.5f};

// "sphere", "box" or "teapot".
std::optional<SampleShape> sampleShapeNamed(std::string_view name);
const char* sampleShapeName(SampleShape shape);
// "sphere, box, teapot", for messages.
std::string sampleShapeNames();

// A scene of its own holding one node of the shape wearing material (not owned: it must outlive
// the scene), seen from the front right and a little above, its outline centred in a size x size
// image and filling five sixths of it across; a directional key light (upper left, warm, with
// shadows and highlights) and a weaker directional fill (low right, cool, diffuse only), a little
// ambient light and the mid-grey background. Throws std::invalid_argument for a size outside
// kMinSampleSize .. kMaxSampleSize.
std::unique_ptr<Scene> makeMaterialSample(Mtl& material, SampleShape shape, int size);

// The materials of a scene a user can name: those its nodes wear with their sub-materials, then
// every other material it owns (a document's unused ones, an imported file's), each once.
std::vector<Mtl*> sceneMaterials(Scene& scene);
// The first of sceneMaterials with that name, or nullptr.
Mtl* findSceneMaterial(Scene& scene, const std::string& name);

// The renderer a sample of a material renders with: the document's own when it names a plug-in
// renderer (that object, with its settings); otherwise the painterly renderer for a material
// that is or holds a painterly one, which paints only under it; otherwise the host's scanline
// renderer.
struct SampleRenderer {
    Renderer* renderer = nullptr;
    std::unique_ptr<Renderer> owned;  // set when the renderer is not the document's
    std::string className;            // "scanline" or the plug-in renderer's class name
};
// False with error set when the class the choice falls on cannot be created.
bool chooseSampleRenderer(Scene& document, Mtl& material, StandaloneCore& core, SampleRenderer& out,
                          std::string& error);

// Renders the sample into bitmap (allocated to the sample's size) with the material-editor flag
// set, whatever options.inMtlEdit says.
RenderJobResult renderMaterialSample(Scene& sample, Renderer& renderer, Bitmap& bitmap,
                                     RenderJobOptions options = {});

}  // namespace standalone
