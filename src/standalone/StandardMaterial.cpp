#include "standalone/StandardMaterial.h"

#include "host/Angles.h"
#include "host/IParamBlock2.h"
#include "host/LightDesc.h"
#include "host/ParamBlockDesc2.h"
#include "host/ShadeContext.h"
#include "host/Texmap.h"
#include "standalone/HighlightLobe.h"
#include "standalone/HostClassDesc.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

namespace standalone {

namespace {

enum : ParamID {
    pAmbient,
    pDiffuse,
    pSpecular,
    pSpecularLevel,
    pGlossiness,
    pAnisotropy,
    pOrientation,
    pOpacity,
    pSelfIllum,
    pShaderType,
    pTwoSided,
};
// Per map channel c: the map is parameter kMapBase + c, its amount kAmountBase + c, its switch
// kEnableBase + c.
constexpr ParamID kMapBase = 20, kAmountBase = 40, kEnableBase = 60;

struct ChannelRow {
    int channel;
    const char* name;
    float defAmount, minAmount, maxAmount;
};
constexpr ChannelRow kChannels[] = {
    {ID_AM, "ambient", 100.0f, 0.0f, 100.0f},       {ID_DI, "diffuse", 100.0f, 0.0f, 100.0f},
    {ID_SP, "specular", 100.0f, 0.0f, 100.0f},      {ID_SI, "selfIllum", 100.0f, 0.0f, 100.0f},
    {ID_SS, "specularLevel", 100.0f, 0.0f, 100.0f}, {ID_SH, "glossiness", 100.0f, 0.0f, 100.0f},
    {ID_OP, "opacity", 100.0f, 0.0f, 100.0f},       {ID_BU, "bump", 30.0f, -999.0f, 999.0f},
    {ID_RL, "reflection", 100.0f, 0.0f, 100.0f},
};

bool hasMapParam(int channel)
{
    return std::any_of(std::begin(kChannels), std::end(kChannels),
                       [&](const ChannelRow& row) { return row.channel == channel; });
}

ParamID mapParam(int channel) { return static_cast<ParamID>(kMapBase + channel); }
ParamID amountParam(int channel) { return static_cast<ParamID>(kAmountBase + channel); }
ParamID enableParam(int channel) { return static_cast<ParamID>(kEnableBase + channel); }

float lerp(float a, float b, float t) { return a + (b - a) * t; }
Color lerp(const Color& a, const Color& b, float t) { return a * (1.0f - t) + b * t; }
float clamp01(float v) { return std::isfinite(v) ? std::clamp(v, 0.0f, 1.0f) : 0.0f; }

Point3 projectedOnPlane(const Point3& v, const Point3& n) { return v - n * DotProd(n, v); }

// The anisotropic highlight's tangent: dP/du when the surface has UVs, else the world's up axis
// (or, on surfaces facing up, its x axis) laid into the surface, rotated about n by the
// orientation.
Point3 surfaceTangent(ShadeContext& sc, const Point3& n, float orientationDeg)
{
    Point3 dP[3];
    sc.DPdUVW(dP, 1);
    Point3 t = projectedOnPlane(dP[0], n);
    if (!(t.Length() > 1e-4f * dP[0].Length()) || !(t.Length() > 0.0f)) {
        const Point3 up = Normalize(sc.VectorFrom(Point3(0, 0, 1), REF_WORLD));
        t = projectedOnPlane(up, n);
        if (!(t.Length() > 0.1f))
            t = projectedOnPlane(Normalize(sc.VectorFrom(Point3(1, 0, 0), REF_WORLD)), n);
        if (!(t.Length() > 0.1f))
            t = CrossProd(n, std::fabs(n.x) < 0.9f ? Point3(1, 0, 0) : Point3(0, 1, 0));
    }
    t = Normalize(t);
    const float a = orientationDeg * pi / 180.0f;
    return Normalize(t * std::cos(a) + CrossProd(n, t) * std::sin(a));
}

}  // namespace

ParamBlockDesc2& StandardMaterial::paramBlockDesc()
{
    static ParamBlockDesc2 desc = [] {
        ParamBlockDesc2 d(0, "parameters", 0, P_AUTO_CONSTRUCT, 0);
        const Color grey(0.588f, 0.588f, 0.588f);
        d.addColor(pAmbient, "ambient", grey, 0, P_ANIMATABLE)
            .addColor(pDiffuse, "diffuse", grey, 0, P_ANIMATABLE)
            .addColor(pSpecular, "specular", Color(0.9f, 0.9f, 0.9f), 0, P_ANIMATABLE)
            .addPercent(pSpecularLevel, "specularLevel", 0.0f, 0.0f, 999.0f, 0, P_ANIMATABLE)
            .addPercent(pGlossiness, "glossiness", 10.0f, 0.0f, 100.0f, 0, P_ANIMATABLE)
            .addPercent(pAnisotropy, "anisotropy", 50.0f, 0.0f, 100.0f, 0, P_ANIMATABLE)
            .addAngle(pOrientation, "orientation", 0.0f, -3600.0f, 3600.0f, 0, P_ANIMATABLE)
            .addPercent(pOpacity, "opacity", 100.0f, 0.0f, 100.0f, 0, P_ANIMATABLE)
            .addPercent(pSelfIllum, "selfIllum", 0.0f, 0.0f, 100.0f, 0, P_ANIMATABLE)
            .addInt(pShaderType, "shaderType", 0, 0, 1, 0)
            .addBool(pTwoSided, "twoSided", false, 0);
        for (const ChannelRow& row : kChannels) {
            const std::string name = row.name;
            d.addRef(mapParam(row.channel), (name + "Map").c_str(), TYPE_TEXMAP, 0)
                .addPercent(amountParam(row.channel), (name + "MapAmount").c_str(), row.defAmount,
                            row.minAmount, row.maxAmount, 0, P_ANIMATABLE)
                .addBool(enableParam(row.channel), (name + "MapEnable").c_str(), true, 0);
        }
        return d;
    }();
    return desc;
}

ClassDesc2& StandardMaterial::classDesc()
{
    static HostClassDesc desc(
        "Standard", MATERIAL_CLASS_ID, DMTL_CLASS_ID,
        []() -> ReferenceTarget* { return new StandardMaterial(); }, paramBlockDesc());
    return desc;
}

StandardMaterial::StandardMaterial()
{
    classDesc().MakeAutoParamBlocks(this);
    refresh();
}

ReferenceTarget* StandardMaterial::GetReference(int i) { return i == 0 ? pblock_ : nullptr; }

void StandardMaterial::SetReference(int i, ReferenceTarget* target)
{
    if (i == 0)
        pblock_ = dynamic_cast<IParamBlock2*>(target);
}

RefResult StandardMaterial::NotifyRefChanged(const Interval&, ReferenceTarget* hTarget, PartID&,
                                             RefMessage message, BOOL)
{
    if (message == REFMSG_CHANGE && hTarget == pblock_ && pblock_)
        refresh();
    return REF_SUCCEED;
}

void StandardMaterial::refresh(TimeValue t, Interval& valid)
{
    time_ = t;
    if (!pblock_)
        return;
    IParamBlock2& b = *pblock_;
    Settings s;
    b.GetValue(pAmbient, t, s.ambient, valid);
    b.GetValue(pDiffuse, t, s.diffuse, valid);
    b.GetValue(pSpecular, t, s.specular, valid);
    auto percent = [&](ParamID id, float& out) {
        float v = 0.0f;
        if (b.GetValue(id, t, v, valid))
            out = std::isfinite(v) ? v / 100.0f : 0.0f;
    };
    percent(pSpecularLevel, s.specularLevel);
    percent(pGlossiness, s.glossiness);
    percent(pAnisotropy, s.anisotropy);
    percent(pOpacity, s.opacity);
    percent(pSelfIllum, s.selfIllum);
    b.GetValue(pOrientation, t, s.orientation, valid);
    b.GetValue(pShaderType, t, s.shader, valid);
    int twoSided = 0;
    b.GetValue(pTwoSided, t, twoSided, valid);
    s.twoSided = twoSided != 0;
    s.specularLevel = std::max(s.specularLevel, 0.0f);
    s.glossiness = clamp01(s.glossiness);
    s.anisotropy = clamp01(s.anisotropy);
    s.opacity = clamp01(s.opacity);
    s.selfIllum = clamp01(s.selfIllum);
    if (!std::isfinite(s.orientation))
        s.orientation = 0.0f;
    for (const ChannelRow& row : kChannels) {
        percent(amountParam(row.channel), s.amount[row.channel]);
        int on = 1;
        b.GetValue(enableParam(row.channel), t, on, valid);
        s.enabled[row.channel] = on != 0;
        s.mapped[row.channel] = mapOf(row.channel) != nullptr;
    }
    s_ = s;
}

void StandardMaterial::refresh()
{
    Interval ignored = FOREVER;
    refresh(time_, ignored);
}

void StandardMaterial::Update(TimeValue t, Interval& valid)
{
    refresh(t, valid);
    for (int c = 0; c < STD_NUM_MAP_CHANNELS; ++c)
        if (Texmap* m = mapOf(c))
            m->Update(t, valid);
}

void StandardMaterial::Reset()
{
    if (pblock_)
        pblock_->ResetAll();
    refresh();
}

Texmap* StandardMaterial::mapOf(int channel) const
{
    if (!pblock_ || !hasMapParam(channel))
        return nullptr;
    return dynamic_cast<Texmap*>(pblock_->GetReferenceTarget(mapParam(channel)));
}

Texmap* StandardMaterial::activeMap(int channel, ShadeContext& sc) const
{
    if (!sc.doMaps || channel < 0 || channel >= STD_NUM_MAP_CHANNELS || !s_.enabled[channel] ||
        !s_.mapped[channel])
        return nullptr;
    return mapOf(channel);
}

ULONG StandardMaterial::Requirements(int)
{
    ULONG req = 0;
    if (s_.twoSided)
        req |= MTLREQ_2SIDE;
    if (s_.opacity < 1.0f || (s_.enabled[ID_OP] && mapOf(ID_OP)))
        req |= MTLREQ_TRANSP;
    // The anisotropic highlight follows dP/du where the surface has UVs.
    if (s_.shader == 1)
        req |= MTLREQ_BUMPUV;
    for (int c = 0; c < STD_NUM_MAP_CHANNELS; ++c) {
        Texmap* m = s_.enabled[c] ? mapOf(c) : nullptr;
        if (!m)
            continue;
        const ULONG mapReq = m->Requirements(-1);
        req |= mapReq & MTLREQ_UV;
        if (c == ID_BU && (mapReq & MTLREQ_UV))
            req |= MTLREQ_BUMPUV;
    }
    return req;
}

bool StandardMaterial::LoadMapFiles(TimeValue t)
{
    bool ok = true;
    for (int c = 0; c < STD_NUM_MAP_CHANNELS; ++c)
        if (Texmap* m = mapOf(c))
            ok = m->LoadMapFiles(t) && ok;
    return ok;
}

Texmap* StandardMaterial::GetSubTexmap(int channel) { return mapOf(channel); }

void StandardMaterial::SetSubTexmap(int channel, Texmap* map)
{
    if (hasMapParam(channel))
        write(mapParam(channel), time_, static_cast<ReferenceTarget*>(map));
}

ReferenceTarget* StandardMaterial::Clone()
{
    auto copy = std::make_unique<StandardMaterial>();
    if (!copy->pblock_ || !pblock_)
        return nullptr;
    copy->pblock_->CopyValuesFrom(*pblock_);
    for (int c = 0; c < STD_NUM_MAP_CHANNELS; ++c) {
        Texmap* m = mapOf(c);
        if (!m)
            continue;
        if (ReferenceTarget* sub = m->Clone()) {
            copy->adoptOwned(std::unique_ptr<ReferenceTarget>(sub));
            copy->pblock_->SetValue(mapParam(c), time_, sub);
        }
    }
    copy->SetName(GetName());
    copy->SetGBufferID(GetGBufferID());
    copy->time_ = time_;
    copy->refresh();
    return copy.release();
}

template <class T> bool StandardMaterial::write(ParamID id, TimeValue t, const T& value)
{
    return pblock_ && pblock_->SetValue(id, t, value) != FALSE;
}

void StandardMaterial::SetAmbient(const Color& c, TimeValue t) { write(pAmbient, t, c); }
void StandardMaterial::SetDiffuse(const Color& c, TimeValue t) { write(pDiffuse, t, c); }
void StandardMaterial::SetSpecular(const Color& c, TimeValue t) { write(pSpecular, t, c); }
void StandardMaterial::SetSelfIllum(float v, TimeValue t) { write(pSelfIllum, t, v * 100.0f); }
void StandardMaterial::SetOpacity(float v, TimeValue t) { write(pOpacity, t, v * 100.0f); }
void StandardMaterial::SetSpecularLevel(float v, TimeValue t) { write(pSpecularLevel, t, v * 100.0f); }
void StandardMaterial::SetGlossiness(float v, TimeValue t) { write(pGlossiness, t, v * 100.0f); }

bool StandardMaterial::SwitchShader(const Class_ID& shader)
{
    if (shader == BLINN_SHADER_CLASS_ID)
        return write(pShaderType, time_, 0);
    if (shader == ANISO_SHADER_CLASS_ID)
        return write(pShaderType, time_, 1);
    return false;
}

Class_ID StandardMaterial::GetShaderId()
{
    return s_.shader == 1 ? ANISO_SHADER_CLASS_ID : BLINN_SHADER_CLASS_ID;
}

bool StandardMaterial::SetShaderParam(int id, float value, TimeValue t)
{
    if (s_.shader != 1)
        return false;
    if (id == SHADER_PARAM_ANISOTROPY)
        return write(pAnisotropy, t, value * 100.0f);
    if (id == SHADER_PARAM_ORIENTATION)
        return write(pOrientation, t, value * 180.0f);
    return false;
}

void StandardMaterial::EnableMap(int channel, BOOL on)
{
    if (hasMapParam(channel))
        write(enableParam(channel), time_, on ? 1 : 0);
}

BOOL StandardMaterial::MapEnabled(int channel)
{
    return hasMapParam(channel) && s_.enabled[channel] ? TRUE : FALSE;
}

void StandardMaterial::SetTexmapAmt(int channel, float amount, TimeValue t)
{
    if (hasMapParam(channel))
        write(amountParam(channel), t, amount * 100.0f);
}

float StandardMaterial::opacityAt(ShadeContext& sc) const
{
    float opacity = s_.opacity;
    if (Texmap* m = activeMap(ID_OP, sc))
        opacity = lerp(opacity, m->EvalMono(sc), s_.amount[ID_OP]);
    return clamp01(opacity);
}

void StandardMaterial::Shade(ShadeContext& sc)
{
    const Settings& s = s_;
    const float opacity = opacityAt(sc);
    const Color transparency(1.0f - opacity, 1.0f - opacity, 1.0f - opacity);
    if (sc.mode == SCMODE_SHADOW) {
        sc.out.c = Color();
        sc.out.t = transparency;
        return;
    }

    const Point3 savedNormal = sc.Normal();
    Point3 n = savedNormal;
    bool bumped = false;
    if (Texmap* bump = activeMap(ID_BU, sc)) {
        const Point3 perturbed = Normalize(savedNormal + bump->EvalNormalPerturb(sc) * s.amount[ID_BU]);
        if (perturbed.LengthSquared() > 0.5f) {
            n = perturbed;
            sc.SetNormal(n);
            bumped = true;
        }
    }

    auto colorChannel = [&](int channel, const Color& base) {
        if (Texmap* m = activeMap(channel, sc))
            return lerp(base, Color(m->EvalColor(sc)), s.amount[channel]);
        return base;
    };
    auto monoChannel = [&](int channel, float base) {
        if (Texmap* m = activeMap(channel, sc))
            return lerp(base, m->EvalMono(sc), s.amount[channel]);
        return base;
    };
    const Color diffuse = colorChannel(ID_DI, s.diffuse);
    const Color ambient = colorChannel(ID_AM, s.ambient);
    const Color specular = colorChannel(ID_SP, s.specular);
    const float selfIllum = clamp01(monoChannel(ID_SI, s.selfIllum));
    float level = s.specularLevel;
    if (Texmap* m = activeMap(ID_SS, sc))
        level *= lerp(1.0f, m->EvalMono(sc), s.amount[ID_SS]);
    const float glossiness = clamp01(monoChannel(ID_SH, s.glossiness));

    const Point3 toEye = -Normalize(sc.V());
    const bool aniso = s.shader == 1 && s.anisotropy > 0.0f;
    const HighlightLobe lobe(glossiness, aniso ? s.anisotropy : 0.0f, n,
                             aniso ? surfaceTangent(sc, n, s.orientation) : Point3());

    Color ambientLight = sc.ambientLight, diffuseLight, specularLight;
    for (int i = 0; i < sc.nLights; ++i) {
        LightDesc* light = sc.Light(i);
        if (!light)
            continue;
        Color lightColor;
        Point3 toLight;
        float dotNL = 0.0f, diffuseCoef = 0.0f;
        if (!light->Illuminate(sc, n, lightColor, toLight, dotNL, diffuseCoef))
            continue;
        if (light->ambientOnly) {
            ambientLight += lightColor;
            continue;
        }
        if (light->affectDiffuse)
            diffuseLight += lightColor * diffuseCoef;
        if (light->affectSpecular && level > 0.0f)
            specularLight += lightColor * lobe.eval(toLight, toEye);
    }

    const Color lit = ambient * ambientLight + diffuse * diffuseLight;
    Color c = lit * (1.0f - selfIllum) + diffuse * selfIllum + specular * specularLight * level;
    if (Texmap* m = activeMap(ID_RL, sc))
        c += Color(m->EvalColor(sc)) * s.amount[ID_RL];

    if (bumped)
        sc.SetNormal(savedNormal);
    sc.out.c = c * opacity;
    sc.out.t = transparency;
    if (const ULONG id = GetGBufferID(); id != 0)
        sc.SetGBufferID(static_cast<int>(id));
}

}  // namespace standalone
