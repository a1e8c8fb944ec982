#include "support/RefTestObjects.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace test_support;

namespace {

TEST(References, RegistrationFollowsTheSlots)
{
    RecordingTarget maker(3), a, b;
    EXPECT_EQ(maker.ReplaceReference(0, &a), REF_SUCCEED);
    maker.ReplaceReference(2, &a);
    EXPECT_EQ(a.NumDependents(), 1);
    maker.ReplaceReference(0, &b);  // a is still held in slot 2
    EXPECT_TRUE(a.HasDependent(&maker));
    EXPECT_TRUE(b.HasDependent(&maker));
    EXPECT_EQ(maker.FindRef(&a), 2);
    EXPECT_EQ(maker.ReplaceReference(3, &a), REF_FAIL);
    EXPECT_EQ(maker.ReplaceReference(-1, &a), REF_FAIL);
    maker.DeleteAllRefsFromMe();
    EXPECT_EQ(a.NumDependents() + b.NumDependents(), 0);
    EXPECT_EQ(maker.FindRef(&a), -1);
}

TEST(References, DestroyedTargetClearsEverySlotHoldingIt)
{
    RecordingTarget maker(3), keep;
    auto doomed = std::make_unique<RecordingTarget>();
    ReferenceTarget* doomedPtr = doomed.get();
    maker.ReplaceReference(0, doomedPtr);
    maker.ReplaceReference(1, &keep);
    maker.ReplaceReference(2, doomedPtr);
    doomed.reset();
    ASSERT_EQ(maker.count(REFMSG_TARGET_DELETED), 1);
    EXPECT_EQ(maker.received.back().from, doomedPtr);
    EXPECT_EQ(maker.slots, (std::vector<ReferenceTarget*>{nullptr, &keep, nullptr}));
    maker.DeleteAllRefsFromMe();  // must not touch the dead target (ASan)
    EXPECT_EQ(keep.NumDependents(), 0);
}

TEST(References, DeleteThisNotifiesWhileTheTargetIsWhole)
{
    RecordingTarget maker(1);
    auto* target = new RecordingTarget(0, Class_ID(7, 9));
    maker.ReplaceReference(0, target);
    Class_ID seen;
    maker.onNotify = [&](ReferenceTarget* from, RefMessage) { seen = from->ClassID(); };
    target->DeleteThis();
    EXPECT_EQ(seen, Class_ID(7, 9));
    EXPECT_EQ(maker.GetReference(0), nullptr);
}

TEST(References, DestroyedMakersAndSelfReferencesLeaveNothingDangling)
{
    RecordingTarget target;
    {
        RecordingTarget maker(1);
        maker.ReplaceReference(0, &target);
    }
    EXPECT_EQ(target.NumDependents(), 0);
    target.NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);  // would reach freed memory (ASan)
    auto self = std::make_unique<RecordingTarget>(1);
    self->ReplaceReference(0, self.get());
    EXPECT_TRUE(self->HasDependent(self.get()));
    self.reset();
}

TEST(Notification, CyclesEndAndEachTargetPropagatesOnce)
{
    // a <-> b cycle, plus a diamond: d refers to b and c, both of which refer to a; e refers to d.
    RecordingTarget a(1), b(1), c(1), d(2), e(1);
    a.ReplaceReference(0, &b);
    b.ReplaceReference(0, &a);
    c.ReplaceReference(0, &a);
    d.ReplaceReference(0, &b);
    d.ReplaceReference(1, &c);
    e.ReplaceReference(0, &d);
    a.NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
    EXPECT_EQ(b.count(REFMSG_CHANGE), 1);
    EXPECT_EQ(a.count(REFMSG_CHANGE), 1);  // from b, and no further round
    EXPECT_EQ(d.count(REFMSG_CHANGE), 2);  // once per changed reference
    EXPECT_EQ(e.count(REFMSG_CHANGE), 1);  // d passes the message on only once
}

TEST(Notification, DependentDroppedByAnEarlierHandlerIsNotTold)
{
    RecordingTarget a, first(1), second(1);
    first.ReplaceReference(0, &a);
    second.ReplaceReference(0, &a);
    first.onNotify = [&](ReferenceTarget*, RefMessage) { second.DeleteReference(0); };
    second.onNotify = [&](ReferenceTarget*, RefMessage) { first.DeleteReference(0); };
    a.NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
    EXPECT_EQ(first.received.size() + second.received.size(), 1u);
}

struct Tracked : RecordingTarget {
    Tracked(std::vector<std::string>& log, std::string name) : log_(log), name_(std::move(name)) {}
    ~Tracked() override { log_.push_back(name_ + (NumDependents() == 0 ? " unreferenced" : " referenced")); }
    std::vector<std::string>& log_;
    std::string name_;
};

}  // namespace
