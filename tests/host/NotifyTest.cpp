#include "host/Notify.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<int> calls;

void record(void* param, NotifyInfo* info)
{
    calls.push_back(*static_cast<int*>(param) * 100 + info->intcode);
}

void unregisterSelf(void* param, NotifyInfo*)
{
    calls.push_back(-1);
    UnRegisterNotification(unregisterSelf, param, 7);
}

TEST(Notify, CallsRegisteredCallbacksOfTheCodeInOrder)
{
    calls.clear();
    int a = 1, b = 2;
    RegisterNotification(record, &a, NOTIFY_PRE_RENDERFRAME);
    RegisterNotification(record, &b, NOTIFY_PRE_RENDERFRAME);
    RegisterNotification(record, &a, NOTIFY_PRE_RENDERFRAME);  // duplicate: ignored
    RegisterNotification(record, &b, NOTIFY_POST_RENDERFRAME);
    BroadcastNotification(NOTIFY_PRE_RENDERFRAME);
    EXPECT_EQ(calls, (std::vector<int>{122, 222}));
    EXPECT_TRUE(UnRegisterNotification(record, &a, NOTIFY_PRE_RENDERFRAME));
    EXPECT_FALSE(UnRegisterNotification(record, &a, NOTIFY_PRE_RENDERFRAME));
    calls.clear();
    BroadcastNotification(NOTIFY_PRE_RENDERFRAME);
    BroadcastNotification(NOTIFY_POST_RENDERFRAME);
    EXPECT_EQ(calls, (std::vector<int>{222, 223}));
    UnRegisterNotification(record, &b, NOTIFY_PRE_RENDERFRAME);
    UnRegisterNotification(record, &b, NOTIFY_POST_RENDERFRAME);
}

TEST(Notify, CallbackMayUnregisterItselfDuringBroadcast)
{
    calls.clear();
    int p = 0;
    RegisterNotification(unregisterSelf, &p, 7);
    BroadcastNotification(7);
    BroadcastNotification(7);
    EXPECT_EQ(calls, (std::vector<int>{-1}));
}

}  // namespace
