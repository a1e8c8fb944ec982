// vmlMaterial towards the host: identity, references and their names, sub-maps, the base
// material, what a new material holds, and the two helper materials.

#include "support/MaterialTestSupport.h"

#include "host/StdMat2.h"
#include "material/MaterialPresets.h"
#include "material/vmlMaterialParamBlocks.h"
#include "material/vmlMaterialProbe.h"
#include "standalone/StandardMaterial.h"

#include <gtest/gtest.h>

using namespace test_support;
using namespace vml;

namespace {

class MaterialReferences : public test_support::MaterialFixture {};

TEST_F(MaterialReferences, BumpAndReflectionMapsInAnEmptySlotSwitchTheirEffectOn)
{
    auto m = make();
    ToneMap first, second;
    ASSERT_EQ(m->baseBlock()->GetInt(baseParam::bumpEnable), 0);
    ASSERT_EQ(m->baseBlock()->GetInt(baseParam::reflecEnable), 0);
    m->SetSubTexmap(vmlMaterial::bumpMapSlot, &first);
    EXPECT_EQ(m->baseBlock()->GetInt(baseParam::bumpEnable), 1);
    EXPECT_EQ(m->baseBlock()->GetInt(baseParam::reflecEnable), 0);
    // Replacing one bump map by another leaves the switch as the user set it.
    m->baseBlock()->SetValue(baseParam::bumpEnable, 0, 0);
    m->SetSubTexmap(vmlMaterial::bumpMapSlot, &second);
    EXPECT_EQ(m->baseBlock()->GetInt(baseParam::bumpEnable), 0);
    m->SetSubTexmap(vmlMaterial::reflecMapSlot, &first);
    EXPECT_EQ(m->baseBlock()->GetInt(baseParam::reflecEnable), 1);
}

TEST_F(MaterialReferences, TheBaseMaterialIsTheOneSubMaterial)
{
    auto m = make();
    standalone::StandardMaterial porcelain;
    m->SetSubMtl(0, &porcelain);
    EXPECT_EQ(m->baseMaterial(), &porcelain);
    EXPECT_EQ(m->GetReference(vmlMaterial::baseMaterialRef), &porcelain);
    EXPECT_EQ(m->baseBlock()->GetReferenceTarget(baseParam::baseMaterial), &porcelain);
    m->SetSubMtl(1, nullptr);
    EXPECT_EQ(m->baseMaterial(), &porcelain);
    // Colours come from the base material, black without one.
    porcelain.SetDiffuse(Color(0.2f, 0.4f, 0.6f), 0);
    EXPECT_EQ(m->GetDiffuse(), Color(0.2f, 0.4f, 0.6f));
    m->SetSubMtl(0, nullptr);
    EXPECT_EQ(m->VPDisplaySubMtl(), -1);
    EXPECT_EQ(m->GetDiffuse(), Color());
}

TEST_F(MaterialReferences, ADeletedBaseMaterialEmptiesTheSlot)
{
    auto m = make();
    auto* base = new standalone::StandardMaterial();
    m->SetSubMtl(0, base);
    base->DeleteThis();
    EXPECT_EQ(m->baseMaterial(), nullptr);
    update(*m);  // nothing left dangling
}

TEST_F(MaterialReferences, HelperMaterialsAreConfiguredAndNeverReferences)
{
    auto m = make();
    StdMat2* hi = m->highlightMtl();
    StdMat2* refl = m->reflectMtl();
    ASSERT_NE(hi, nullptr);
    ASSERT_NE(refl, nullptr);
    EXPECT_NE(hi, refl);
    for (int i = 0; i < m->NumRefs(); ++i) {
        EXPECT_NE(m->GetReference(i), hi);
        EXPECT_NE(m->GetReference(i), refl);
    }
    EXPECT_EQ(hi->GetShaderId(), ANISO_SHADER_CLASS_ID);
    EXPECT_EQ(refl->GetShaderId(), BLINN_SHADER_CLASS_ID);
    EXPECT_EQ(colorNamed(*hi, "diffuse"), Color(0, 0, 0));
    ToneMap level, gloss, reflection;
    IParamBlock2* b = m->baseBlock();
    b->SetValue(baseParam::hiLevel, 0, 250);
    b->SetValue(baseParam::hiGross, 0, 40);
    b->SetValue(baseParam::hiAniso, 0, 30);
    b->SetValue(baseParam::hiOrient, 0, 45);
    m->SetSubTexmap(vmlMaterial::hiLevelMapSlot, &level);
    m->SetSubTexmap(vmlMaterial::hiGrossMapSlot, &gloss);
    m->SetSubTexmap(vmlMaterial::reflecMapSlot, &reflection);
    update(*m);
    // The standard material keeps percentages and degrees: level 2.5, glossiness 0.4,
    // anisotropy 0.3, orientation 45 / 90 of a half turn.
    EXPECT_FLOAT_EQ(floatNamed(*hi, "specularLevel"), 250.0f);
    EXPECT_FLOAT_EQ(floatNamed(*hi, "glossiness"), 40.0f);
    EXPECT_FLOAT_EQ(floatNamed(*hi, "anisotropy"), 30.0f);
    EXPECT_FLOAT_EQ(floatNamed(*hi, "orientation"), 90.0f);
    EXPECT_EQ(hi->GetSubTexmap(ID_SS), &level);
    EXPECT_EQ(hi->GetSubTexmap(ID_SH), &gloss);
    EXPECT_EQ(refl->GetSubTexmap(ID_RL), &reflection);
    EXPECT_TRUE(refl->MapEnabled(ID_RL));
    EXPECT_EQ(refl->GetSubTexmap(ID_SS), nullptr);
    // Emptied slots empty the helpers' channels at the next update.
    m->SetSubTexmap(vmlMaterial::hiLevelMapSlot, nullptr);
    update(*m);
    EXPECT_EQ(hi->GetSubTexmap(ID_SS), nullptr);
    // The material lets go of the maps it shared with the helpers.
    m.reset();
    EXPECT_EQ(gloss.NumDependents(), 0);
}

TEST_F(MaterialReferences, WithoutAHostStandardMaterialThereAreNoHelpersAndNoBase)
{
    standalone::StandaloneCore bare;
    bare.setQuietMode(true);
    SetCOREInterface(&bare);
    auto m = make();
    EXPECT_EQ(m->highlightMtl(), nullptr);
    EXPECT_EQ(m->reflectMtl(), nullptr);
    EXPECT_EQ(m->baseMaterial(), nullptr);
    EXPECT_EQ(m->brushMap(), nullptr);
    update(*m);
    EXPECT_EQ(m->GetGBufferID(), 1u);
    SetCOREInterface(&core);
}

TEST_F(MaterialReferences, MapFilesOfTheBaseMaterialAndMapsAreLoaded)
{
    class FileMap final : public ToneMap {
    public:
        bool LoadMapFiles(TimeValue) override { return ++loads, ok; }
        int loads = 0;
        bool ok = true;
    };
    auto m = make();
    FileMap baseDiffuse, bump, brushFile;
    static_cast<StdMat2*>(m->baseMaterial())->SetSubTexmap(ID_DI, &baseDiffuse);
    m->SetSubTexmap(vmlMaterial::bumpMapSlot, &bump);
    m->SetSubTexmap(vmlMaterial::brushMapSlot, &brushFile);
    EXPECT_TRUE(m->LoadMapFiles(0));
    EXPECT_EQ(baseDiffuse.loads, 1);
    EXPECT_EQ(bump.loads, 1);
    EXPECT_EQ(brushFile.loads, 1);
    bump.ok = false;
    EXPECT_FALSE(m->LoadMapFiles(0));
    EXPECT_EQ(brushFile.loads, 2) << "a failure does not stop the others";
}

TEST_F(MaterialReferences, TheRendererRecognisesTheMaterialAndReadsItsMotionSwitches)
{
    auto m = make();
    const PainterlyMaterialProbe& probe = installedPainterlyMaterialProbe();
    EXPECT_NE(dynamic_cast<const vmlMaterialProbe*>(&probe), nullptr) << "installed by the material";
    EXPECT_TRUE(probe.isPainterlyMaterial(m.get()));
    EXPECT_FALSE(probe.isPainterlyMaterial(m->baseMaterial()));
    // Read from the block at the asked time, not from the caches.
    m->baseBlock()->SetValue(baseParam::baseRndAuto, 0, 1);
    m->baseBlock()->SetKey(baseParam::baseRndMoveDetect, 0, 0);
    m->baseBlock()->SetKey(baseParam::baseRndMoveDetect, 4800, 1);
    const PainterlyMaterialProbe::BaseSwitches sw = probe.baseSwitches(m.get(), 0);
    EXPECT_TRUE(sw.rndAuto);
    EXPECT_FALSE(sw.rndMoveDetect);
    EXPECT_TRUE(probe.baseSwitches(m.get(), 4800).rndMoveDetect);
    EXPECT_FALSE(probe.baseSwitches(m->baseMaterial(), 4800).rndAuto);
}

}  // namespace
