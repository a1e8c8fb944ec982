// Model files through Assimp, as `vermil render model.glb` reads them. The first byte picks the
// file's extension, which picks the importer Assimp tries first; the rest is the file. A file is
// either a scene or an ImportError naming it. What Assimp gets wrong, and what our import screens
// out before Assimp sees it, is in docs/known-issues.md.

#include "FuzzHost.h"

#include "standalone/import/SceneOrModel.h"

#include <array>
#include <exception>
#include <span>

namespace {

constexpr std::array<const char*, 8> extensions = {"glb", "gltf", "fbx", "obj", "3ds", "dae", "stl", "ply"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    standalone::StandaloneCore& core = fuzz::host();
    if (size == 0)
        return 0;
    const std::string name = std::string("model.") + extensions[data[0] % extensions.size()];
    const std::string path = fuzz::writeScratchFile(name, std::span(data + 1, size - 1));
    try {
        std::unique_ptr<standalone::Scene> scene = standalone::sceneFromModel(path, core);
    } catch (const standalone::ImportError& e) {
        if (e.file() != path || e.reason().empty())
            fuzz::fail(std::string("an error that does not name the file and the reason: ") + e.what());
    } catch (const std::exception& e) {
        fuzz::fail(std::string("not an import error: ") + e.what());
    }
    return 0;
}
