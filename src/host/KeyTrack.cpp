#include "host/KeyTrack.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

auto firstNotBefore(std::vector<KeyTrack::Key>& keys, TimeValue t)
{
    return std::lower_bound(keys.begin(), keys.end(), t,
                            [](const KeyTrack::Key& k, TimeValue time) { return k.time < time; });
}

}  // namespace

void KeyTrack::set(TimeValue t, const ParamNumber& v)
{
    auto it = firstNotBefore(keys_, t);
    if (it != keys_.end() && it->time == t)
        it->value = v;
    else
        keys_.insert(it, {t, v});
}

bool KeyTrack::remove(TimeValue t)
{
    auto it = firstNotBefore(keys_, t);
    if (it == keys_.end() || it->time != t)
        return false;
    keys_.erase(it);
    return true;
}

ParamNumber KeyTrack::evaluate(TimeValue t, KeyInterp interp, Interval& ivalid) const
{
    const Key& first = keys_.front();
    const Key& last = keys_.back();
    if (keys_.size() == 1)
        return first.value;
    if (t < first.time) {
        ivalid &= Interval(TIME_NegInfinity, first.time);
        return first.value;
    }
    if (t > last.time) {
        ivalid &= Interval(last.time, TIME_PosInfinity);
        return last.value;
    }
    ivalid &= Interval(t, t);
    // The last key not after t; t lies on it or between it and the next.
    auto next = std::upper_bound(keys_.begin(), keys_.end(), t,
                                 [](TimeValue time, const Key& k) { return time < k.time; });
    const Key& a = *(next - 1);
    if (a.time == t || interp == KeyInterp::Hold)
        return a.value;
    const Key& b = *next;
    const double u = static_cast<double>(static_cast<std::int64_t>(t) - a.time) /
                     static_cast<double>(static_cast<std::int64_t>(b.time) - a.time);
    ParamNumber v;
    for (std::size_t i = 0; i < v.size(); ++i) {
        v[i] = a.value[i] + (b.value[i] - a.value[i]) * u;
        if (interp == KeyInterp::Round)
            v[i] = std::round(v[i]);
    }
    return v;
}
