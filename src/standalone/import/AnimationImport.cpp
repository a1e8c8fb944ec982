#include "standalone/import/AnimationImport.h"

#include "standalone/import/AssimpValues.h"

#include <assimp/anim.h>

#include <cmath>
#include <limits>

namespace standalone::import {

namespace {

// The host tick of a key time, or false when it is not finite or out of range.
bool toTicks(double time, double ticksPerSecond, TimeValue& t)
{
    const double ticks = std::round(time / ticksPerSecond * TIME_TICKSPERSEC);
    if (!std::isfinite(ticks) || std::fabs(ticks) > double(std::numeric_limits<TimeValue>::max() / 2))
        return false;
    t = static_cast<TimeValue>(ticks);
    return true;
}

template <class Key, class Convert, class Out>
void convertKeys(const Key* keys, unsigned count, double ticksPerSecond, Convert convert, Out& out)
{
    if (!keys)
        return;
    for (unsigned i = 0; i < count; ++i) {
        TimeValue t = 0;
        bool ok = true;
        auto value = convert(keys[i].mValue, ok);
        if (ok && toTicks(keys[i].mTime, ticksPerSecond, t))
            out.emplace_back(t, value);
    }
}

}  // namespace

TransformAnimation TransformKeys::animation(bool withPosition, bool withRotation, bool withScale) const
{
    TransformAnimation a;
    if (withPosition)
        for (const auto& [t, p] : position)
            a.addPositionKey(t, p);
    if (withRotation)
        for (const auto& [t, q] : rotation)
            a.addRotationKey(t, q);
    if (withScale)
        for (const auto& [t, s] : scale)
            a.addScaleKey(t, s);
    return a;
}

std::map<std::string, TransformKeys> importAnimation(const aiAnimation& animation)
{
    const double tps = std::isfinite(animation.mTicksPerSecond) && animation.mTicksPerSecond > 0.0
                           ? animation.mTicksPerSecond
                           : kDefaultTicksPerSecond;
    auto vector = [](const aiVector3D& v, bool& ok) {
        const Point3 p = toPoint3(v);
        ok = isFinite(p);
        return p;
    };
    auto scale = [&](const aiVector3D& v, bool& ok) {
        const Point3 s = vector(v, ok);
        ok = ok && s.x != 0.0f && s.y != 0.0f && s.z != 0.0f;
        return s;
    };
    // Assimp's quaternions rotate column vectors by the same rotation as the host's rotate rows.
    auto rotation = [](const aiQuaternion& q, bool& ok) {
        ok = std::isfinite(q.x) && std::isfinite(q.y) && std::isfinite(q.z) && std::isfinite(q.w) &&
             (q.x != 0 || q.y != 0 || q.z != 0 || q.w != 0);
        return Quat{q.x, q.y, q.z, q.w};
    };

    std::map<std::string, TransformKeys> byNode;
    for (unsigned c = 0; animation.mChannels && c < animation.mNumChannels; ++c) {
        const aiNodeAnim* channel = animation.mChannels[c];
        if (!channel)
            continue;
        TransformKeys& keys = byNode[toString(channel->mNodeName)];
        convertKeys(channel->mPositionKeys, channel->mNumPositionKeys, tps, vector, keys.position);
        convertKeys(channel->mRotationKeys, channel->mNumRotationKeys, tps, rotation, keys.rotation);
        convertKeys(channel->mScalingKeys, channel->mNumScalingKeys, tps, scale, keys.scale);
    }
    return byNode;
}

}  // namespace standalone::import
