#include "shell/Locks.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

// Four threads count under `lock`; the total comes out right only when it serialises them.
long countUnder(CriticalSection& lock)
{
    long counter = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 20000; ++i) {
                CriticalSectionGuard guard(lock);
                ++counter;
            }
        });
    for (auto& t : threads)
        t.join();
    return counter;
}

TEST(Locks, CreatedOnceSerialiseThreadsAndDeletedOnShutdown)
{
    vml::createLocks();
    ASSERT_TRUE(vml::locksExist());
    CriticalSection* stroke = &vml::strokeListLock();
    vml::createLocks();  // a second initialise keeps the same locks
    EXPECT_EQ(stroke, &vml::strokeListLock());
    EXPECT_NE(&vml::strokeListLock(), &vml::pixelSampleLock());
    EXPECT_NE(&vml::pixelSampleLock(), &vml::shadeContextPoolLock());

    EXPECT_EQ(countUnder(vml::pixelSampleLock()), 80000);
    vml::deleteLocks();
    EXPECT_FALSE(vml::locksExist());
}

TEST(Locks, AUseAfterShutdownStopsDebugBuildsAndNeverBringsTheLocksBack)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    vml::createLocks();
    CriticalSection* before = &vml::strokeListLock();
    vml::deleteLocks();
    // Release builds go on: the late user gets the lock it had, still serialising.
    EXPECT_DEBUG_DEATH(
        {
            CriticalSection& late = vml::strokeListLock();
            EXPECT_EQ(&late, before);
            EXPECT_EQ(countUnder(late), 80000);
        },
        "after shutdown");
    EXPECT_FALSE(vml::locksExist());

    vml::createLocks();  // a new initialise
    EXPECT_TRUE(vml::locksExist());
    vml::deleteLocks();
}

}  // namespace
