#pragma once
// Node animation from a model file: the first animation's channels as keyframes, at ticks =
// key time / ticks per second x 4800 (25 ticks per second when the file gives none). Keys at
// times that are not finite, and values that are not, are left out; keys landing on the same tick
// keep the last.

#include "host/MaxTypes.h"
#include "host/Point3.h"
#include "standalone/Quat.h"
#include "standalone/TransformAnimation.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

struct aiAnimation;

namespace standalone::import {

// One node's keys, kept apart so a channel can be dropped later (a document overriding it).
struct TransformKeys {
    std::vector<std::pair<TimeValue, Point3>> position, scale;
    std::vector<std::pair<TimeValue, Quat>> rotation;

    bool empty() const { return position.empty() && rotation.empty() && scale.empty(); }
    // The animation of the channels asked for.
    TransformAnimation animation(bool withPosition = true, bool withRotation = true,
                                 bool withScale = true) const;
};

// Ticks per second when the file gives none.
inline constexpr double kDefaultTicksPerSecond = 25.0;

// Keys by node name.
std::map<std::string, TransformKeys> importAnimation(const aiAnimation& animation);

}  // namespace standalone::import
