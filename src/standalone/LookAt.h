#pragma once
// The orientation of a camera or light aimed at a point in a Z-up world.

#include "host/Matrix3.h"

namespace standalone {

// Rotation and translation that put a node at eye with its -z axis toward target and its +y
// axis toward world +Z (toward world +Y when looking straight up or down). eye != target.
inline Matrix3 lookAt(const Point3& eye, const Point3& target)
{
    const Point3 forward = Normalize(target - eye);
    Point3 right = CrossProd(forward, Point3(0, 0, 1));
    if (right.Length() < 1e-6f)
        right = CrossProd(forward, Point3(0, 1, 0));
    right = Normalize(right);
    const Point3 back = -forward;
    return Matrix3(right, CrossProd(back, right), back, eye);
}

}  // namespace standalone
