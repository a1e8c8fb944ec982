#include "host/RefTestObjects.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

TEST(References, ReplaceMovesTheRegistrationBetweenTargets)
{
    RecordingTarget maker(2), a, b;
    EXPECT_EQ(maker.ReplaceReference(0, &a), REF_SUCCEED);
    EXPECT_TRUE(a.HasDependent(&maker));
    EXPECT_EQ(maker.ReplaceReference(0, &b), REF_SUCCEED);
    EXPECT_FALSE(a.HasDependent(&maker));
    EXPECT_TRUE(b.HasDependent(&maker));
    EXPECT_EQ(maker.GetReference(0), &b);
    EXPECT_EQ(maker.DeleteReference(0), REF_SUCCEED);
    EXPECT_EQ(b.NumDependents(), 0);
    EXPECT_EQ(maker.GetReference(0), nullptr);
    EXPECT_EQ(maker.ReplaceReference(2, &a), REF_FAIL);
    EXPECT_EQ(maker.ReplaceReference(-1, &a), REF_FAIL);
    EXPECT_EQ(a.NumDependents(), 0);
}

TEST(References, TargetHeldInTwoSlotsStaysRegisteredUntilBothLetGo)
{
    RecordingTarget maker(3), a;
    maker.ReplaceReference(0, &a);
    maker.ReplaceReference(2, &a);
    EXPECT_EQ(a.NumDependents(), 1);
    EXPECT_EQ(maker.FindRef(&a), 0);
    maker.DeleteReference(0);
    EXPECT_TRUE(a.HasDependent(&maker));
    maker.DeleteAllRefsFromMe();
    EXPECT_FALSE(a.HasDependent(&maker));
    EXPECT_EQ(maker.FindRef(&a), -1);
}

TEST(References, DestroyedTargetClearsEverySlotHoldingIt)
{
    RecordingTarget maker(3), keep;
    auto doomed = std::make_unique<RecordingTarget>();
    maker.ReplaceReference(0, doomed.get());
    maker.ReplaceReference(1, &keep);
    maker.ReplaceReference(2, doomed.get());
    ReferenceTarget* doomedPtr = doomed.get();
    doomed.reset();
    EXPECT_EQ(maker.count(REFMSG_TARGET_DELETED), 1);
    EXPECT_EQ(maker.received.back().from, doomedPtr);
    EXPECT_EQ(maker.GetReference(0), nullptr);
    EXPECT_EQ(maker.GetReference(1), &keep);
    EXPECT_EQ(maker.GetReference(2), nullptr);
    // The maker no longer knows the dead target: dropping references must not touch it.
    maker.DeleteAllRefsFromMe();
    EXPECT_EQ(keep.NumDependents(), 0);
}

TEST(References, DeleteThisNotifiesWhileTheTargetIsWhole)
{
    RecordingTarget maker(1);
    auto* target = new RecordingTarget(0, Class_ID(7, 9));
    maker.ReplaceReference(0, target);
    Class_ID seen;
    maker.onNotify = [&](ReferenceTarget* from, RefMessage message) {
        if (message == REFMSG_TARGET_DELETED)
            seen = from->ClassID();
    };
    target->DeleteThis();
    EXPECT_EQ(seen, Class_ID(7, 9));
    EXPECT_EQ(maker.GetReference(0), nullptr);
}

TEST(References, DestroyedMakerLeavesNoDanglingDependent)
{
    RecordingTarget target;
    {
        RecordingTarget maker(1);
        maker.ReplaceReference(0, &target);
        EXPECT_EQ(target.NumDependents(), 1);
    }
    EXPECT_EQ(target.NumDependents(), 0);
    target.NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE); // would touch freed memory under ASan
}

TEST(References, SelfReferenceSurvivesDestruction)
{
    auto self = std::make_unique<RecordingTarget>(1);
    self->ReplaceReference(0, self.get());
    EXPECT_TRUE(self->HasDependent(self.get()));
    self.reset();
}

TEST(Notification, PropagatesAlongAChainUntilADependentStops)
{
    // c refers to b, b refers to a.
    RecordingTarget a, b(1), c(1);
    b.ReplaceReference(0, &a);
    c.ReplaceReference(0, &b);

    a.NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
    ASSERT_EQ(b.received.size(), 1u);
    EXPECT_EQ(b.received[0].from, &a);
    ASSERT_EQ(c.received.size(), 1u);
    EXPECT_EQ(c.received[0].from, &b);

    a.NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE, FALSE);
    EXPECT_EQ(b.received.size(), 2u);
    EXPECT_EQ(c.received.size(), 1u);

    for (RefResult stop : {REF_STOP, REF_DONTCARE, REF_FAIL}) {
        b.answer = stop;
        a.NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
        EXPECT_EQ(c.received.size(), 1u) << "answer " << stop;
    }
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
    EXPECT_EQ(a.count(REFMSG_CHANGE), 1); // from b, and no further round
    EXPECT_EQ(d.count(REFMSG_CHANGE), 2); // once per changed reference
    EXPECT_EQ(e.count(REFMSG_CHANGE), 1); // d passes the message on only once
}

TEST(Notification, HandlerMayDropReferencesOfOtherDependents)
{
    RecordingTarget a, first(1), second(1);
    first.ReplaceReference(0, &a);
    second.ReplaceReference(0, &a);
    // Whichever is told first makes the other let go; the other must then not be told.
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

TEST(Ownership, AdoptedObjectsDieAfterTheOwnersReferencesDrop)
{
    std::vector<std::string> log;
    {
        RecordingTarget owner(2);
        Tracked* first = owner.adopt(std::make_unique<Tracked>(log, "first"));
        Tracked* second = owner.adopt(std::make_unique<Tracked>(log, "second"));
        owner.ReplaceReference(0, first);
        owner.ReplaceReference(1, second);
        EXPECT_TRUE(owner.owns(first));
    }
    EXPECT_EQ(log, (std::vector<std::string>{"second unreferenced", "first unreferenced"}));
}

TEST(Ownership, ReleasedObjectIsTheCallersAgain)
{
    RecordingTarget owner;
    RecordingTarget* t = owner.adopt(std::make_unique<RecordingTarget>());
    std::unique_ptr<ReferenceTarget> back = owner.releaseOwned(t);
    EXPECT_EQ(back.get(), t);
    EXPECT_FALSE(owner.owns(t));
    EXPECT_EQ(owner.releaseOwned(t), nullptr);
}

} // namespace
