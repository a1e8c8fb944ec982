#include "shell/RandomTables.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using vml::randomTableA;
using vml::randomTableB;

void expectPermutation(const vml::RandomTable& table)
{
    std::vector<bool> seen(vml::randomTableSize, false);
    for (std::uint32_t v : table) {
        ASSERT_LT(v, 65536u);
        ASSERT_FALSE(seen[v]) << "value " << v << " occurs twice";
        seen[v] = true;
    }
}

TEST(RandomTables, FirstValuesLastValueAndPermutation)
{
    EXPECT_TRUE(vml::fillRandomTables());
    EXPECT_EQ((std::vector<std::uint32_t>(randomTableA.begin(), randomTableA.begin() + 4)),
              (std::vector<std::uint32_t>{13319, 56418, 16641, 21780}));
    EXPECT_EQ((std::vector<std::uint32_t>(randomTableB.begin(), randomTableB.begin() + 4)),
              (std::vector<std::uint32_t>{31786, 40489, 20508, 61811}));
    EXPECT_EQ(randomTableA[65535], 1024u);
    EXPECT_EQ(randomTableB[65535], 55535u);
    expectPermutation(randomTableA);
    expectPermutation(randomTableB);
    EXPECT_FLOAT_EQ(vml::lcgFraction(32768), 0.5f);
    EXPECT_LT(vml::lcgFraction(65535), 1.0f);

    randomTableA[0] = 7;  // a refill would restore 13319
    EXPECT_FALSE(vml::fillRandomTables());
    EXPECT_TRUE(vml::randomTablesFilled());
    EXPECT_EQ(randomTableA[0], 7u);
    randomTableA[0] = 13319;
}

}  // namespace
