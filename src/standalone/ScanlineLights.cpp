#include "standalone/ScanlineLights.h"

#include "host/ShadeContext.h"
#include "standalone/TriangleBvh.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace standalone {

namespace {

constexpr float kDegToRad = std::numbers::pi_v<float> / 180.0f;
// Where LightPosition puts a directional light: far along the reverse of its direction.
constexpr float kDirectionalDistance = 1.0e6f;

float smoothstep(float t)
{
    t = std::clamp(t, 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

// Everything is resolved at construction; Illuminate only reads, so one light serves many
// shading threads at once.
class ScanlineLight final : public LightDesc {
public:
    ScanlineLight(const LightSettings& s, const Matrix3& lightToCam, const TriangleBvh* shadows)
        : type_(s.type), color_(s.color * s.multiplier), position_(lightToCam.GetTrans()),
          shineDir_(Normalize(lightToCam.VectorTransform(Point3(0.0f, 0.0f, -1.0f)))),
          shadows_(s.castShadows && shadows && !shadows->empty() ? shadows : nullptr),
          bias_(std::max(s.shadowBias, 0.0f)), decayStart_(s.decayStart)
    {
        affectDiffuse = s.affectDiffuse ? TRUE : FALSE;
        affectSpecular = s.affectSpecular ? TRUE : FALSE;
        ambientOnly = s.type == LightType::ambient ? TRUE : FALSE;
        // Full cone angles in degrees; the falloff cone always contains the hotspot.
        const float falloff = std::clamp(s.falloff, 0.0f, 179.9f);
        const float hotspot = std::clamp(s.hotspot, 0.0f, falloff);
        halfFalloff_ = 0.5f * falloff * kDegToRad;
        halfHotspot_ = 0.5f * hotspot * kDegToRad;
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

        if (shadows_ && sc.shadow) {
            const Point3 origin = p + normal * bias_;
            if (type_ == LightType::directional) {
                if (shadows_->occluded(origin, dir, std::numeric_limits<float>::infinity()))
                    intensity = 0.0f;
            } else {
                const Point3 toLight = position_ - origin;
                if (shadows_->occluded(origin, toLight, 1.0f))
                    intensity = 0.0f;
            }
        }
        color = color_ * intensity;
        return TRUE;
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
    float bias_;
    float decayStart_;
    float halfHotspot_ = 0.0f, halfFalloff_ = 0.0f;  // radians
};

}  // namespace

std::unique_ptr<LightDesc> makeScanlineLight(const LightSettings& settings, const Matrix3& lightToCam,
                                             const TriangleBvh* shadows)
{
    return std::make_unique<ScanlineLight>(settings, lightToCam, shadows);
}

}  // namespace standalone
