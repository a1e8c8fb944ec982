// The material's parameter blocks: sound descriptors, labels that resolve, defaults inside their
// ranges, and map parameters that live in the material's own references.

#include "support/MaterialTestSupport.h"

#include "host/ParamBlockDesc2.h"
#include "host/Rollout.h"
#include "material/vmlMaterialParamBlocks.h"
#include "shell/StringLookup.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

using namespace test_support;

using namespace vml;

namespace {

ParamBlockDesc2& descOf(int block)
{
    ParamBlockDesc2& (*const descs[])() = {vmlMaterialBaseBlock, vmlMaterialBrushBlock,
                                           vmlMaterialStrokeBlock, vmlMaterialPaintBlock,
                                           vmlMaterialVersionBlock};
    return descs[block]();
}

class MaterialParamBlocks : public test_support::MaterialFixture {};

TEST_F(MaterialParamBlocks, BlocksAreSoundAndEveryParameterIsUsable)
{
    const char* names[] = {"parameters", "brush", "stroke", "paint", "version"};
    for (int b = 0; b < 5; ++b) {
        const ParamBlockDesc2& desc = descOf(b);
        SCOPED_TRACE(names[b]);
        EXPECT_EQ(desc.ID(), b);
        EXPECT_EQ(desc.InternalName(), names[b]);
        EXPECT_EQ(desc.RefNo(), b) << "each block is the reference of its id";
        EXPECT_TRUE(desc.HasFlag(P_AUTO_CONSTRUCT) && desc.HasFlag(P_AUTO_UI));
        EXPECT_EQ((desc.RolloutFlags() & APPENDROLL_CLOSED) != 0, b == 4) << "only the version rollout";
        EXPECT_EQ(desc.Validate(), std::vector<std::string>{});
        EXPECT_EQ(desc.GetClassDesc(), LibClassDesc(0));
        for (int i = 0; i < desc.Count(); ++i) {
            const ParamDef& def = *desc.GetParamDef(desc.IndextoID(i));
            SCOPED_TRACE(def.name);
            EXPECT_NE(getString(def.labelId), nullptr) << "a label the UI can show";
            if (def.hasRange && !isReferenceType(def.type)) {
                EXPECT_LT(def.rangeMin, def.rangeMax);
                EXPECT_GE(def.defNumber[0], def.rangeMin);
                EXPECT_LE(def.defNumber[0], def.rangeMax);
            }
        }
    }
    EXPECT_EQ(descOf(4).Count(), 0) << "the version block has no parameters";
}

TEST_F(MaterialParamBlocks, EachMapParameterIsItsOwnReferenceOfTheMaterial)
{
    std::vector<std::unique_ptr<test_support::ToneMap>> maps;
    auto m = make();
    std::set<int> refs;
    for (int b = 0; b < 2; ++b) {
        IParamBlock2& block = *m->GetParamBlock(b);
        for (int i = 0; i < block.NumParams(); ++i) {
            const ParamDef& def = *block.GetParamDef(block.IndextoID(i));
            if (def.type != TYPE_TEXMAP)
                continue;
            SCOPED_TRACE(def.name);
            ASSERT_TRUE(def.ownersRef());
            EXPECT_TRUE(refs.insert(def.ownerRefNo).second) << "two parameters share a reference";
            maps.push_back(b == 1 ? std::make_unique<test_support::StandInBrush>(0.6f)
                                  : std::make_unique<test_support::ToneMap>(0.3f));
            auto* map = static_cast<ReferenceTarget*>(maps.back().get());
            ASSERT_TRUE(block.SetValue(def.id, 0, map));
            EXPECT_EQ(m->GetReference(def.ownerRefNo), map);
            EXPECT_EQ(block.GetReferenceTarget(def.id), map);
        }
    }
    EXPECT_EQ(refs.size(), 7u);
    EXPECT_EQ(m->bumpMap(), m->GetReference(vmlMaterial::firstMapRef + vmlMaterial::bumpMapSlot));
    EXPECT_EQ(m->brushMap(), m->GetReference(vmlMaterial::brushMapRef));
    EXPECT_EQ(m->baseBlock()->GetReferenceTarget(baseParam::baseMaterial), m->baseMaterial());
    m.reset();
}

}  // namespace
