#pragma once
// Stand-in maps for the tests of whatever holds a map: one grey everywhere, its tone telling
// copies apart, and a map that cannot be copied.

#include "host/Texmap.h"

namespace test_support {

// Answers one grey everywhere and counts its updates.
class ToneMap : public Texmap {
public:
    explicit ToneMap(float t = 0.5f) : tone(t) {}
    AColor EvalColor(ShadeContext&) override { return AColor(tone, tone, tone, 1.0f); }
    void Update(TimeValue, Interval&) override { ++updates; }
    ReferenceTarget* Clone() override { return new ToneMap(tone); }
    float tone;
    int updates = 0;
};

class UncopyableMap final : public ToneMap {
public:
    using ToneMap::ToneMap;
    ReferenceTarget* Clone() override { return nullptr; }
};

// The tone of a stand-in map, -1 for any other map or none.
inline float toneOf(Texmap* map)
{
    auto* tone = dynamic_cast<ToneMap*>(map);
    return tone ? tone->tone : -1.0f;
}

}  // namespace test_support
