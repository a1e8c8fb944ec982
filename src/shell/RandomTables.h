#pragma once
// The two process-wide tables of 16-bit pseudo-random values, and the generator step behind
// them. All randomness of stroke placement, painting and line drawing comes from here, so a
// scene paints the same on every run and every machine.

#include <array>
#include <cstdint>

namespace vml {

constexpr int randomTableSize = 65536;
using RandomTable = std::array<std::uint32_t, randomTableSize>;

// Filled by the first class-registry query; read-only afterwards. Index with (i & 0xFFFF).
extern RandomTable randomTableA;  // seed 1024
extern RandomTable randomTableB;  // seed 55535

constexpr std::uint32_t randomSeedA = 1024;
constexpr std::uint32_t randomSeedB = 55535;

// One step of the full-period generator x -> (x * 2061 + 7) mod 65536. A draw u is used as the
// fraction u / 65536.
constexpr std::uint32_t lcgNext(std::uint32_t x) { return (x * 2061u + 7u) & 0xFFFFu; }
constexpr float lcgFraction(std::uint32_t u) { return static_cast<float>(u) * (1.0f / 65536.0f); }

// Fills both tables unless they already are; returns true when this call filled them.
bool fillRandomTables();
bool randomTablesFilled();

}  // namespace vml
