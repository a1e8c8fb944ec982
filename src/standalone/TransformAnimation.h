#pragma once
// Keyframed transform of a node: position, rotation and scale tracks, each optional. Between keys
// position and scale interpolate linearly and rotation spherically; outside the keys the first or
// last key holds. A channel without keys keeps the node's rest transform.

#include "host/Interval.h"
#include "host/Matrix3.h"
#include "standalone/Quat.h"

#include <vector>

namespace standalone {

class TransformAnimation {
public:
    // Adding a key at a time that already has one replaces it.
    void addPositionKey(TimeValue t, const Point3& p);
    void addRotationKey(TimeValue t, const Quat& q);
    void addScaleKey(TimeValue t, const Point3& s);

    bool empty() const { return position_.empty() && rotation_.empty() && scale_.empty(); }
    // The keyed range; [0, 0] when empty.
    TimeValue firstKey() const;
    TimeValue lastKey() const;

    // The transform at t (scale, then rotation, then translation, as row vectors). Channels
    // without keys come from rest. valid narrows to the interval over which the result holds.
    Matrix3 evaluate(TimeValue t, const Matrix3& rest, Interval* valid = nullptr) const;

private:
    template <class T> struct Key {
        TimeValue t;
        T value;
    };
    template <class T> static void insert(std::vector<Key<T>>& track, TimeValue t, const T& v);
    template <class T, class Mix>
    static T sample(const std::vector<Key<T>>& track, TimeValue t, Interval* valid, Mix mix);

    std::vector<Key<Point3>> position_;
    std::vector<Key<Quat>> rotation_;
    std::vector<Key<Point3>> scale_;
};

}  // namespace standalone
