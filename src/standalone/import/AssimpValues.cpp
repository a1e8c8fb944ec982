#include "standalone/import/AssimpValues.h"

namespace standalone::import {

bool isFinite(const Matrix3& m)
{
    for (int i = 0; i < 4; ++i)
        if (!isFinite(m.GetRow(i)))
            return false;
    return true;
}

Matrix3 toMatrix3(const aiMatrix4x4& m)
{
    return Matrix3({m.a1, m.b1, m.c1}, {m.a2, m.b2, m.c2}, {m.a3, m.b3, m.c3}, {m.a4, m.b4, m.c4});
}

float determinant(const Matrix3& m) { return DotProd(m.GetRow(0), CrossProd(m.GetRow(1), m.GetRow(2))); }

float uniformScale(const Matrix3& m)
{
    const float s = std::cbrt(std::fabs(determinant(m)));
    return std::isfinite(s) && s > 0.0f ? s : 1.0f;
}

}  // namespace standalone::import
