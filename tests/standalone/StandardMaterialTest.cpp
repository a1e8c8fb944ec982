#include "standalone/StandardMaterial.h"

#include "host/ClassDesc2.h"
#include "host/ParamBlockDesc2.h"
#include "standalone/HighlightLobe.h"
#include "standalone/HostClasses.h"
#include "standalone/ScanlineLights.h"
#include "standalone/StandaloneCore.h"
#include "standalone/maps/CheckerMap.h"
#include "standalone/maps/GradientMap.h"
#include "standalone/maps/NoiseMap.h"
#include "support/ParamByName.h"
#include "support/TestShadeContext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>

using namespace test_support;

namespace {

using standalone::LightSettings;
using standalone::LightType;
using standalone::StandardMaterial;

constexpr float kTol = 1e-5f;
constexpr float kDeg = std::numbers::pi_v<float> / 180.0f;

// A directional light whose light arrives from unit direction toLight (camera space).
std::unique_ptr<LightDesc> lightFrom(const Point3& toLight, Color color = Color(1, 1, 1),
                                     LightType type = LightType::directional)
{
    LightSettings s;
    s.type = type;
    s.color = color;
    const Point3 z = Normalize(toLight);
    const Point3 x = Normalize(CrossProd(std::fabs(z.y) < 0.9f ? Point3(0, 1, 0) : Point3(1, 0, 0), z));
    return standalone::makeScanlineLight(s, Matrix3(x, CrossProd(z, x), z, Point3()), nullptr);
}

// A lit-only material: no ambient, no highlight, unless a test turns them on.
std::unique_ptr<StandardMaterial> matteMaterial(const Color& diffuse)
{
    auto m = std::make_unique<StandardMaterial>();
    m->SetDiffuse(diffuse, 0);
    m->SetAmbient(Color(), 0);
    return m;
}

Color shade(StandardMaterial& m, TestShadeContext& sc)
{
    sc.ResetOutput();
    m.Shade(sc);
    return sc.out.c;
}

TEST(StandardMaterial, LambertAndAmbientOnAFlatQuad)
{
    auto m = matteMaterial(Color(0.5f, 0.25f, 1.0f));
    TestShadeContext sc;
    sc.place(Point3(0, 0, -10), Point3(0, 0, 1));
    auto light = lightFrom(Point3(0.8f, 0, 0.6f), Color(1, 0.8f, 0.5f));  // dot_nl = 0.6
    sc.addLight(light.get());
    expectColor(shade(*m, sc), Color(0.5f * 0.6f, 0.25f * 0.8f * 0.6f, 1.0f * 0.5f * 0.6f));
    expectColor(sc.out.t, Color());
    // Ambient colour x (scene ambient + ambient lights).
    m->SetAmbient(Color(0.2f, 0.2f, 0.2f), 0);
    sc.ambientLight = Color(0.5f, 0.5f, 0.5f);
    auto ambientLight = lightFrom(Point3(0, 0, 1), Color(0.25f, 0.25f, 0.25f), LightType::ambient);
    sc.addLight(ambientLight.get());
    expectColor(shade(*m, sc), Color(0.3f + 0.15f, 0.12f + 0.15f, 0.3f + 0.15f));
    // Lights that face away or do not affect diffuse add nothing.
    TestShadeContext dark;
    dark.place(Point3(0, 0, -10), Point3(0, 0, 1));
    auto below = lightFrom(Point3(0, 0, -1));
    dark.addLight(below.get());
    LightSettings s;
    s.affectDiffuse = false;
    auto specularOnly = standalone::makeScanlineLight(s, TransMatrix(Point3(0, 0, -5)), nullptr);
    dark.addLight(specularOnly.get());
    dark.addLight(nullptr);
    dark.nLights = 3;
    expectColor(shade(*m, dark), Color());
}

TEST(StandardMaterial, AnisotropicHighlightStretchesAlongTheTangent)
{
    auto m = matteMaterial(Color());
    m->SetSpecular(Color(1, 1, 1), 0);
    m->SetSpecularLevel(1.0f, 0);
    m->SetGlossiness(0.5f, 0);
    TestShadeContext sc;
    sc.place(Point3(0, 0, -10), Point3(0, 0, 1));  // dP/du is camera x
    auto tiltedX = lightFrom(Point3(std::sin(30 * kDeg), 0, std::cos(30 * kDeg)));
    auto tiltedY = lightFrom(Point3(0, std::sin(30 * kDeg), std::cos(30 * kDeg)));
    auto value = [&](LightDesc* light) {
        sc.setLights({light});
        return shade(*m, sc).r;
    };
    const float blinnX = value(tiltedX.get());
    EXPECT_GT(blinnX, 0.01f);
    EXPECT_NEAR(blinnX, value(tiltedY.get()), 1e-6f) << "Blinn is round";
    EXPECT_FALSE(m->SetShaderParam(SHADER_PARAM_ANISOTROPY, 0.0f, 0)) << "Blinn has no such parameter";
    ASSERT_TRUE(m->SwitchShader(ANISO_SHADER_CLASS_ID));
    ASSERT_TRUE(m->SetShaderParam(SHADER_PARAM_ANISOTROPY, 0.0f, 0));
    EXPECT_NEAR(value(tiltedX.get()), blinnX, 1e-5f) << "anisotropy 0 is the Blinn lobe";
    ASSERT_TRUE(m->SetShaderParam(SHADER_PARAM_ANISOTROPY, 0.8f, 0));
    EXPECT_GT(value(tiltedX.get()), 2.0f * value(tiltedY.get())) << "long along the tangent (x)";
    ASSERT_TRUE(m->SetShaderParam(SHADER_PARAM_ORIENTATION, 0.5f, 0));  // a quarter turn
    EXPECT_GT(value(tiltedY.get()), 2.0f * value(tiltedX.get()));
    EXPECT_FALSE(m->SwitchShader(Class_ID(0x1234, 0)));
    EXPECT_TRUE(m->SwitchShader(BLINN_SHADER_CLASS_ID));
    EXPECT_NEAR(value(tiltedX.get()), blinnX, 1e-5f);
}

TEST(StandardMaterial, OpacityPremultipliesAndShadowModeTransmits)
{
    auto m = matteMaterial(Color(0.8f, 0.4f, 0.2f));
    TestShadeContext sc;
    sc.place(Point3(0, 0, -10), Point3(0, 0, 1));
    auto light = lightFrom(Point3(0, 0, 1));
    sc.addLight(light.get());
    m->SetOpacity(0.5f, 0);
    expectColor(shade(*m, sc), Color(0.4f, 0.2f, 0.1f));
    expectColor(sc.out.t, Color(0.5f, 0.5f, 0.5f));
    sc.mode = SCMODE_SHADOW;
    expectColor(shade(*m, sc), Color());
    expectColor(sc.out.t, Color(0.5f, 0.5f, 0.5f));
    m->SetOpacity(1.0f, 0);
    shade(*m, sc);
    expectColor(sc.out.t, Color());
    // An opacity map (white below v = 0.5, black above) at 100 % decides alone.
    standalone::CheckerMap stripes;
    setParam(stripes, "tilingU", 0.0f);  // constant along u: a colour per half in v
    m->SetSubTexmap(ID_OP, &stripes);
    EXPECT_NE(m->Requirements(-1) & MTLREQ_TRANSP, 0u);
    sc.uvw = Point3(0.5f, 0.75f, 0);
    shade(*m, sc);
    expectColor(sc.out.t, Color(1, 1, 1));
    sc.uvw = Point3(0.5f, 0.25f, 0);
    shade(*m, sc);
    expectColor(sc.out.t, Color());
    m->SetTexmapAmt(ID_OP, 0.5f, 0);
    sc.uvw = Point3(0.5f, 0.75f, 0);
    shade(*m, sc);
    expectColor(sc.out.t, Color(0.5f, 0.5f, 0.5f));
}

TEST(StandardMaterial, BumpTiltsTheNormalForShadingOnly)
{
    // mono(v) = v: perturbation (0, -1, 0) on a quad facing the camera.
    standalone::GradientMap ramp;
    setParam(ramp, "colorCount", 2);
    setParam(ramp, "color1", Color(1, 1, 1));
    setParam(ramp, "color2", Color(0, 0, 0));
    auto m = matteMaterial(Color(1, 1, 1));
    m->SetSubTexmap(ID_BU, &ramp);
    m->SetTexmapAmt(ID_BU, 1.0f, 0);
    TestShadeContext sc;
    sc.place(Point3(0, 0, -10), Point3(0, 0, 1));
    sc.uvw = Point3(0.5f, 0.5f, 0);
    auto light = lightFrom(Point3(0, -1, 1));
    sc.addLight(light.get());
    EXPECT_NEAR(shade(*m, sc).r, 1.0f, 1e-3f) << "normal tilted to (0, -1, 1) / sqrt 2, facing the light";
    EXPECT_EQ(sc.Normal(), Point3(0, 0, 1)) << "normal restored";
    m->SetTexmapAmt(ID_BU, -1.0f, 0);
    EXPECT_NEAR(shade(*m, sc).r, 0.0f, 1e-3f) << "negative strength tilts the other way";
    m->EnableMap(ID_BU, FALSE);
    EXPECT_NEAR(shade(*m, sc).r, std::sqrt(0.5f), 1e-4f);
}

TEST(StandardMaterial, CloneIsIndependent)
{
    auto original = matteMaterial(Color(0.5f, 0.5f, 0.5f));
    standalone::CheckerMap checker;
    setParam(checker, "color1", Color(1, 0, 0));
    original->SetSubTexmap(ID_DI, &checker);
    original->SetSelfIllum(1.0f, 0);
    original->SetName("painted");
    TestShadeContext sc;
    sc.out.gbufId = 7;
    original->Shade(sc);
    EXPECT_EQ(sc.out.gbufId, 7) << "id 0 leaves the buffer alone";
    original->SetGBufferID(3);
    original->Shade(sc);
    EXPECT_EQ(sc.out.gbufId, 3);
    std::unique_ptr<ReferenceTarget> copy(original->Clone());
    auto* clone = dynamic_cast<StandardMaterial*>(copy.get());
    ASSERT_NE(clone, nullptr);
    EXPECT_EQ(clone->GetName(), "painted");
    EXPECT_EQ(clone->GetGBufferID(), 3u);
    sc.uvw = Point3(0.25f, 0.25f, 0);
    const Color before = shade(*clone, sc);
    expectColor(before, Color(1, 0, 0));
    original->SetSelfIllum(0.0f, 0);
    setParam(checker, "color1", Color(0, 1, 0));
    original.reset();
    expectColor(shade(*clone, sc), before);
}

}  // namespace
