#include "app/SceneFiles.h"

#include "host/IParamBlock2.h"
#include "host/Mtl.h"
#include "host/ParamTypes.h"
#include "host/Renderer.h"
#include "standalone/FileExtension.h"
#include "standalone/Scene.h"
#include "standalone/SceneDocument.h"
#include "standalone/SceneNode.h"
#include "standalone/document/JsonText.h"
#include "standalone/document/ParameterSetter.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

namespace app {

namespace fs = std::filesystem;
using standalone::document::Json;

namespace {

std::string absolutePath(const std::string& path)
{
    std::error_code ec;
    const fs::path absolute = fs::absolute(path, ec);
    return (ec ? fs::path(path) : absolute).lexically_normal().string();
}

// Written, never read, by a render: the line effect's save buttons.
bool isSaveParameter(const std::string& name)
{
    return name.find("Save") != std::string::npos || name.rfind("save", 0) == 0;
}

void addFileParameters(IParamBlock2& block, std::set<std::string>& files)
{
    for (int i = 0; i < block.NumParams(); ++i) {
        const ParamID id = block.IndextoID(i);
        const ParamDef* def = block.GetParamDef(id);
        if (!def || baseType(def->type) != TYPE_FILENAME || isSaveParameter(def->name))
            continue;
        const int count = isTableType(def->type) ? block.Count(id) : 1;
        for (int tab = 0; tab < count; ++tab)
            if (const char* name = block.GetStr(id, 0, tab); name && *name)
                files.insert(absolutePath(name));
    }
}

// The objects and everything they refer to, each once.
void addObjectFiles(std::vector<ReferenceTarget*> pending, std::set<std::string>& files)
{
    std::set<ReferenceTarget*> seen;
    while (!pending.empty()) {
        ReferenceTarget* target = pending.back();
        pending.pop_back();
        if (!target || !seen.insert(target).second)
            continue;
        if (auto* block = dynamic_cast<IParamBlock2*>(target))
            addFileParameters(*block, files);
        for (int i = 0; i < target->NumParamBlocks(); ++i)
            pending.push_back(target->GetParamBlock(i));
        for (int i = 0; i < target->NumRefs(); ++i)
            pending.push_back(target->GetReference(i));
    }
}

std::string readText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void addImports(const Json& imports, const fs::path& baseDir, std::set<std::string>& files)
{
    if (imports.is_array()) {
        for (const Json& entry : imports)
            addImports(entry, baseDir, files);
        return;
    }
    const Json* file = imports.is_string()                               ? &imports
                       : imports.is_object() && imports.contains("file") ? &imports["file"]
                                                                         : nullptr;
    if (!file || !file->is_string() || file->get<std::string>().empty())
        return;
    const std::string model = standalone::document::resolvePath(baseDir, file->get<std::string>());
    files.insert(absolutePath(model));
    for (const std::string& companion : modelCompanionFiles(model))
        files.insert(absolutePath(companion));
}

}  // namespace

std::vector<std::string> modelCompanionFiles(const std::string& modelPath)
{
    std::vector<std::string> out;
    const fs::path model(modelPath);
    const std::string extension = standalone::lowerExtension(model);
    const fs::path dir = model.parent_path();
    if (extension == ".gltf") {
        Json doc;
        try {
            doc = standalone::document::parseJsonText(readText(modelPath), modelPath);
        } catch (const std::exception&) {
            return out;
        }
        for (const char* list : {"buffers", "images"}) {
            if (!doc.is_object() || !doc.contains(list) || !doc[list].is_array())
                continue;
            for (const Json& item : doc[list])
                if (item.is_object() && item.contains("uri") && item["uri"].is_string()) {
                    const std::string uri = item["uri"].get<std::string>();
                    if (!uri.empty() && uri.rfind("data:", 0) != 0)
                        out.push_back((dir / uri).lexically_normal().string());
                }
        }
    } else if (extension == ".obj") {
        std::istringstream lines(readText(modelPath));
        std::string line;
        while (std::getline(lines, line)) {
            if (line.rfind("mtllib", 0) != 0 || line.size() < 8 ||
                !std::isspace(static_cast<unsigned char>(line[6])))
                continue;
            std::string name = line.substr(7);
            while (!name.empty() && std::isspace(static_cast<unsigned char>(name.back())))
                name.pop_back();
            name.erase(0, name.find_first_not_of(" \t"));
            if (!name.empty())
                out.push_back((dir / name).lexically_normal().string());
        }
    }
    return out;
}

std::vector<std::string> sceneFiles(const standalone::Scene& scene, const std::string& documentPath)
{
    std::set<std::string> files{absolutePath(documentPath)};
    try {
        const Json doc =
            standalone::document::parseJsonText(standalone::readSceneText(documentPath), documentPath);
        if (doc.is_object() && doc.contains("import"))
            addImports(doc["import"], fs::path(absolutePath(documentPath)).parent_path(), files);
    } catch (const standalone::SceneError&) {
        // A model file rendered on its own: no imports, perhaps companions.
        for (const std::string& companion : modelCompanionFiles(documentPath))
            files.insert(absolutePath(companion));
    }
    std::vector<ReferenceTarget*> objects;
    for (const auto& object : scene.objects())
        objects.push_back(object.get());
    for (const auto& node : scene.nodes())
        objects.push_back(node->GetMtl());
    objects.push_back(scene.renderer);
    addObjectFiles(std::move(objects), files);
    return {files.begin(), files.end()};
}

}  // namespace app
