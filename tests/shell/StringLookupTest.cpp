#include "shell/StringLookup.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct ModuleLoaded : ::testing::Test {
    int module = 0;
    void SetUp() override { vml::setModuleHandle(&module); }
    void TearDown() override { vml::setModuleHandle(nullptr); }
};

TEST(StringLookup, NothingBeforeTheModuleIsKnown)
{
    vml::setModuleHandle(nullptr);
    EXPECT_EQ(vml::getString(1), nullptr);
}

TEST_F(ModuleLoaded, FindsTextsAndRejectsMissingIds)
{
    ASSERT_NE(vml::getString(1), nullptr);
    EXPECT_STREQ(vml::getString(1), "Vermil+ (KOBAN STUDIO)");
    EXPECT_STREQ(vml::getString(57), "ﾊｰﾄﾞﾗｲﾄ");
    EXPECT_EQ(vml::getString(0), nullptr);
    EXPECT_EQ(vml::getString(-1), nullptr);
    EXPECT_EQ(vml::getString(99999), nullptr);
}

TEST_F(ModuleLoaded, OneSharedBufferOverwrittenByTheNextLookup)
{
    const char* first = vml::getString(10);
    std::string kept = first;  // callers copy at once
    const char* second = vml::getString(11);
    EXPECT_EQ(first, second);
    EXPECT_STRNE(first, kept.c_str());
    EXPECT_EQ(kept, "Vermil+ ﾏﾃﾘｱﾙ");
    // A failed lookup leaves the buffer as it was.
    EXPECT_EQ(vml::getString(99999), nullptr);
    EXPECT_STREQ(second, "Vermil+ ﾚﾝﾀﾞﾗｰ");
}

}  // namespace
