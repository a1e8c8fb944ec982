#pragma once
// Assimp's value types in the host's terms. Assimp matrices act on column vectors (p' = M p) and
// are stored by rows; host matrices act on row vectors (p' = p M), so the 3x3 part transposes and
// the translation is Assimp's fourth column.

#include "host/Color.h"
#include "host/Matrix3.h"
#include "host/Point3.h"

#include <assimp/color4.h>
#include <assimp/matrix4x4.h>
#include <assimp/types.h>
#include <assimp/vector3.h>

#include <cmath>
#include <string>

namespace standalone::import {

inline Point3 toPoint3(const aiVector3D& v) { return {v.x, v.y, v.z}; }
inline Color toColor(const aiColor3D& c) { return {c.r, c.g, c.b}; }
inline Color toColor(const aiColor4D& c) { return {c.r, c.g, c.b}; }
inline std::string toString(const aiString& s) { return std::string(s.data, s.length); }

inline bool isFinite(const Point3& p)
{
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}
inline bool isFinite(const Color& c)
{
    return std::isfinite(c.r) && std::isfinite(c.g) && std::isfinite(c.b);
}
bool isFinite(const Matrix3& m);

// The affine part of m (Assimp's bottom row is ignored: files hold no projections in nodes).
Matrix3 toMatrix3(const aiMatrix4x4& m);

// Determinant of the 3x3 part: negative for a mirroring transform.
float determinant(const Matrix3& m);

// The uniform scale of m: the cube root of |determinant|, 1 for a singular matrix.
float uniformScale(const Matrix3& m);

}  // namespace standalone::import
