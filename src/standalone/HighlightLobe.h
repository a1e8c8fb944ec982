#pragma once
// The highlight of the standard material: a Blinn lobe (N.H)^e, or with anisotropy an
// Ashikhmin-Shirley lobe whose exponent drops along a surface tangent, stretching the highlight
// that way. Anisotropy 0 gives exactly the Blinn lobe.
//
// The exponent is e = 2^(10 g + 1) for glossiness g in [0, 1] (2 to 2048). The lobe is scaled by
// sqrt((e + 2) / 6): the peak equals the specular level at the default glossiness (10 %), and a
// glossier surface gets a smaller but brighter highlight whose total energy still falls, only far
// more slowly than an unscaled lobe's would.

#include "host/Point3.h"

namespace standalone {

class HighlightLobe {
public:
    static float exponent(float glossiness);

    // n: unit normal. tangent: unit, perpendicular to n; only read when anisotropy > 0.
    // anisotropy in [0, 1]: 0 round, towards 1 ever longer along the tangent.
    HighlightLobe(float glossiness, float anisotropy, const Point3& n, const Point3& tangent);

    // l: unit direction to the light, e: unit direction to the eye.
    float eval(const Point3& l, const Point3& e) const;
    // The value at the mirror direction (H == N).
    float peak() const { return scale_; }

private:
    Point3 n_, t_, b_;
    float eT_, eB_;  // exponents along the tangent and the bitangent
    bool round_;
    float scale_;
};

}  // namespace standalone
