#pragma once
// The 16-bit generator a stroke draws its random values from: one step of lcgNext per draw, a
// draw being the new state / 65536. Every painter decision takes its draws in a fixed order, so
// a stroke paints the same on every run.

#include "shell/RandomTables.h"

#include <cstdint>

namespace vml {

class StrokeRandom {
public:
    explicit StrokeRandom(std::uint32_t seed = 0) : state_(seed & 0xFFFFu) {}

    // 0 <= draw < 1.
    float next()
    {
        state_ = lcgNext(state_);
        return lcgFraction(state_);
    }
    // A draw centred on 0: -0.5 <= value < 0.5.
    float centred() { return next() - 0.5f; }
    // The raw 16-bit state after one step.
    std::uint16_t nextState()
    {
        state_ = lcgNext(state_);
        return static_cast<std::uint16_t>(state_);
    }
    std::uint32_t state() const { return state_; }

private:
    std::uint32_t state_;
};

}  // namespace vml
