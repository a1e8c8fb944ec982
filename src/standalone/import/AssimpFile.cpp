#include "standalone/import/AssimpFile.h"

#include "standalone/FileExtension.h"
#include "standalone/import/FileScreening.h"
#include "standalone/import/ImportError.h"

#include <assimp/BaseImporter.h>
#include <assimp/Importer.hpp>
#include <assimp/commonMetaData.h>
#include <assimp/config.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <new>
#include <optional>
#include <sstream>
#include <string_view>
#include <vector>

namespace standalone::import {

namespace {

constexpr unsigned kSteps = aiProcess_Triangulate | aiProcess_SortByPType | aiProcess_JoinIdenticalVertices |
                            aiProcess_GenSmoothNormals | aiProcess_GenUVCoords | aiProcess_TransformUVCoords |
                            aiProcess_ValidateDataStructure;

// Which importer read the file, from the name it records in the scene's metadata.
SourceFormat formatOf(const aiScene& scene)
{
    aiString name;
    if (!scene.mMetaData || !scene.mMetaData->Get(AI_METADATA_SOURCE_FORMAT, name))
        return SourceFormat::other;
    const std::string_view s(name.data, name.length);
    if (s.starts_with("glTF2"))
        return SourceFormat::gltf2;
    if (s.find("FBX") != std::string_view::npos)
        return SourceFormat::fbx;
    if (s.starts_with("Collada"))
        return SourceFormat::collada;
    if (s.find("3DS") != std::string_view::npos)
        return SourceFormat::threeDS;
    return SourceFormat::other;
}

// Assimp offers a file to every reader that finds its own words in the file's first bytes,
// before and whatever the reader of its extension: a broken .gltf could be read as OpenGEX, and
// meet that reader's faults. When some reader claims the extension, only those readers stay.
void keepOnlyReadersOf(Assimp::Importer& importer, const std::string& path)
{
    const std::string dotted = lowerExtension(path);
    if (dotted.size() < 2)
        return;
    const std::string ext = dotted.substr(1);
    auto claims = [&ext](const aiImporterDesc* info) {
        std::istringstream listed(info && info->mFileExtensions ? info->mFileExtensions : "");
        for (std::string one; listed >> one;)
            if (one == ext)
                return true;
        return false;
    };
    std::vector<Assimp::BaseImporter*> others;
    bool claimed = false;
    for (std::size_t i = 0; i < importer.GetImporterCount(); ++i) {
        if (claims(importer.GetImporterInfo(i)))
            claimed = true;
        else
            others.push_back(importer.GetImporter(i));
    }
    if (!claimed)
        return;  // an extension no reader knows: Assimp looks at the bytes
    // The importer deletes only the readers it still holds.
    for (Assimp::BaseImporter* reader : others)
        if (importer.UnregisterLoader(reader) == aiReturn_SUCCESS)
            delete reader;
}

}  // namespace

AssimpFile::AssimpFile(const std::string& path) : importer_(std::make_unique<Assimp::Importer>())
{
    namespace fs = std::filesystem;
    if (path.empty())
        throw ImportError("(no file)", "no model file given");
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (!fs::exists(status))
        throw ImportError(path, "no such file");
    if (fs::is_directory(status))
        throw ImportError(path, "is a directory, not a model file");
    if (const std::optional<std::string> reason = screenModelFile(path))
        throw ImportError(path, *reason);

    keepOnlyReadersOf(*importer_, path);
    importer_->SetPropertyInteger(AI_CONFIG_PP_SBP_REMOVE, aiPrimitiveType_POINT | aiPrimitiveType_LINE);
    importer_->SetPropertyFloat(AI_CONFIG_PP_GSN_MAX_SMOOTHING_ANGLE, kCreaseAngle);
    importer_->SetPropertyBool(AI_CONFIG_IMPORT_FBX_PRESERVE_PIVOTS, false);
    try {
        scene_ = importer_->ReadFile(path, kSteps);
    } catch (const std::bad_alloc&) {
        throw ImportError(path, "out of memory while reading the file");
    } catch (const std::exception& e) {
        throw ImportError(path, e.what());
    }
    if (!scene_) {
        const std::string reason = importer_->GetErrorString();
        // Assimp catches what its importers throw and keeps only the exception's name.
        if (reason == "std::bad_alloc")
            throw ImportError(path, "out of memory while reading the file");
        throw ImportError(path, reason.empty() ? "unreadable or unsupported file" : reason);
    }
    if (!scene_->mRootNode)
        throw ImportError(path, "the file has no node hierarchy");
    format_ = formatOf(*scene_);
}

AssimpFile::~AssimpFile() = default;

}  // namespace standalone::import
