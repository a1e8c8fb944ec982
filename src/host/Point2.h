#pragma once
// Two-component float vector (screen positions, UVs, wind, velocity).

#include <cmath>

class Point2 {
public:
    float x = 0.0f, y = 0.0f;

    constexpr Point2() = default;
    constexpr Point2(float x_, float y_) : x(x_), y(y_) {}

    constexpr Point2 operator+(const Point2& o) const { return {x + o.x, y + o.y}; }
    constexpr Point2 operator-(const Point2& o) const { return {x - o.x, y - o.y}; }
    constexpr Point2 operator-() const { return {-x, -y}; }
    constexpr Point2 operator*(float s) const { return {x * s, y * s}; }
    constexpr Point2 operator/(float s) const { return {x / s, y / s}; }
    constexpr Point2& operator+=(const Point2& o) { return x += o.x, y += o.y, *this; }
    constexpr Point2& operator-=(const Point2& o) { return x -= o.x, y -= o.y, *this; }
    constexpr Point2& operator*=(float s) { return x *= s, y *= s, *this; }
    constexpr bool operator==(const Point2&) const = default;

    float Length() const { return std::sqrt(x * x + y * y); }
    constexpr float LengthSquared() const { return x * x + y * y; }
};

constexpr Point2 operator*(float s, const Point2& p) { return p * s; }
constexpr float DotProd(const Point2& a, const Point2& b) { return a.x * b.x + a.y * b.y; }
inline float Length(const Point2& p) { return p.Length(); }
// Unit vector in the direction of p; the zero vector stays zero.
inline Point2 Normalize(const Point2& p)
{
    float l = p.Length();
    return l > 0.0f ? p / l : Point2{};
}

// Integer pixel position.
struct IPoint2 {
    int x = 0, y = 0;
    constexpr bool operator==(const IPoint2&) const = default;
};
