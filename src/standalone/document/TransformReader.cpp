#include "standalone/document/TransformReader.h"

#include "host/Angles.h"
#include "standalone/LookAt.h"

#include <fmt/format.h>

#include <cmath>
#include <set>
#include <vector>

namespace standalone::document {

namespace {

Point3 readScale(const Json& v, const JsonLocation& at)
{
    Point3 s;
    if (v.is_number()) {
        const float k = float(readNumber(v, at));
        s = {k, k, k};
    } else if (v.is_array()) {
        s = readPoint3(v, at);
    } else {
        at.fail("expected a scale: a number or [x, y, z], got " + describe(v));
    }
    if (s.x == 0.0f || s.y == 0.0f || s.z == 0.0f)
        at.fail("a scale must not be 0 along any axis");
    return s;
}

Matrix3 eulerRotation(const Point3& degrees)
{
    return RotateXMatrix(radians(degrees.x)) * RotateYMatrix(radians(degrees.y)) *
           RotateZMatrix(radians(degrees.z));
}

template <class T> struct Key {
    TimeValue t;
    T value;
};

// A channel: one value, or keys in frames. Keys come back sorted by time.
template <class T, class Read>
std::vector<Key<T>> readChannel(const Json& v, const JsonLocation& at, int frameRate, Read read)
{
    if (!v.is_object())
        return {{0, read(v, at)}};
    ObjectReader keyed(v, at, "a keyed value");
    const Json* keys = keyed.get("keys");
    keyed.finish();
    const JsonLocation keysAt = at / "keys";
    if (!keys || !keys->is_array() || keys->empty())
        (keys ? keysAt : at).fail("expected {\"keys\": [[frame, value], ...]} with at least one key");
    std::vector<Key<T>> out;
    std::set<TimeValue> times;
    for (std::size_t i = 0; i < keys->size(); ++i) {
        const Json& key = (*keys)[i];
        const JsonLocation keyAt = keysAt / i;
        if (!key.is_array() || key.size() != 2)
            keyAt.fail("expected a key [frame, value], got " + describe(key));
        const double frame = readNumber(key[0], keyAt / 0, {-1.0e5, 1.0e5});
        const auto t = static_cast<TimeValue>(std::lround(frame * TIME_TICKSPERSEC / frameRate));
        if (!times.insert(t).second)
            (keyAt / 0).fail(fmt::format("a second key at frame {:g}", frame));
        out.push_back({t, read(key[1], keyAt / 1)});
    }
    std::sort(out.begin(), out.end(), [](const Key<T>& a, const Key<T>& b) { return a.t < b.t; });
    return out;
}

}  // namespace

void readNodeTransform(ObjectReader& r, SceneNode& node, bool aimable, bool scalable, int frameRate)
{
    auto point = [](const Json& v, const JsonLocation& at) { return readPoint3(v, at); };
    std::vector<Key<Point3>> position{{0, Point3()}}, rotation, scale{{0, Point3(1, 1, 1)}};
    if (const Json* v = r.get("position"))
        position = readChannel<Point3>(*v, r.at("position"), frameRate, point);
    if (const Json* v = r.get("rotation"))
        rotation = readChannel<Point3>(*v, r.at("rotation"), frameRate, point);
    if (scalable)
        if (const Json* v = r.get("scale"))
            scale = readChannel<Point3>(*v, r.at("scale"), frameRate, readScale);
    std::optional<Point3> target = aimable ? r.point("target") : std::nullopt;
    if (target && !rotation.empty())
        r.at("target").fail("give either \"rotation\" or \"target\", not both");
    if (target)
        for (const auto& k : position)
            if ((*target - k.value).Length() < 1e-6f * (1.0f + k.value.Length()))
                r.at("target").fail("the target must differ from the position");

    // The rest transform is the first key of every channel.
    Matrix3 orient = target ? lookAt(position.front().value, *target)
                            : (rotation.empty() ? Matrix3() : eulerRotation(rotation.front().value));
    orient.SetTrans(Point3());
    Matrix3 rest = ScaleMatrix(scale.front().value) * orient;
    rest.SetTrans(position.front().value);
    node.setLocalTM(rest);

    TransformAnimation anim;
    if (position.size() > 1) {
        for (const auto& k : position)
            anim.addPositionKey(k.t, k.value);
    }
    if (rotation.size() > 1)
        for (const auto& k : rotation)
            anim.addRotationKey(k.t, Quat::fromMatrix(eulerRotation(k.value)));
    if (scale.size() > 1)
        for (const auto& k : scale)
            anim.addScaleKey(k.t, k.value);
    node.setAnimation(std::move(anim));
    if (target)
        node.setAimTarget(*target);
}

}  // namespace standalone::document
