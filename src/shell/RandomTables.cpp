#include "shell/RandomTables.h"

namespace vml {

RandomTable randomTableA{};
RandomTable randomTableB{};

namespace {

bool tablesFilled = false;

// Entry n-1 holds the n-th output, so the last entry is the seed again (full period).
void fillFromSeed(RandomTable& table, std::uint32_t seed)
{
    std::uint32_t x = seed;
    for (std::uint32_t& entry : table) {
        x = lcgNext(x);
        entry = x;
    }
}

}  // namespace

bool fillRandomTables()
{
    if (tablesFilled)
        return false;
    fillFromSeed(randomTableA, randomSeedA);
    fillFromSeed(randomTableB, randomSeedB);
    tablesFilled = true;
    return true;
}

bool randomTablesFilled() { return tablesFilled; }

}  // namespace vml
