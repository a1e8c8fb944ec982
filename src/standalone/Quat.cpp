#include "standalone/Quat.h"

#include <cmath>

namespace standalone {

Quat Quat::fromAxisAngle(const Point3& axis, float radians)
{
    Point3 n = Normalize(axis);
    float s = std::sin(radians * 0.5f);
    return Quat{n.x * s, n.y * s, n.z * s, std::cos(radians * 0.5f)};
}

Quat Quat::fromMatrix(const Matrix3& m)
{
    Point3 r0 = Normalize(m.GetRow(0)), r1 = Normalize(m.GetRow(1)), r2 = Normalize(m.GetRow(2));
    // Row-vector matrices are the transpose of the column-vector rotation the formula expects.
    float m00 = r0.x, m01 = r1.x, m02 = r2.x;
    float m10 = r0.y, m11 = r1.y, m12 = r2.y;
    float m20 = r0.z, m21 = r1.z, m22 = r2.z;
    float trace = m00 + m11 + m22;
    Quat q;
    if (trace > 0.0f) {
        float s = std::sqrt(trace + 1.0f) * 2.0f;
        q = {(m21 - m12) / s, (m02 - m20) / s, (m10 - m01) / s, 0.25f * s};
    } else if (m00 > m11 && m00 > m22) {
        float s = std::sqrt(1.0f + m00 - m11 - m22) * 2.0f;
        q = {0.25f * s, (m01 + m10) / s, (m02 + m20) / s, (m21 - m12) / s};
    } else if (m11 > m22) {
        float s = std::sqrt(1.0f + m11 - m00 - m22) * 2.0f;
        q = {(m01 + m10) / s, 0.25f * s, (m12 + m21) / s, (m02 - m20) / s};
    } else {
        float s = std::sqrt(1.0f + m22 - m00 - m11) * 2.0f;
        q = {(m02 + m20) / s, (m12 + m21) / s, 0.25f * s, (m10 - m01) / s};
    }
    return q.normalized();
}

Matrix3 Quat::toMatrix() const
{
    float xx = x * x, yy = y * y, zz = z * z, xy = x * y, xz = x * z, yz = y * z, wx = w * x, wy = w * y,
          wz = w * z;
    // Rows are the images of the x, y and z axes.
    return Matrix3({1 - 2 * (yy + zz), 2 * (xy + wz), 2 * (xz - wy)},
                   {2 * (xy - wz), 1 - 2 * (xx + zz), 2 * (yz + wx)},
                   {2 * (xz + wy), 2 * (yz - wx), 1 - 2 * (xx + yy)}, {});
}

Quat Quat::normalized() const
{
    float l = std::sqrt(x * x + y * y + z * z + w * w);
    if (!(l > 0.0f) || !std::isfinite(l))
        return Quat{};
    return Quat{x / l, y / l, z / l, w / l};
}

Quat slerp(const Quat& a, Quat b, float u)
{
    float d = a.x * b.x + a.y * b.y + a.z * b.z + a.w * b.w;
    if (d < 0.0f) {  // the shorter arc
        b = Quat{-b.x, -b.y, -b.z, -b.w};
        d = -d;
    }
    float wa, wb;
    if (d > 0.9995f) {  // nearly parallel: linear is exact enough and avoids dividing by ~0
        wa = 1.0f - u, wb = u;
    } else {
        float theta = std::acos(d), s = std::sin(theta);
        wa = std::sin((1.0f - u) * theta) / s, wb = std::sin(u * theta) / s;
    }
    return Quat{wa * a.x + wb * b.x, wa * a.y + wb * b.y, wa * a.z + wb * b.z, wa * a.w + wb * b.w}
        .normalized();
}

}  // namespace standalone
