#include "standalone/ScanlineLights.h"

#include "host/Angles.h"
#include "host/ShadeContext.h"
#include "standalone/TriangleBvh.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <limits>

namespace standalone {

namespace {

// Where LightPosition puts a directional light: far along the reverse of its direction.
constexpr float kDirectionalDistance = 1.0e6f;

float smoothstep(float t)
{
    t = std::clamp(t, 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

// The last shadow answers of this thread. A material that shades a sample twice (the painterly
// material shades its base and its highlight material at the same point) asks the same shadow
// question twice; the answer is kept per light and exact ray origin, so nothing else changes.
struct ShadowAnswer {
    std::uint64_t light = 0;  // 0: empty
    Point3 origin;
    bool occluded = false;
};
constexpr std::size_t shadowAnswersKept = 4;
thread_local std::array<ShadowAnswer, shadowAnswersKept> shadowAnswers;
thread_local std::size_t nextShadowAnswer = 0;

// Every light gets its own number, so an answer never outlives the light and scene it was for.
std::atomic<std::uint64_t> lightSerial{0};

// Everything is resolved at construction; Illuminate only reads, so one light serves many
// shading threads at once.
class ScanlineLight final : public LightDesc {
public:
    ScanlineLight(const LightSettings& s, const Matrix3& lightToCam, const TriangleBvh* shadows)
        : type_(s.type), color_(s.color * s.multiplier), position_(lightToCam.GetTrans()),
          shineDir_(Normalize(lightToCam.VectorTransform(Point3(0.0f, 0.0f, -1.0f)))),
          shadows_(s.castShadows && shadows && !shadows->empty() ? shadows : nullptr),
          bias_(s.shadowBias ? std::max(*s.shadowBias, 0.0f) : -1.0f), decayStart_(s.decayStart),
          serial_(++lightSerial)
    {
        affectDiffuse = s.affectDiffuse ? TRUE : FALSE;
        affectSpecular = s.affectSpecular ? TRUE : FALSE;
        ambientOnly = s.type == LightType::ambient ? TRUE : FALSE;
        // Full cone angles in degrees; the falloff cone always contains the hotspot.
        const float falloff = std::clamp(s.falloff, 0.0f, 179.9f);
        const float hotspot = std::clamp(s.hotspot, 0.0f, falloff);
        halfFalloff_ = radians(0.5f * falloff);
        halfHotspot_ = radians(0.5f * hotspot);
        if (shineDir_ == Point3())
            shineDir_ = Point3(0.0f, 0.0f, -1.0f);
    }

    BOOL Illuminate(ShadeContext& sc, const Point3& normal, Color& color, Point3& dir, float& dot_nl,
                    float& diffuseCoef) override
    {
        if (type_ == LightType::ambient) {
            color = color_;
            dir = normal;
            dot_nl = 1.0f;
            diffuseCoef = 1.0f;
            return TRUE;
        }

        const Point3 p = sc.P();
        float distance = std::numeric_limits<float>::infinity();
        if (type_ == LightType::directional) {
            dir = -shineDir_;
        } else {
            const Point3 toLight = position_ - p;
            distance = toLight.Length();
            if (!(distance > 0.0f))
                return FALSE;
            dir = toLight / distance;
        }
        dot_nl = DotProd(normal, dir);
        if (!(dot_nl > 0.0f))
            return FALSE;

        float intensity = 1.0f;
        if (type_ == LightType::spot) {
            const float cosAngle = std::clamp(DotProd(-dir, shineDir_), -1.0f, 1.0f);
            const float angle = std::acos(cosAngle);
            if (angle >= halfFalloff_)
                return FALSE;
            if (angle > halfHotspot_)
                intensity = smoothstep((halfFalloff_ - angle) / (halfFalloff_ - halfHotspot_));
        }
        if (type_ != LightType::directional && decayStart_ > 0.0f && distance > decayStart_) {
            const float r = decayStart_ / distance;
            intensity *= r * r;
        }
        diffuseCoef = dot_nl;

        if (shadows_ && sc.shadow && inShadow(p + normal * biasAt(p), dir))
            intensity = 0.0f;
        color = color_ * intensity;
        return TRUE;
    }

    float biasAt(const Point3& p) const { return bias_ >= 0.0f ? bias_ : kRelativeShadowBias * p.Length(); }

    bool inShadow(const Point3& origin, const Point3& dir) const
    {
        for (const ShadowAnswer& a : shadowAnswers)
            if (a.light == serial_ && a.origin == origin)
                return a.occluded;
        const bool occluded = type_ == LightType::directional
                                  ? shadows_->occluded(origin, dir, std::numeric_limits<float>::infinity())
                                  : shadows_->occluded(origin, position_ - origin, 1.0f);
        shadowAnswers[nextShadowAnswer] = {serial_, origin, occluded};
        nextShadowAnswer = (nextShadowAnswer + 1) % shadowAnswersKept;
        return occluded;
    }

    Point3 LightPosition() override
    {
        return type_ == LightType::directional ? position_ - shineDir_ * kDirectionalDistance : position_;
    }

private:
    LightType type_;
    Color color_;
    Point3 position_;
    Point3 shineDir_;  // unit direction the light travels (spot, directional)
    const TriangleBvh* shadows_;
    float bias_;  // world units; below 0: relative to the distance from the camera
    float decayStart_;
    std::uint64_t serial_;
    float halfHotspot_ = 0.0f, halfFalloff_ = 0.0f;  // radians
};

}  // namespace

std::unique_ptr<LightDesc> makeScanlineLight(const LightSettings& settings, const Matrix3& lightToCam,
                                             const TriangleBvh* shadows)
{
    if (!settings.on)
        return nullptr;
    return std::make_unique<ScanlineLight>(settings, lightToCam, shadows);
}

}  // namespace standalone
