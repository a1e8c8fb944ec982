#pragma once
// The host's standard material as other plug-ins drive it: colours, specular level and
// glossiness, opacity, self-illumination, a switchable shading model (Blinn or anisotropic), and
// numbered map channels.

#include "host/Mtl.h"

class Texmap;

// Map channels of the standard material.
constexpr int ID_AM = 0;   // ambient
constexpr int ID_DI = 1;   // diffuse
constexpr int ID_SP = 2;   // specular colour
constexpr int ID_SI = 3;   // self-illumination
constexpr int ID_SS = 4;   // specular level
constexpr int ID_SH = 5;   // glossiness
constexpr int ID_OP = 6;   // opacity
constexpr int ID_FI = 7;   // filter colour
constexpr int ID_BU = 8;   // bump
constexpr int ID_RL = 9;   // reflection
constexpr int ID_RR = 10;  // refraction
constexpr int STD_NUM_MAP_CHANNELS = 11;

// Shading models.
inline constexpr Class_ID BLINN_SHADER_CLASS_ID{0x00000038, 0};
inline constexpr Class_ID ANISO_SHADER_CLASS_ID{0x2857f460, 0};
// Shader parameter ids of the anisotropic model.
constexpr int SHADER_PARAM_ANISOTROPY = 8;   // 0..1
constexpr int SHADER_PARAM_ORIENTATION = 9;  // 0..1 of a half turn

// The standard material's class id.
inline constexpr Class_ID DMTL_CLASS_ID{0x00000002, 0};

class StdMat2 : public Mtl {
public:
    virtual void SetAmbient(const Color& c, TimeValue t) = 0;
    virtual void SetDiffuse(const Color& c, TimeValue t) = 0;
    virtual void SetSpecular(const Color& c, TimeValue t) = 0;
    virtual void SetSelfIllum(float v, TimeValue t) = 0;      // 0..1
    virtual void SetOpacity(float v, TimeValue t) = 0;        // 0..1
    virtual void SetSpecularLevel(float v, TimeValue t) = 0;  // 0..1 and above
    virtual void SetGlossiness(float v, TimeValue t) = 0;     // 0..1

    // Switches the shading model; false for an unknown model.
    virtual bool SwitchShader(const Class_ID& shader) = 0;
    virtual Class_ID GetShaderId() = 0;
    // Shader-specific parameters (SHADER_PARAM_*); false when the model has no such parameter.
    virtual bool SetShaderParam(int id, float value, TimeValue t) = 0;

    void SetSubTexmap(int channel, Texmap* map) override = 0;
    Texmap* GetSubTexmap(int channel) override = 0;
    virtual void EnableMap(int channel, BOOL on) = 0;
    virtual BOOL MapEnabled(int channel) = 0;
    virtual void SetTexmapAmt(int channel, float amount, TimeValue t) = 0;  // 0..1
};
