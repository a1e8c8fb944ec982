#pragma once
// Pi and the conversions between degrees and radians, one definition for the whole system.

#include <numbers>

inline constexpr float pi = std::numbers::pi_v<float>;

// Multiplies by one degree in radians, 0.017453292f (the float nearest pi / 180). Written as
// `degrees * pi / 180.0f` a conversion rounds twice and may differ in the last bit; where such an
// expression feeds a picture it stays as written.
constexpr float radians(float degrees) { return degrees * (pi / 180.0f); }
// Multiplies by one radian in degrees, the float nearest 180 / pi (57.295776f).
constexpr float degrees(float radians) { return radians * (180.0f / pi); }

static_assert(radians(1.0f) == 0.017453292f && degrees(1.0f) == 57.295776f);
