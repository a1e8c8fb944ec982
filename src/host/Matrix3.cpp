#include "host/Matrix3.h"

#include <cmath>

Matrix3 Matrix3::operator*(const Matrix3& b) const
{
    Matrix3 r;
    for (int i = 0; i < 3; ++i)
        r.m_[i] = b.VectorTransform(m_[i]);
    r.m_[3] = b.PointTransform(m_[3]);
    return r;
}

void Matrix3::Scale(const Point3& s) { *this = *this * ScaleMatrix(s); }
void Matrix3::RotateX(float radians) { *this = *this * RotateXMatrix(radians); }
void Matrix3::RotateY(float radians) { *this = *this * RotateYMatrix(radians); }
void Matrix3::RotateZ(float radians) { *this = *this * RotateZMatrix(radians); }

Matrix3 Inverse(const Matrix3& m)
{
    const Point3 &a = m.GetRow(0), &b = m.GetRow(1), &c = m.GetRow(2);
    // Rows of the inverse of the 3x3 part are the cross products over the determinant.
    Point3 c0 = CrossProd(b, c), c1 = CrossProd(c, a), c2 = CrossProd(a, b);
    float det = DotProd(a, c0);
    if (det == 0.0f || !std::isfinite(det))
        return Matrix3();
    float inv = 1.0f / det;
    Matrix3 r(Point3(c0.x, c1.x, c2.x) * inv, Point3(c0.y, c1.y, c2.y) * inv, Point3(c0.z, c1.z, c2.z) * inv,
              Point3());
    r.SetTrans(-r.VectorTransform(m.GetTrans()));
    return r;
}

Matrix3 TransMatrix(const Point3& p)
{
    Matrix3 r;
    r.SetTrans(p);
    return r;
}

Matrix3 ScaleMatrix(const Point3& s) { return Matrix3({s.x, 0, 0}, {0, s.y, 0}, {0, 0, s.z}, {}); }

Matrix3 RotateXMatrix(float a)
{
    float c = std::cos(a), s = std::sin(a);
    return Matrix3({1, 0, 0}, {0, c, s}, {0, -s, c}, {});
}

Matrix3 RotateYMatrix(float a)
{
    float c = std::cos(a), s = std::sin(a);
    return Matrix3({c, 0, -s}, {0, 1, 0}, {s, 0, c}, {});
}

Matrix3 RotateZMatrix(float a)
{
    float c = std::cos(a), s = std::sin(a);
    return Matrix3({c, s, 0}, {-s, c, 0}, {0, 0, 1}, {});
}
