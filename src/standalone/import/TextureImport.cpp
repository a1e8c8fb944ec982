#include "standalone/import/TextureImport.h"

#include "host/ClassDesc2.h"
#include "standalone/import/ParamByName.h"
#include "standalone/maps/BitmapMap.h"

#include <assimp/scene.h>

#include <fmt/format.h>

#include <algorithm>
#include <cstring>

namespace standalone::import {

namespace fs = std::filesystem;

namespace {

// Texels beyond this are refused rather than trusting a corrupt size.
constexpr unsigned long long kMaxEmbeddedTexels = 1ULL << 26;

bool isRegularFile(const fs::path& p)
{
    std::error_code ec;
    return fs::is_regular_file(p, ec);
}

}  // namespace

TextureImporter::TextureImporter(Scene& scene, StandaloneCore& core, const aiScene& source,
                                 fs::path modelPath, std::vector<std::string>& warnings)
    : scene_(scene), core_(core), source_(source), modelPath_(std::move(modelPath)), warnings_(warnings)
{}

Texmap* TextureImporter::texture(const std::string& reference)
{
    if (reference.empty())
        return nullptr;
    if (reference.front() == '*' || source_.GetEmbeddedTexture(reference.c_str()))
        return embedded(reference);
    return file(reference);
}

BitmapMap* TextureImporter::newBitmap(const std::string& name)
{
    ClassDesc2* desc = core_.findClass("Bitmap");
    auto* map = desc ? dynamic_cast<BitmapMap*>(scene_.ownTarget(desc->Create(FALSE))) : nullptr;
    if (!map) {
        warnings_.push_back("textures left out: the host's \"Bitmap\" map class is not registered");
        return nullptr;
    }
    map->SetName(name);
    return map;
}

Texmap* TextureImporter::embedded(const std::string& reference)
{
    const auto [texture, index] = source_.GetEmbeddedTextureAndIndex(reference.c_str());
    const std::string key = "*" + std::to_string(index);
    if (auto it = byKey_.find(key); it != byKey_.end())
        return it->second;
    Texmap*& cached = byKey_[key];
    const std::string what = fmt::format("embedded texture \"{}\"", reference);
    if (!texture || !texture->pcData) {
        warnings_.push_back(fmt::format("{}: the file holds no such image", what));
        return cached = nullptr;
    }
    const std::string ownName(texture->mFilename.data, texture->mFilename.length);
    BitmapMap* map =
        newBitmap(ownName.empty() ? fmt::format("{} texture {}", modelPath_.filename().string(), index)
                                  : fs::path(ownName).filename().string());
    if (!map)
        return cached = nullptr;
    std::string error;
    bool ok = false;
    if (texture->mHeight == 0) {
        // Compressed: mWidth bytes of an image file.
        const std::string hint(texture->achFormatHint,
                               strnlen(texture->achFormatHint, sizeof texture->achFormatHint));
        ok = map->loadFromMemory(texture->pcData, texture->mWidth, hint, what, error);
    } else if (static_cast<unsigned long long>(texture->mWidth) * texture->mHeight > kMaxEmbeddedTexels) {
        error = fmt::format("{}: {} x {} texels is too large", what, texture->mWidth, texture->mHeight);
    } else {
        std::vector<AColor> texels(static_cast<std::size_t>(texture->mWidth) * texture->mHeight);
        for (std::size_t i = 0; i < texels.size(); ++i) {
            const aiTexel& t = texture->pcData[i];
            texels[i] = AColor(t.r / 255.0f, t.g / 255.0f, t.b / 255.0f, t.a / 255.0f);
        }
        ok = map->setImage(static_cast<int>(texture->mWidth), static_cast<int>(texture->mHeight),
                           std::move(texels), error);
    }
    if (!ok)
        warnings_.push_back(error);
    return cached = ok ? map : nullptr;
}

Texmap* TextureImporter::file(const std::string& reference)
{
    std::string slashed = reference;
    std::replace(slashed.begin(), slashed.end(), '\\', '/');
    const fs::path folder = modelPath_.parent_path();
    std::vector<fs::path> candidates;
    for (const fs::path& p : {fs::path(reference), fs::path(slashed)})
        candidates.push_back(p.is_absolute() ? p : folder / p);
    candidates.push_back(folder / fs::path(slashed).filename());

    const auto found = std::find_if(candidates.begin(), candidates.end(), isRegularFile);
    if (found == candidates.end()) {
        warnings_.push_back(fmt::format("texture \"{}\" not found (looked for {})", reference,
                                        (folder / fs::path(slashed).filename()).string()));
        return nullptr;
    }
    const std::string path = found->lexically_normal().string();
    if (auto it = byKey_.find(path); it != byKey_.end())
        return it->second;
    Texmap*& cached = byKey_[path];
    BitmapMap* map = newBitmap(found->filename().string());
    if (!map)
        return cached = nullptr;
    std::string error;
    if (!setParamByName(*map, "fileName", path) || !map->load(error)) {
        warnings_.push_back(error.empty() ? fmt::format("texture \"{}\" cannot be set", path) : error);
        return cached = nullptr;
    }
    return cached = map;
}

}  // namespace standalone::import
