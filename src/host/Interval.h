#pragma once
// A closed range of host time over which a value stays valid.

#include "host/MaxTypes.h"

#include <algorithm>

class Interval {
public:
    constexpr Interval() = default;  // empty
    constexpr Interval(TimeValue s, TimeValue e) : start_(s), end_(e) {}

    constexpr TimeValue Start() const { return start_; }
    constexpr TimeValue End() const { return end_; }
    constexpr void Set(TimeValue s, TimeValue e) { start_ = s, end_ = e; }
    constexpr void SetInfinite() { Set(TIME_NegInfinity, TIME_PosInfinity); }
    constexpr void SetEmpty() { Set(TIME_NegInfinity, TIME_NegInfinity); }
    constexpr void SetInstant(TimeValue t) { Set(t, t); }

    constexpr bool Empty() const { return start_ == TIME_NegInfinity && end_ == TIME_NegInfinity; }
    constexpr bool InInterval(TimeValue t) const { return !Empty() && start_ <= t && t <= end_; }

    // Intersection; a disjoint intersection is empty.
    constexpr Interval& operator&=(const Interval& o)
    {
        if (Empty() || o.Empty()) {
            SetEmpty();
            return *this;
        }
        TimeValue s = std::max(start_, o.start_), e = std::min(end_, o.end_);
        if (s > e)
            SetEmpty();
        else
            Set(s, e);
        return *this;
    }
    constexpr bool operator==(const Interval&) const = default;

private:
    TimeValue start_ = TIME_NegInfinity;
    TimeValue end_ = TIME_NegInfinity;
};

inline constexpr Interval FOREVER{TIME_NegInfinity, TIME_PosInfinity};
inline constexpr Interval NEVER{};
