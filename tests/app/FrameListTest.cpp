#include "app/FrameList.h"

#include <gtest/gtest.h>

namespace {

std::vector<int> parse(const std::string& text)
{
    std::string error;
    auto frames = app::parseFrameList(text, error);
    EXPECT_TRUE(frames) << text << ": " << error;
    return frames.value_or(std::vector<int>{});
}

TEST(FrameList, RangesListsAndMixes)
{
    EXPECT_EQ(parse("7"), (std::vector<int>{7}));
    EXPECT_EQ(parse("0-3"), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(parse("4-4"), (std::vector<int>{4}));
    EXPECT_EQ(parse("10,2,5"), (std::vector<int>{10, 2, 5}));
    EXPECT_EQ(parse("0-2,1,8-9"), (std::vector<int>{0, 1, 2, 8, 9}));  // duplicates dropped
}

TEST(FrameList, MalformedTextIsRefused)
{
    for (const char* bad : {"", "a", "3-", "-3", "5-2", "1,,2", "1.5", "2-x", "1 2", "99999999999"}) {
        std::string error;
        EXPECT_FALSE(app::parseFrameList(bad, error)) << bad;
        EXPECT_FALSE(error.empty()) << bad;
    }
    std::string error;
    EXPECT_FALSE(app::parseFrameList("0-2000000", error, 1000));
}

}  // namespace
