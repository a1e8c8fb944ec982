#pragma once
// "Standard": the standalone host's standard material. Lambert diffuse, a Blinn or anisotropic
// highlight (see HighlightLobe), ambient, self-illumination, opacity, a reflection map added on
// top, and bump. Every setting is a parameter of its one block (reference 0), by script name:
//
//   ambient, diffuse, specular        colours
//   specularLevel                     percent 0..999 (default 0)
//   glossiness                        percent 0..100 (default 10)
//   anisotropy                        percent 0..100 (default 50; anisotropic shader only)
//   orientation                       degrees (anisotropic shader only)
//   opacity                           percent 0..100 (default 100)
//   selfIllum                         percent 0..100 (default 0)
//   shaderType                        int: 0 Blinn, 1 anisotropic
//   twoSided                          bool
//   <channel>Map, <channel>MapAmount, <channel>MapEnable for the channels ambient, diffuse,
//   specular, selfIllum, specularLevel, glossiness, opacity, bump, reflection (map channels
//   ID_AM .. ID_RL of StdMat2.h; filter and refraction hold no map). Amounts are percent 0..100,
//   default 100, except bumpMapAmount: -999..999, default 30, the bump strength.
//
// Maps: colour channels mix from the colour to the map colour by the amount; glossiness,
// selfIllum and opacity mix from the value to the map's mono value; the specular level is scaled
// by a mix of 1 and the mono value; reflection adds map colour x amount.
//
// Threads: Shade reads settings copied out of the block by Update (and on every block change),
// and only changes sc, so several threads may shade with one material at once.

#include "host/ParamTypes.h"
#include "host/StdMat2.h"

class ClassDesc2;
class IParamBlock2;
class ParamBlockDesc2;

namespace standalone {

class StandardMaterial final : public StdMat2 {
public:
    StandardMaterial();

    static ClassDesc2& classDesc();
    static ParamBlockDesc2& paramBlockDesc();

    // ReferenceTarget
    Class_ID ClassID() override { return DMTL_CLASS_ID; }
    void GetClassName(std::string& s) override { s = "Standard"; }
    int NumRefs() override { return 1; }
    ReferenceTarget* GetReference(int i) override;
    void SetReference(int i, ReferenceTarget* target) override;
    RefResult NotifyRefChanged(const Interval& changeInt, ReferenceTarget* hTarget, PartID& partID,
                               RefMessage message, BOOL propagate) override;
    int NumParamBlocks() override { return 1; }
    IParamBlock2* GetParamBlock(int i) override { return i == 0 ? pblock_ : nullptr; }
    // Same settings; the maps are cloned too and owned by the clone.
    ReferenceTarget* Clone() override;

    // MtlBase
    void Update(TimeValue t, Interval& valid) override;
    void Reset() override;
    ULONG Requirements(int subMtlNum) override;
    bool LoadMapFiles(TimeValue t) override;
    int NumSubTexmaps() override { return STD_NUM_MAP_CHANNELS; }
    Texmap* GetSubTexmap(int channel) override;
    void SetSubTexmap(int channel, Texmap* map) override;

    // Mtl
    void Shade(ShadeContext& sc) override;
    Color GetAmbient() override { return s_.ambient; }
    Color GetDiffuse() override { return s_.diffuse; }
    Color GetSpecular() override { return s_.specular; }

    // StdMat2
    void SetAmbient(const Color& c, TimeValue t) override;
    void SetDiffuse(const Color& c, TimeValue t) override;
    void SetSpecular(const Color& c, TimeValue t) override;
    void SetSelfIllum(float v, TimeValue t) override;
    void SetOpacity(float v, TimeValue t) override;
    void SetSpecularLevel(float v, TimeValue t) override;
    void SetGlossiness(float v, TimeValue t) override;
    bool SwitchShader(const Class_ID& shader) override;
    Class_ID GetShaderId() override;
    // Only the anisotropic model has parameters: SHADER_PARAM_ANISOTROPY (0..1) and
    // SHADER_PARAM_ORIENTATION (0..1 of a half turn). False under the Blinn model.
    bool SetShaderParam(int id, float value, TimeValue t) override;
    void EnableMap(int channel, BOOL on) override;
    BOOL MapEnabled(int channel) override;
    void SetTexmapAmt(int channel, float amount, TimeValue t) override;

private:
    // Settings in shading units: fractions instead of percent.
    struct Settings {
        Color ambient, diffuse, specular;
        float specularLevel = 0.0f, glossiness = 0.1f, anisotropy = 0.5f, orientation = 0.0f;  // degrees
        float opacity = 1.0f, selfIllum = 0.0f;
        int shader = 0;
        bool twoSided = false;
        float amount[STD_NUM_MAP_CHANNELS] = {};
        bool enabled[STD_NUM_MAP_CHANNELS] = {};
        // A map was set when the block was last read: channels without one skip the block's
        // reference lookup on every shade.
        bool mapped[STD_NUM_MAP_CHANNELS] = {};
    };

    void refresh(TimeValue t, Interval& valid);
    void refresh();
    // Sets a parameter of the block; false when there is no block or the value does not fit.
    template <class T> bool write(ParamID id, TimeValue t, const T& value);
    // The map of a channel when set, enabled, and maps are on for sc.
    Texmap* activeMap(int channel, ShadeContext& sc) const;
    Texmap* mapOf(int channel) const;
    float opacityAt(ShadeContext& sc) const;

    IParamBlock2* pblock_ = nullptr;
    Settings s_;
    TimeValue time_ = 0;
};

}  // namespace standalone
