// The effect list and the render-element manager, alone and as a frame uses them.

#include "support/ScanlineTestSupport.h"

#include "standalone/EffectList.h"
#include "standalone/RenderElementManager.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace test_support;

class NamedEffect : public Effect {
public:
    NamedEffect(std::string name, DWORD channels, std::vector<std::string>& log)
        : channels_(channels), log_(log)
    {
        SetName(std::move(name));
    }
    DWORD GBufferChannelsRequired(TimeValue) override { return channels_; }
    void Apply(TimeValue, Bitmap*, RenderGlobalContext*, CheckAbortCallback*) override
    {
        log_.push_back(GetName());
    }

private:
    DWORD channels_;
    std::vector<std::string>& log_;
};

class AbortAfterChecks : public CheckAbortCallback {
public:
    explicit AbortAfterChecks(int n) : left_(n) {}
    BOOL Check() override { return left_-- <= 0; }
    BOOL Progress(int, int) override { return FALSE; }
    void SetTitle(const char*) override {}

private:
    int left_;
};

TEST(EffectList, AppliesActiveEffectsInOrderAndUnitesTheirChannels)
{
    std::vector<std::string> log;
    NamedEffect a("a", BMM_CHAN_Z, log), b("b", BMM_CHAN_NORMAL, log), c("c", BMM_CHAN_COLOR, log);
    b.SetActive(FALSE);
    standalone::EffectList list;
    list.add(&a), list.add(nullptr), list.add(&b), list.add(&c);
    EXPECT_EQ(list.count(), 3);
    EXPECT_EQ(list.GBufferChannelsRequired(0), BMM_CHAN_Z | BMM_CHAN_COLOR);
    list.Apply(0, nullptr, nullptr, nullptr);
    EXPECT_EQ(log, (std::vector<std::string>{"a", "c"}));
    log.clear();
    AbortAfterChecks abort(1);
    list.Apply(0, nullptr, nullptr, &abort);
    EXPECT_EQ(log, (std::vector<std::string>{"a"}));
}

class TestElement : public IRenderElement {
public:
    void SetEnabled(BOOL on) override { enabled_ = on; }
    BOOL IsEnabled() const override { return enabled_; }
    void SetFilterEnabled(BOOL) override {}
    BOOL IsFilterEnabled() const override { return FALSE; }
    BOOL BlendOnMultipass() const override { return FALSE; }
    void SetElementName(const char* name) override { name_ = name; }
    const char* ElementName() const override { return name_.c_str(); }
    void SetPBBitmap(PBBitmap* holder) override { slot_ = holder; }
    PBBitmap* GetPBBitmap() override { return slot_; }

private:
    BOOL enabled_ = TRUE;
    std::string name_ = "element";
    PBBitmap* slot_ = nullptr;
};

TEST(RenderElementManager, ListsElementsOnceAndDetachesTheSlotsItMade)
{
    TestElement a, b;
    {
        standalone::RenderElementManager mgr;
        EXPECT_TRUE(mgr.AddRenderElement(&a));
        EXPECT_FALSE(mgr.AddRenderElement(&a));
        EXPECT_FALSE(mgr.AddRenderElement(nullptr));
        EXPECT_TRUE(mgr.AddRenderElement(&b));
        EXPECT_EQ(mgr.NumRenderElements(), 2);
        EXPECT_EQ(mgr.GetRenderElement(1), &b);
        EXPECT_EQ(mgr.GetRenderElement(2), nullptr);
        PBBitmap* slot = mgr.slotFor(&a);
        ASSERT_NE(slot, nullptr);
        EXPECT_EQ(a.GetPBBitmap(), slot);
        EXPECT_EQ(mgr.slotFor(&a), slot);
        EXPECT_TRUE(mgr.RemoveRenderElement(&a));
        EXPECT_EQ(a.GetPBBitmap(), nullptr);
        EXPECT_FALSE(mgr.RemoveRenderElement(&a));
        mgr.slotFor(&b);
    }
    EXPECT_EQ(b.GetPBBitmap(), nullptr);
}

}  // namespace
