// Scene documents: any text is either a scene or a SceneError naming the document and the place.
// Anything else escaping the reader is a fault, as is a crash, a leak or a hang.

#include "FuzzHost.h"

#include "line/LineDefaultSettings.h"
#include "line/LineFileFormat.h"
#include "standalone/SceneDocument.h"

#include <exception>
#include <string_view>

namespace {

// A model with a mesh, a camera and a light, its buffer inline.
constexpr char triangleModel[] = R"({"asset":{"version":"2.0"},"scene":0,"scenes":[{"nodes":[0,1]}],
"nodes":[{"mesh":0,"name":"tri"},{"camera":0,"translation":[0,0,5],"name":"cam"}],
"cameras":[{"type":"perspective","perspective":{"yfov":0.8,"znear":0.1,"zfar":100,"aspectRatio":1.5}}],
"materials":[{"pbrMetallicRoughness":{"baseColorFactor":[0.8,0.2,0.1,1]},"name":"red"}],
"meshes":[{"primitives":[{"attributes":{"POSITION":0},"indices":1,"material":0}]}],
"buffers":[{"byteLength":44,"uri":"data:application/octet-stream;base64,AAAAAAAAAAAAAAAAAACAPwAAAAAAAAAAAAAAAAAAgD8AAAAAAAABAAIAAAA="}],
"bufferViews":[{"buffer":0,"byteOffset":0,"byteLength":36},{"buffer":0,"byteOffset":36,"byteLength":6}],
"accessors":[{"bufferView":0,"componentType":5126,"count":3,"type":"VEC3","min":[0,0,0],"max":[1,1,0]},
{"bufferView":1,"componentType":5123,"count":3,"type":"SCALAR"}]})";

// The files the seed documents name, in the folder their relative paths resolve against.
void writeReferencedFiles()
{
    const std::string_view model(triangleModel);
    fuzz::writeScratchFile("tri.gltf",
                           std::span(reinterpret_cast<const std::uint8_t*>(model.data()), model.size()));
    const vml::LineSettings& defaults = vml::lineBlockDefaults();
    fuzz::writeScratchFile("thin.vme", vml::elementFileContents(defaults, vml::lineDefaultSettings()));
    std::vector<vml::LineFileElement> elements(2);
    elements[0].type = 1;
    elements[0].name = "outer";
    elements[0].settings = defaults;
    elements[1].type = 3;
    elements[1].settings = defaults;
    fuzz::writeScratchFile("ink.vma", vml::linesFileContents(elements, vml::lineDefaultSettings()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    standalone::StandaloneCore& core = fuzz::host();
    // Relative paths in the document resolve into the scratch folder.
    static const std::string documentPath = [] {
        writeReferencedFiles();
        return fuzz::scratchDir() + "scene.json";
    }();
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        std::unique_ptr<standalone::Scene> scene = standalone::parseScene(text, documentPath, core);
    } catch (const standalone::SceneError& e) {
        if (e.file().empty() || e.reason().empty())
            fuzz::fail(std::string("an error without its file or reason: ") + e.what());
    } catch (const std::exception& e) {
        fuzz::fail(std::string("not a scene error: ") + e.what());
    }
    return 0;
}
