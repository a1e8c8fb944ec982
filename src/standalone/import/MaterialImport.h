#pragma once
// A model's materials as the host's "Standard" material, made through the class directory and set
// through the StdMat2 interface (and the parameter block for twoSided):
//
//   diffuse, ambient   base colour (PBR) or diffuse colour; ambient follows diffuse
//   diffuse map        the base-colour or diffuse texture, as a "Bitmap" map (TextureImporter);
//                      the ambient map is the same map
//   glossiness         PBR: the highlight of the GGX lobe of the roughness (see pbrHighlight);
//                      else from the Phong shininess s: (log2 s - 1) / 10, the inverse of the
//                      Standard lobe's exponent 2^(10 g + 1)
//   specular           PBR: white mixed toward the base colour by metalness; else the file's
//                      specular colour (white when it gives none)
//   specular level     PBR: see pbrHighlight; else the shininess strength (1 when not given) when
//                      shininess is above 0 and the specular colour is not black, otherwise 0
//   opacity            the file's opacity, 0..1
//   self-illumination  the brightest emissive component over the brightest diffuse one, at most 1;
//                      an emissive material with a black diffuse takes the emissive colour as its
//                      diffuse and full self-illumination, which is exactly its emission
//   twoSided           the file's two-sidedness
//
// Names are the file's, after the prefix, made unique; unnamed ones are "Material".

#include "standalone/Scene.h"
#include "standalone/StandaloneCore.h"
#include "standalone/import/TextureImport.h"
#include "standalone/import/UniqueNames.h"

#include <map>
#include <string>
#include <vector>

struct aiMaterial;
class Mtl;

namespace standalone::import {

// A file material in the Standard material's terms (fractions, not percent).
struct StandardValues {
    bool hasDiffuse = false;
    Color diffuse;
    Color specular{1.0f, 1.0f, 1.0f};
    float specularLevel = 0.0f;
    float glossiness = 0.1f;
    float opacity = 1.0f;
    float selfIllum = 0.0f;
    bool twoSided = false;
    std::string diffuseTexture;  // the texture reference, empty for none
    unsigned diffuseUVChannel = 0;
};

StandardValues standardValues(const aiMaterial& material);

// The Standard highlight that stands in for a metallic-roughness material's: the Blinn lobe
// that matches the GGX lobe of alpha = roughness^2 near its peak (exponent 2 / alpha^2 - 2), at
// the level that gives GGX's peak, F0 / (4 alpha^2) of a white diffuse surface's brightness,
// with F0 = 0.04 for dielectrics rising to 1 for metals. Rough surfaces get the faint, broad
// sheen they show in PBR renderers, not a plastic highlight.
struct PbrHighlight {
    float glossiness = 0.0f;  // 0..1
    float level = 0.0f;       // fraction, at most 9.99
};
PbrHighlight pbrHighlight(float roughness, float metalness);

class MaterialImporter {
public:
    MaterialImporter(Scene& scene, StandaloneCore& core, const aiScene& source, TextureImporter& textures,
                     UniqueNames& names, std::string prefix, std::vector<std::string>& warnings);

    // The material for the file's material `index`, made on first use; nullptr when the file has
    // no such material or the host's "Standard" class cannot make one.
    Mtl* material(unsigned index);
    // The materials made so far, in the order they were first used.
    const std::vector<Mtl*>& made() const { return made_; }

private:
    Mtl* make(const aiMaterial& source);

    Scene& scene_;
    StandaloneCore& core_;
    const aiScene& source_;
    TextureImporter& textures_;
    UniqueNames& names_;
    std::string prefix_;
    std::vector<std::string>& warnings_;
    std::map<unsigned, Mtl*> byIndex_;
    std::vector<Mtl*> made_;
};

}  // namespace standalone::import
