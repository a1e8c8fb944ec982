#include "standalone/import/MaterialImport.h"

#include "host/ClassDesc2.h"
#include "host/StdMat2.h"
#include "host/Texmap.h"
#include "standalone/import/AssimpValues.h"
#include "standalone/import/ParamByName.h"

#include <assimp/material.h>
#include <assimp/scene.h>

#include <fmt/format.h>

#include "standalone/HighlightLobe.h"
#include <algorithm>

#include <cmath>
#include <optional>

namespace standalone::import {

namespace {

constexpr float kMaxSpecularLevel = 9.99f;  // the Standard material's 999 %

float clamp01(float v) { return std::isfinite(v) ? std::clamp(v, 0.0f, 1.0f) : 0.0f; }
float brightest(const Color& c) { return std::max({c.r, c.g, c.b}); }

std::optional<float> getFloat(const aiMaterial& m, const char* key, unsigned type, unsigned index)
{
    ai_real v = 0;
    if (m.Get(key, type, index, v) != aiReturn_SUCCESS || !std::isfinite(v))
        return std::nullopt;
    return float(v);
}

// Colours are never negative or infinite; a colour that is either is treated as absent.
std::optional<Color> getColor(const aiMaterial& m, const char* key, unsigned type, unsigned index)
{
    aiColor4D c;
    if (m.Get(key, type, index, c) != aiReturn_SUCCESS)
        return std::nullopt;
    const Color rgb = toColor(c);
    if (!isFinite(rgb) || rgb.r < 0.0f || rgb.g < 0.0f || rgb.b < 0.0f)
        return std::nullopt;
    return rgb;
}

// Two-sidedness is an integer in some formats and a one-byte boolean in others.
bool getFlag(const aiMaterial& m, const char* key, unsigned type, unsigned index)
{
    const aiMaterialProperty* p = nullptr;
    if (aiGetMaterialProperty(&m, key, type, index, &p) != aiReturn_SUCCESS || !p || !p->mData)
        return false;
    return std::any_of(p->mData, p->mData + p->mDataLength, [](char b) { return b != 0; });
}

}  // namespace

PbrHighlight pbrHighlight(float roughness, float metalness)
{
    // GGX's alpha; kept off 0 so a mirror-smooth surface still gets a finite highlight.
    const float alpha = std::max(roughness * roughness, 1.0e-3f);
    // The Blinn exponent whose lobe matches GGX's near its peak: 2 / alpha^2 - 2.
    const float blinn = std::max(2.0f / (alpha * alpha) - 2.0f, 2.0f);
    PbrHighlight h;
    h.glossiness = clamp01((std::log2(blinn) - 1.0f) / 10.0f);
    // GGX's peak over a white Lambertian's, F0 / (4 alpha^2), divided by the lobe's own peak.
    const float f0 = 0.04f + 0.96f * metalness;
    const float lobePeak = std::sqrt((HighlightLobe::exponent(h.glossiness) + 2.0f) / 6.0f);
    h.level = std::min(f0 / (4.0f * alpha * alpha) / lobePeak, kMaxSpecularLevel);
    return h;
}

StandardValues standardValues(const aiMaterial& m)
{
    StandardValues v;
    std::optional<Color> diffuse = getColor(m, AI_MATKEY_BASE_COLOR);
    if (!diffuse)
        diffuse = getColor(m, AI_MATKEY_COLOR_DIFFUSE);
    v.hasDiffuse = diffuse.has_value();
    v.diffuse = diffuse.value_or(Color(0.588f, 0.588f, 0.588f));

    if (const std::optional<float> roughness = getFloat(m, AI_MATKEY_ROUGHNESS_FACTOR)) {
        const float metal = clamp01(getFloat(m, AI_MATKEY_METALLIC_FACTOR).value_or(0.0f));
        v.specular = Color(1, 1, 1) * (1.0f - metal) + v.diffuse * metal;
        const PbrHighlight h = pbrHighlight(clamp01(*roughness), metal);
        v.glossiness = h.glossiness;
        v.specularLevel = h.level;
    } else {
        const float shininess = getFloat(m, AI_MATKEY_SHININESS).value_or(0.0f);
        const std::optional<Color> specular = getColor(m, AI_MATKEY_COLOR_SPECULAR);
        if (specular)
            v.specular = *specular;
        if (shininess > 0.0f) {
            v.glossiness = clamp01((std::log2(std::max(shininess, 1.0f)) - 1.0f) / 10.0f);
            const float strength = getFloat(m, AI_MATKEY_SHININESS_STRENGTH).value_or(1.0f);
            v.specularLevel =
                brightest(v.specular) > 0.0f ? std::clamp(strength, 0.0f, kMaxSpecularLevel) : 0.0f;
        }
    }

    v.opacity = clamp01(getFloat(m, AI_MATKEY_OPACITY).value_or(1.0f));
    if (std::optional<Color> emissive = getColor(m, AI_MATKEY_COLOR_EMISSIVE)) {
        const float intensity = getFloat(m, AI_MATKEY_EMISSIVE_INTENSITY).value_or(1.0f);
        const Color e = *emissive * (std::isfinite(intensity) && intensity > 0.0f ? intensity : 0.0f);
        if (brightest(e) > 0.0f) {
            if (brightest(v.diffuse) > 0.0f) {
                v.selfIllum = clamp01(brightest(e) / brightest(v.diffuse));
            } else {
                v.diffuse = e;
                v.hasDiffuse = true;
                v.selfIllum = 1.0f;
            }
        }
    }
    v.twoSided = getFlag(m, AI_MATKEY_TWOSIDED);

    for (aiTextureType type : {aiTextureType_BASE_COLOR, aiTextureType_DIFFUSE}) {
        aiString path;
        unsigned uv = 0;
        if (m.GetTextureCount(type) > 0 &&
            m.GetTexture(type, 0, &path, nullptr, &uv, nullptr, nullptr, nullptr) == aiReturn_SUCCESS &&
            path.length > 0) {
            v.diffuseTexture = toString(path);
            v.diffuseUVChannel = uv;
            break;
        }
    }
    return v;
}

MaterialImporter::MaterialImporter(Scene& scene, StandaloneCore& core, const aiScene& source,
                                   TextureImporter& textures, UniqueNames& names, std::string prefix,
                                   std::vector<std::string>& warnings)
    : scene_(scene), core_(core), source_(source), textures_(textures), names_(names),
      prefix_(std::move(prefix)), warnings_(warnings)
{}

Mtl* MaterialImporter::material(unsigned index)
{
    if (index >= source_.mNumMaterials || !source_.mMaterials || !source_.mMaterials[index])
        return nullptr;
    if (auto it = byIndex_.find(index); it != byIndex_.end())
        return it->second;
    Mtl* mtl = make(*source_.mMaterials[index]);
    byIndex_[index] = mtl;
    if (mtl)
        made_.push_back(mtl);
    return mtl;
}

Mtl* MaterialImporter::make(const aiMaterial& source)
{
    ClassDesc2* desc = core_.findClass("Standard");
    auto* mtl = desc ? dynamic_cast<Mtl*>(scene_.ownTarget(desc->Create(FALSE))) : nullptr;
    if (!mtl) {
        warnings_.push_back("materials left out: the host's \"Standard\" material class cannot create one");
        return nullptr;
    }
    aiString fileName;
    source.Get(AI_MATKEY_NAME, fileName);
    const std::string name =
        names_.claim(fileName.length ? prefix_ + toString(fileName) : "", prefix_ + "Material");
    mtl->SetName(name);

    const StandardValues v = standardValues(source);
    auto* standard = dynamic_cast<StdMat2*>(mtl);
    if (!standard) {
        warnings_.push_back(fmt::format("material \"{}\": the \"Standard\" class has no standard-material "
                                        "interface; its settings keep their defaults",
                                        name));
        return mtl;
    }
    if (v.hasDiffuse) {
        standard->SetDiffuse(v.diffuse, 0);
        standard->SetAmbient(v.diffuse, 0);
    }
    standard->SetSpecular(v.specular, 0);
    standard->SetSpecularLevel(v.specularLevel, 0);
    standard->SetGlossiness(v.glossiness, 0);
    standard->SetOpacity(v.opacity, 0);
    standard->SetSelfIllum(v.selfIllum, 0);
    setParamByName(*mtl, "twoSided", v.twoSided ? 1 : 0);
    if (!v.diffuseTexture.empty()) {
        if (v.diffuseUVChannel != 0)
            warnings_.push_back(
                fmt::format("material \"{}\": the texture uses UV channel {}; channel 0 is used", name,
                            v.diffuseUVChannel));
        // Ambient follows diffuse, texture included.
        if (Texmap* map = textures_.texture(v.diffuseTexture))
            for (int channel : {ID_DI, ID_AM}) {
                standard->SetSubTexmap(channel, map);
                standard->EnableMap(channel, TRUE);
            }
    }
    return mtl;
}

}  // namespace standalone::import
