#include "host/BaryCoords.h"

Point3 BaryCoords(const Point3& p0, const Point3& p1, const Point3& p2, const Point3& p)
{
    Point3 n = CrossProd(p1 - p0, p2 - p0);
    float nn = DotProd(n, n);
    if (!(nn > 0.0f))
        return {1.0f / 3.0f, 1.0f / 3.0f, 1.0f / 3.0f};
    // Signed sub-triangle areas relative to the whole, along the triangle's normal.
    float b1 = DotProd(CrossProd(p - p0, p2 - p0), n) / nn;
    float b2 = DotProd(CrossProd(p1 - p0, p - p0), n) / nn;
    return {1.0f - b1 - b2, b1, b2};
}

Point3 BaryCoords(const Point2& p0, const Point2& p1, const Point2& p2, const Point2& p)
{
    return BaryCoords(Point3(p0.x, p0.y, 0.0f), Point3(p1.x, p1.y, 0.0f), Point3(p2.x, p2.y, 0.0f),
                      Point3(p.x, p.y, 0.0f));
}
