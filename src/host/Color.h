#pragma once
// Floating-point colours (0 to 1 nominal, not clamped) and the 16-bit bitmap pixel.

#include <algorithm>
#include <cstdint>

class Color {
public:
    float r = 0.0f, g = 0.0f, b = 0.0f;

    constexpr Color() = default;
    constexpr Color(float r_, float g_, float b_) : r(r_), g(g_), b(b_) {}

    constexpr float& operator[](int i) { return i == 0 ? r : (i == 1 ? g : b); }
    constexpr float operator[](int i) const { return i == 0 ? r : (i == 1 ? g : b); }
    constexpr Color operator+(const Color& o) const { return {r + o.r, g + o.g, b + o.b}; }
    constexpr Color operator-(const Color& o) const { return {r - o.r, g - o.g, b - o.b}; }
    constexpr Color operator*(const Color& o) const { return {r * o.r, g * o.g, b * o.b}; }
    constexpr Color operator*(float s) const { return {r * s, g * s, b * s}; }
    constexpr Color& operator+=(const Color& o) { return r += o.r, g += o.g, b += o.b, *this; }
    constexpr Color& operator*=(float s) { return r *= s, g *= s, b *= s, *this; }
    constexpr bool operator==(const Color&) const = default;

    constexpr void ClampMinMax()
    {
        r = std::clamp(r, 0.0f, 1.0f), g = std::clamp(g, 0.0f, 1.0f), b = std::clamp(b, 0.0f, 1.0f);
    }
};

constexpr Color operator*(float s, const Color& c) { return c * s; }

// Colour with alpha. Canvas and shading colours are premultiplied by alpha.
class AColor {
public:
    float r = 0.0f, g = 0.0f, b = 0.0f, a = 0.0f;

    constexpr AColor() = default;
    constexpr AColor(float r_, float g_, float b_, float a_ = 1.0f) : r(r_), g(g_), b(b_), a(a_) {}
    constexpr explicit AColor(const Color& c, float a_ = 1.0f) : r(c.r), g(c.g), b(c.b), a(a_) {}

    constexpr explicit operator Color() const { return {r, g, b}; }
    constexpr AColor operator+(const AColor& o) const { return {r + o.r, g + o.g, b + o.b, a + o.a}; }
    constexpr AColor operator-(const AColor& o) const { return {r - o.r, g - o.g, b - o.b, a - o.a}; }
    constexpr AColor operator*(float s) const { return {r * s, g * s, b * s, a * s}; }
    constexpr AColor& operator+=(const AColor& o) { return r += o.r, g += o.g, b += o.b, a += o.a, *this; }
    constexpr AColor& operator*=(float s) { return r *= s, g *= s, b *= s, a *= s, *this; }
    constexpr bool operator==(const AColor&) const = default;

    constexpr void ClampMinMax()
    {
        r = std::clamp(r, 0.0f, 1.0f), g = std::clamp(g, 0.0f, 1.0f), b = std::clamp(b, 0.0f, 1.0f);
        a = std::clamp(a, 0.0f, 1.0f);
    }
};

// One pixel of a 64-bit bitmap: 16 bits per channel, premultiplied.
struct BMM_Color_64 {
    std::uint16_t r = 0, g = 0, b = 0, a = 0;
    constexpr bool operator==(const BMM_Color_64&) const = default;
};
