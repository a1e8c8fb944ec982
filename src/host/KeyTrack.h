#pragma once
// Keyframes of one animated numeric parameter and their evaluation at a host time.

#include "host/Interval.h"
#include "host/ParamDef.h"

#include <vector>

// How values between two keys are found.
enum class KeyInterp {
    Linear,  // straight line between the neighbouring keys (floats, colours, points)
    Round,   // straight line, then rounded to the nearest whole number (ints)
    Hold,    // the earlier key's value until the next key (bools)
};

class KeyTrack {
public:
    struct Key {
        TimeValue time;
        ParamNumber value;
    };

    bool empty() const { return keys_.empty(); }
    int count() const { return static_cast<int>(keys_.size()); }
    // i in 0..count()-1; keys are in ascending time.
    const Key& key(int i) const { return keys_[static_cast<std::size_t>(i)]; }

    // Adds a key at t, replacing the value of a key already there.
    void set(TimeValue t, const ParamNumber& v);
    bool remove(TimeValue t);
    void clear() { keys_.clear(); }

    // Value at t; the track must not be empty. Outside the keyed range the first or last value
    // holds. ivalid is narrowed to where the answer is known to hold: a single key leaves it
    // alone; before the first key it becomes [-inf, first], after the last [last, +inf], and
    // anywhere from the first key to the last (keys included) the instant t.
    ParamNumber evaluate(TimeValue t, KeyInterp interp, Interval& ivalid) const;

private:
    std::vector<Key> keys_;
};
