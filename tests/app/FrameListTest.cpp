#include "app/FrameList.h"
#include "app/FrameChunks.h"

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

TEST(FrameList, WrittenAsParsedBack)
{
    EXPECT_EQ(app::formatFrameList({0, 1, 2, 3, 7, 9, 10}), "0-3,7,9-10");
    EXPECT_EQ(app::formatFrameList({5, 3, 4}), "5,3-4");
    EXPECT_EQ(app::formatFrameList({}), "");
    const std::vector<int> frames{12, 0, 1, 2, 40, 41};
    EXPECT_EQ(parse(app::formatFrameList(frames)), frames);
}

TEST(FrameChunks, RunsOfAtMostTheChunkSizeInOrder)
{
    using Chunks = std::vector<std::vector<int>>;
    EXPECT_EQ(app::chunkFrames({0, 1, 2, 3, 4, 5, 6}, 3), (Chunks{{0, 1, 2}, {3, 4, 5}, {6}}));
    EXPECT_EQ(app::chunkFrames({9, 2, 4}, 10), (Chunks{{9, 2, 4}}));
    EXPECT_EQ(app::chunkFrames({1, 2}, 0), (Chunks{{1}, {2}}));
    EXPECT_TRUE(app::chunkFrames({}, 6).empty());
}

}  // namespace
