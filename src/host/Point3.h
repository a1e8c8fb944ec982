#pragma once
// Three-component float vector: points, normals and directions.

#include <cmath>

class Point3 {
public:
    float x = 0.0f, y = 0.0f, z = 0.0f;

    constexpr Point3() = default;
    constexpr Point3(float x_, float y_, float z_) : x(x_), y(y_), z(z_) {}

    constexpr float& operator[](int i) { return i == 0 ? x : (i == 1 ? y : z); }
    constexpr float operator[](int i) const { return i == 0 ? x : (i == 1 ? y : z); }

    constexpr Point3 operator+(const Point3& o) const { return {x + o.x, y + o.y, z + o.z}; }
    constexpr Point3 operator-(const Point3& o) const { return {x - o.x, y - o.y, z - o.z}; }
    constexpr Point3 operator-() const { return {-x, -y, -z}; }
    constexpr Point3 operator*(float s) const { return {x * s, y * s, z * s}; }
    constexpr Point3 operator/(float s) const { return {x / s, y / s, z / s}; }
    // Component-wise product.
    constexpr Point3 operator*(const Point3& o) const { return {x * o.x, y * o.y, z * o.z}; }
    constexpr Point3& operator+=(const Point3& o) { return x += o.x, y += o.y, z += o.z, *this; }
    constexpr Point3& operator-=(const Point3& o) { return x -= o.x, y -= o.y, z -= o.z, *this; }
    constexpr Point3& operator*=(float s) { return x *= s, y *= s, z *= s, *this; }
    constexpr bool operator==(const Point3&) const = default;

    float Length() const { return std::sqrt(x * x + y * y + z * z); }
    constexpr float LengthSquared() const { return x * x + y * y + z * z; }
};

constexpr Point3 operator*(float s, const Point3& p) { return p * s; }
constexpr float DotProd(const Point3& a, const Point3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
constexpr Point3 CrossProd(const Point3& a, const Point3& b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline float Length(const Point3& p) { return p.Length(); }
// Unit vector in the direction of p; the zero vector stays zero.
inline Point3 Normalize(const Point3& p)
{
    float l = p.Length();
    return l > 0.0f ? p / l : Point3{};
}
