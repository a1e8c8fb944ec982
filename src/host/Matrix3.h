#pragma once
// Affine transform stored as four rows (three axes and a translation). Points are row vectors
// and transform as p * M, so A * B applies A first, then B.

#include "host/Point3.h"

class Matrix3 {
public:
    Matrix3() { IdentityMatrix(); }
    Matrix3(const Point3& row0, const Point3& row1, const Point3& row2, const Point3& row3)
        : m_{row0, row1, row2, row3}
    {}

    void IdentityMatrix() { m_[0] = {1, 0, 0}, m_[1] = {0, 1, 0}, m_[2] = {0, 0, 1}, m_[3] = {}; }
    const Point3& GetRow(int i) const { return m_[i]; }
    void SetRow(int i, const Point3& p) { m_[i] = p; }
    const Point3& GetTrans() const { return m_[3]; }
    void SetTrans(const Point3& p) { m_[3] = p; }

    void Translate(const Point3& p) { m_[3] += p; }
    void Scale(const Point3& s);
    void RotateX(float radians);
    void RotateY(float radians);
    void RotateZ(float radians);

    // Transforms a direction: the translation is ignored.
    Point3 VectorTransform(const Point3& v) const { return m_[0] * v.x + m_[1] * v.y + m_[2] * v.z; }
    Point3 PointTransform(const Point3& p) const { return VectorTransform(p) + m_[3]; }

    Matrix3 operator*(const Matrix3& b) const;
    Matrix3& operator*=(const Matrix3& b) { return *this = *this * b; }
    bool operator==(const Matrix3&) const = default;

private:
    Point3 m_[4];
};

inline Point3 operator*(const Point3& p, const Matrix3& m) { return m.PointTransform(p); }
inline Point3 VectorTransform(const Matrix3& m, const Point3& v) { return m.VectorTransform(v); }
// Inverse of an affine transform; a singular matrix gives the identity.
Matrix3 Inverse(const Matrix3& m);
Matrix3 TransMatrix(const Point3& p);
Matrix3 ScaleMatrix(const Point3& s);
Matrix3 RotateXMatrix(float radians);
Matrix3 RotateYMatrix(float radians);
Matrix3 RotateZMatrix(float radians);
