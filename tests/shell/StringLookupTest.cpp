#include "shell/StringLookup.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(StringLookup, NeedsTheModuleRejectsMissingIdsAndSharesOneBuffer)
{
    vml::setModuleHandle(nullptr);
    EXPECT_EQ(vml::getString(1), nullptr);
    int module = 0;
    vml::setModuleHandle(&module);
    for (int id : {0, -1, 99999})
        EXPECT_EQ(vml::getString(id), nullptr) << id;

    const char* first = vml::getString(10);
    ASSERT_NE(first, nullptr);
    std::string kept = first;  // callers copy at once
    const char* second = vml::getString(11);
    EXPECT_EQ(first, second);
    EXPECT_EQ(kept, "Vermil+ ﾏﾃﾘｱﾙ");
    // A failed lookup leaves the buffer as it was.
    EXPECT_EQ(vml::getString(99999), nullptr);
    EXPECT_STREQ(second, "Vermil+ ﾚﾝﾀﾞﾗｰ");
    vml::setModuleHandle(nullptr);
}

}  // namespace
