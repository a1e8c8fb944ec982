#pragma once
// Control points of the classic teapot: 32 bicubic Bezier patches (rim, body, handle, spout, lid
// and the 4-patch bottom), Z up, resting on z = 0, spout toward +X, body radius 2.
// Patch p's control point at row r, column c is kPoints[kPatches[p][r * 4 + c]]; the cross
// product of the derivative along a row with the derivative across rows points out of the pot.

namespace standalone::teapot {

inline constexpr int kPatchCount = 32;
inline constexpr int kPointCount = 306;
inline constexpr float kBodyRadius = 2.0f;

extern const float kPoints[kPointCount][3];
extern const unsigned short kPatches[kPatchCount][16];

}  // namespace standalone::teapot
