#include "plugin/ClassDescriptors.h"
#include "plugin/EntryPoints.h"
#include "shell/Locks.h"
#include "shell/RandomTables.h"
#include "shell/StringLookup.h"

#include "host/Interface.h"
#include "host/ParamBlockDesc2.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

namespace {

// ctest runs every test in a fresh process, so the registry's first-call behaviour can be seen;
// run by hand after another test, that case cannot and is skipped.
TEST(PluginRegistry, OutOfRangeIndexStillInitialisesOnFirstCall)
{
    if (vml::registryInitialised())
        GTEST_SKIP() << "registry already initialised in this process";
    EXPECT_FALSE(vml::randomTablesFilled());
    EXPECT_EQ(LibClassDesc(7), nullptr);
    EXPECT_TRUE(vml::registryInitialised());
    EXPECT_TRUE(vml::randomTablesFilled());
    EXPECT_EQ(vml::randomTableA[0], 13319u);
    EXPECT_EQ(LibClassDesc(-1), nullptr);
    EXPECT_NE(LibClassDesc(0), nullptr);
}

TEST(PluginRegistry, NamesNeedTheModuleAndOutliveTheNextLookup)
{
    vml::setModuleHandle(nullptr);
    EXPECT_STREQ(LibClassDesc(0)->ClassName(), "");  // failed lookup: empty name
    EXPECT_EQ(LibDescription(), nullptr);
    int module = 0;
    vml::libraryEntry(&module);
    const char* name = LibClassDesc(1)->ClassName();
    vml::getString(57);
    EXPECT_STREQ(name, "Vermil+ ﾚﾝﾀﾞﾗｰ");
    EXPECT_STREQ(LibDescription(), "Vermil+ (KOBAN STUDIO)");
    vml::setModuleHandle(nullptr);
}

TEST(PluginRegistry, EntryPointsAndShutdown)
{
    EXPECT_EQ(CanAutoDefer(), 1);
    EXPECT_EQ(LibVersion(), GetHostVersion());
    EXPECT_EQ(LibInitialize(), 1);
    EXPECT_TRUE(vml::locksExist());
    BroadcastNotification(NOTIFY_SYSTEM_SHUTDOWN);
    EXPECT_FALSE(vml::locksExist());
    UnRegisterNotification(vml::onShutdown, nullptr, NOTIFY_SYSTEM_SHUTDOWN);
}

}  // namespace
