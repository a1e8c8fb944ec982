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

// Class ids are stored in scene files; block ids follow attachment order.
TEST(PluginRegistry, ClassTable)
{
    const std::pair<ULONG, SClass_ID> expected[] = {
        {0x03200729, 0x0C00}, {0x0320071D, 0x0F00}, {0x0320010F, 0x0C10}, {0x03200206, 0x1090},
        {0x03200207, 0x1090}, {0x03200205, 0x1150}, {0x03200704, 0x1150}};
    int module = 0;
    vml::libraryEntry(&module);
    ASSERT_EQ(LibNumberClasses(), 7);
    std::set<ClassDesc2*> distinct;
    for (int i = 0; i < 7; ++i) {
        SCOPED_TRACE(i);
        ClassDesc2* cd = LibClassDesc(i);
        ASSERT_NE(cd, nullptr);
        distinct.insert(cd);
        EXPECT_EQ(cd->ClassID(), Class_ID(0x54022254, expected[i].first));
        EXPECT_EQ(cd->SuperClassID(), expected[i].second);
        EXPECT_EQ(cd->HInstance(), &module);
        for (int b = 0; b < cd->NumParamBlockDescs(); ++b) {
            EXPECT_EQ(cd->GetParamBlockDesc(b)->GetClassDesc(), cd);
            EXPECT_EQ(cd->GetParamBlockDesc(b)->ID(), b);
        }
    }
    EXPECT_EQ(distinct.size(), 7u);
    EXPECT_EQ(LibClassDesc(3)->NumParamBlockDescs(), 4);
    EXPECT_NE(vml::vmlBackgroundMapClassId, LibClassDesc(2)->ClassID());
    vml::setModuleHandle(nullptr);
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
