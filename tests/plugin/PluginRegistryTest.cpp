#include "plugin/ClassDescriptors.h"
#include "plugin/EntryPoints.h"
#include "shell/Locks.h"
#include "shell/RandomTables.h"
#include "shell/StringLookup.h"

#include "host/Interface.h"
#include "host/ParamBlockDesc2.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

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

TEST(PluginRegistry, LaterCallsNeitherReattachNorRefill)
{
    ClassDesc2* material = LibClassDesc(0);
    ASSERT_NE(material, nullptr);
    int blocks = material->NumParamBlockDescs();
    vml::randomTableB[5] = 1;  // a refill would restore the generator's value
    for (int i = 0; i < 7; ++i)
        LibClassDesc(i);
    EXPECT_EQ(material->NumParamBlockDescs(), blocks);
    EXPECT_EQ(vml::randomTableB[5], 1u);
    vml::randomTableB[5] = vml::lcgNext(vml::randomTableB[4]);
}

TEST(PluginRegistry, ClassTable)
{
    struct ExpectedClass {
        ULONG idB;
        SClass_ID super;
        bool isPublic;
        const char* name;
        const char* internalName;
        const char* blocks;  // internal names, in attachment order
    };
    const ExpectedClass expected[] = {
        {0x03200729, 0x0C00, true, "Vermil+ ﾏﾃﾘｱﾙ", "Vermil+ material",
         "parameters,brush,stroke,paint,version,"},
        {0x0320071D, 0x0F00, true, "Vermil+ ﾚﾝﾀﾞﾗｰ", "Vermil+ renderer", "parameters,version,param,"},
        {0x0320010F, 0x0C10, false, "Vermil+ ﾌﾞﾗｼ", "Vermil+ brush", "parameters,"},
        {0x03200206, 0x1090, true, "Vermil+ ﾗｲﾝ", "Vermil+ Line", "parameters,parameters,paint,version,"},
        {0x03200207, 0x1090, false, "Vermil+ ﾗｲﾝ Element", "Vermil+ Line Element", "parameters,paint,"},
        {0x03200205, 0x1150, true, "Vermil+ ﾗｲﾝ", "Vermil+ Line Render Element",
         "Vermil+ Line render element parameters,"},
        {0x03200704, 0x1150, false, "Crayon+ ｽﾄﾛｰｸ", "Crayon+ Stroke Render Element",
         "Crayon+ Stroke render element parameters,"},
    };
    int module = 0;
    vml::libraryEntry(&module);
    ASSERT_EQ(LibNumberClasses(), 7);
    std::set<ClassDesc2*> distinct;
    for (int i = 0; i < 7; ++i) {
        SCOPED_TRACE(i);
        ClassDesc2* cd = LibClassDesc(i);
        ASSERT_NE(cd, nullptr);
        distinct.insert(cd);
        const ExpectedClass& e = expected[i];
        EXPECT_EQ(cd->ClassID(), Class_ID(0x54022254, e.idB));
        EXPECT_EQ(cd->SuperClassID(), e.super);
        EXPECT_EQ(cd->IsPublic(), e.isPublic ? 1 : 0);
        EXPECT_STREQ(cd->ClassName(), e.name);
        EXPECT_STREQ(cd->InternalName(), e.internalName);
        EXPECT_STREQ(cd->Category(), "");
        EXPECT_EQ(cd->HInstance(), &module);
        EXPECT_EQ(cd->InitialRollupPageState(), 0x7FFFFFFFu);
        std::string blocks;
        for (int b = 0; b < cd->NumParamBlockDescs(); ++b) {
            ParamBlockDesc2* pbd = cd->GetParamBlockDesc(b);
            EXPECT_EQ(pbd->GetClassDesc(), cd);
            EXPECT_EQ(pbd->ID(), b) << "block ids follow attachment order";
            blocks += std::string(pbd->InternalName()) + ",";
        }
        EXPECT_EQ(blocks, e.blocks);
    }
    EXPECT_EQ(distinct.size(), 7u);
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
