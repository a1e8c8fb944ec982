#include "standalone/import/ObjectFrame.h"

#include "standalone/import/AssimpValues.h"

namespace standalone::import {

namespace {

bool usable(const Point3& v)
{
    const float l = v.Length();
    return std::isfinite(l) && l > 1.0e-12f;
}

}  // namespace

Matrix3 aimedFrame(const Point3& position, const Point3& forward, const Point3& up)
{
    const Point3 f = usable(forward) ? Normalize(forward) : Point3(0, 0, -1);
    Point3 right = usable(up) ? CrossProd(f, Normalize(up)) : Point3();
    if (right.Length() < 1.0e-6f)
        right = CrossProd(f, std::fabs(f.y) < 0.9f ? Point3(0, 1, 0) : Point3(1, 0, 0));
    right = Normalize(right);
    return Matrix3(right, CrossProd(right, f), -f, isFinite(position) ? position : Point3());
}

}  // namespace standalone::import
