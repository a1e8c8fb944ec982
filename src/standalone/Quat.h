#pragma once
// Unit quaternions for rotation keys: conversion to and from matrices, and spherical
// interpolation along the shorter arc.

#include "host/Matrix3.h"

namespace standalone {

struct Quat {
    float x = 0.0f, y = 0.0f, z = 0.0f, w = 1.0f;

    static Quat fromAxisAngle(const Point3& axis, float radians);
    // The rotation of a matrix whose rows are orthogonal (scale is divided out).
    static Quat fromMatrix(const Matrix3& m);
    // Rotation as a row-vector matrix (p * M rotates p), no translation.
    Matrix3 toMatrix() const;
    Quat normalized() const;
};

Quat slerp(const Quat& a, Quat b, float u);

}  // namespace standalone
