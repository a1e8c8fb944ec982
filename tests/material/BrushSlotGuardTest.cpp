// The brush slot accepts only the brush texture class; an emptied slot or a map of another class
// is repaired at the next update with the previous brush and a message.

#include "support/MaterialTestSupport.h"

#include "material/vmlMaterialParamBlocks.h"

#include <gtest/gtest.h>

using namespace test_support;
using namespace vml;

namespace {

constexpr const char* brushSlotText = "ﾌﾞﾗｼ以外のﾏｯﾌﾟを設定できません";

class BrushSlotGuard : public test_support::MaterialFixture {
protected:
    void SetUp() override
    {
        MaterialFixture::SetUp();
        m = make();
        m->SetSubTexmap(vmlMaterial::brushMapSlot, &brush);
        update(*m);
        core.clearMessages();
    }
    void TearDown() override
    {
        m.reset();
        MaterialFixture::TearDown();
    }
    // The one message of a repair, under the given caption.
    void expectRepairMessage(const char* caption)
    {
        ASSERT_EQ(core.messages().size(), 1u);
        EXPECT_EQ(core.messages()[0].text, brushSlotText);
        EXPECT_EQ(core.messages()[0].caption, caption);
        EXPECT_EQ(core.messages()[0].type, MB_OK | MB_ICONEXCLAMATION);
    }
    float brushToneInSlot() const
    {
        auto* b = dynamic_cast<StandInBrush*>(m->brushMap());
        return b ? b->tone : -1.0f;
    }
    StandInBrush brush{0.75f};
    std::unique_ptr<vmlMaterial> m;
};

TEST_F(BrushSlotGuard, AnEmptiedSlotGetsThePreviousBrushBackWithTheMessage)
{
    m->SetSubTexmap(vmlMaterial::brushMapSlot, nullptr);
    EXPECT_EQ(m->brushMap(), nullptr);
    ASSERT_NE(m->savedBrush(), nullptr) << "a copy of the brush is kept";
    EXPECT_NE(m->savedBrush(), &brush);
    EXPECT_TRUE(core.messages().empty()) << "nothing is said before the update";
    update(*m);
    EXPECT_FLOAT_EQ(brushToneInSlot(), 0.75f);
    EXPECT_NE(m->brushMap(), &brush) << "the copy, not the original, comes back";
    EXPECT_EQ(m->savedBrush(), nullptr) << "the copy is now the reference";
    update(*m);  // once repaired, further updates say nothing
    expectRepairMessage("Vermil+");
}

TEST_F(BrushSlotGuard, ABrushReplacingABrushOrAForeignMapNeedsNoRepair)
{
    ForeignMap foreign;
    StandInBrush next(0.1f);
    m->SetSubTexmap(vmlMaterial::brushMapSlot, &next);
    update(*m);
    EXPECT_EQ(m->brushMap(), &next);
    EXPECT_EQ(m->savedBrush(), nullptr);
    EXPECT_TRUE(core.messages().empty());
    // Emptied and refilled with a brush before the update: the saved copy is dropped silently.
    m->SetSubTexmap(vmlMaterial::brushMapSlot, nullptr);
    EXPECT_NE(m->savedBrush(), nullptr);
    m->SetSubTexmap(vmlMaterial::brushMapSlot, &brush);
    update(*m);
    EXPECT_EQ(m->brushMap(), &brush);
    EXPECT_EQ(m->savedBrush(), nullptr);
    // A brush set after a foreign map that followed an emptied slot is not replaced by the copy.
    m->SetSubTexmap(vmlMaterial::brushMapSlot, nullptr);
    m->SetSubTexmap(vmlMaterial::brushMapSlot, &foreign);
    m->SetSubTexmap(vmlMaterial::brushMapSlot, &next);
    EXPECT_EQ(m->foreignBrushRef(), 0);
    update(*m);
    EXPECT_EQ(m->brushMap(), &next);
    EXPECT_TRUE(core.messages().empty());
}

}  // namespace
