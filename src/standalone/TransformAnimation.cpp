#include "standalone/TransformAnimation.h"

#include <algorithm>

namespace standalone {

template <class T> void TransformAnimation::insert(std::vector<Key<T>>& track, TimeValue t, const T& v)
{
    auto it =
        std::lower_bound(track.begin(), track.end(), t, [](const Key<T>& k, TimeValue x) { return k.t < x; });
    if (it != track.end() && it->t == t)
        it->value = v;
    else
        track.insert(it, Key<T>{t, v});
}

void TransformAnimation::addPositionKey(TimeValue t, const Point3& p) { insert(position_, t, p); }
void TransformAnimation::addRotationKey(TimeValue t, const Quat& q) { insert(rotation_, t, q.normalized()); }
void TransformAnimation::addScaleKey(TimeValue t, const Point3& s) { insert(scale_, t, s); }

TimeValue TransformAnimation::firstKey() const
{
    TimeValue first = TIME_PosInfinity;
    for (TimeValue t : {position_.empty() ? TIME_PosInfinity : position_.front().t,
                        rotation_.empty() ? TIME_PosInfinity : rotation_.front().t,
                        scale_.empty() ? TIME_PosInfinity : scale_.front().t})
        first = std::min(first, t);
    return first == TIME_PosInfinity ? 0 : first;
}

TimeValue TransformAnimation::lastKey() const
{
    TimeValue last = TIME_NegInfinity;
    for (TimeValue t : {position_.empty() ? TIME_NegInfinity : position_.back().t,
                        rotation_.empty() ? TIME_NegInfinity : rotation_.back().t,
                        scale_.empty() ? TIME_NegInfinity : scale_.back().t})
        last = std::max(last, t);
    return last == TIME_NegInfinity ? 0 : last;
}

template <class T, class Mix>
T TransformAnimation::sample(const std::vector<Key<T>>& track, TimeValue t, Interval* valid, Mix mix)
{
    if (track.size() == 1)
        return track.front().value;
    if (t <= track.front().t) {
        if (valid)
            *valid &= Interval(TIME_NegInfinity, track.front().t);
        return track.front().value;
    }
    if (t >= track.back().t) {
        if (valid)
            *valid &= Interval(track.back().t, TIME_PosInfinity);
        return track.back().value;
    }
    auto hi =
        std::upper_bound(track.begin(), track.end(), t, [](TimeValue x, const Key<T>& k) { return x < k.t; });
    auto lo = hi - 1;
    if (valid)
        *valid &= Interval(t, t);
    float u = static_cast<float>(t - lo->t) / static_cast<float>(hi->t - lo->t);
    return mix(lo->value, hi->value, u);
}

Matrix3 TransformAnimation::evaluate(TimeValue t, const Matrix3& rest, Interval* valid) const
{
    auto lerp = [](const Point3& a, const Point3& b, float u) { return a + (b - a) * u; };
    Point3 restScale(rest.GetRow(0).Length(), rest.GetRow(1).Length(), rest.GetRow(2).Length());

    Point3 pos = position_.empty() ? rest.GetTrans() : sample(position_, t, valid, lerp);
    Point3 scl = scale_.empty() ? restScale : sample(scale_, t, valid, lerp);
    Matrix3 rot = rotation_.empty() ? Quat::fromMatrix(rest).toMatrix()
                                    : sample(rotation_, t, valid, [](const Quat& a, const Quat& b, float u) {
                                          return slerp(a, b, u);
                                      }).toMatrix();
    Matrix3 m = ScaleMatrix(scl) * rot;
    m.SetTrans(pos);
    return m;
}

}  // namespace standalone
