#include "shell/Locks.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

TEST(Locks, CreatedOnceSerialiseThreadsAndDeletedOnShutdown)
{
    vml::createLocks();
    ASSERT_TRUE(vml::locksExist());
    CriticalSection* stroke = &vml::strokeListLock();
    vml::createLocks();  // a second initialise keeps the same locks
    EXPECT_EQ(stroke, &vml::strokeListLock());
    EXPECT_NE(&vml::strokeListLock(), &vml::pixelSampleLock());
    EXPECT_NE(&vml::pixelSampleLock(), &vml::shadeContextPoolLock());

    long counter = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 20000; ++i) {
                CriticalSectionGuard guard(vml::pixelSampleLock());
                ++counter;
            }
        });
    for (auto& t : threads)
        t.join();
    EXPECT_EQ(counter, 80000);
    vml::deleteLocks();
    EXPECT_FALSE(vml::locksExist());
}

}  // namespace
