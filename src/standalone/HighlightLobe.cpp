#include "standalone/HighlightLobe.h"

#include <algorithm>
#include <cmath>

namespace standalone {

float HighlightLobe::exponent(float glossiness)
{
    const float g = std::isfinite(glossiness) ? std::clamp(glossiness, 0.0f, 1.0f) : 0.0f;
    return std::exp2(10.0f * g + 1.0f);
}

HighlightLobe::HighlightLobe(float glossiness, float anisotropy, const Point3& n, const Point3& tangent)
    : n_(n), t_(tangent), b_(CrossProd(n, tangent))
{
    const float e = exponent(glossiness);
    const float a = std::isfinite(anisotropy) ? std::clamp(anisotropy, 0.0f, 1.0f) : 0.0f;
    round_ = a <= 0.0f;
    eB_ = e;
    // Never below 1, so the lobe still falls off (slowly) along the tangent at full anisotropy.
    eT_ = round_ ? e : std::max(e * (1.0f - a) * (1.0f - a), 1.0f);
    constexpr float defaultExponentPlus2 = 6.0f;  // glossiness 10 %
    scale_ = std::sqrt(std::sqrt((eT_ + 2.0f) * (eB_ + 2.0f)) / defaultExponentPlus2);
}

float HighlightLobe::eval(const Point3& l, const Point3& e) const
{
    const Point3 h = Normalize(l + e);
    const float nh = std::min(DotProd(n_, h), 1.0f);
    if (!(nh > 0.0f))
        return 0.0f;
    float power = eB_;
    if (!round_) {
        const float sin2 = 1.0f - nh * nh;
        if (sin2 > 1e-12f) {
            const float ht = DotProd(h, t_), hb = DotProd(h, b_);
            power = (eT_ * ht * ht + eB_ * hb * hb) / sin2;
        }
    }
    return scale_ * std::pow(nh, power);
}

}  // namespace standalone
