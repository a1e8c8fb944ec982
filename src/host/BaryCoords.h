#pragma once
// Barycentric coordinates of p with respect to the triangle p0, p1, p2, measured in the
// triangle's plane (p is projected onto it). The three values sum to 1; outside the triangle
// some are negative. A degenerate triangle gives (1/3, 1/3, 1/3).

#include "host/Point2.h"
#include "host/Point3.h"

Point3 BaryCoords(const Point3& p0, const Point3& p1, const Point3& p2, const Point3& p);
Point3 BaryCoords(const Point2& p0, const Point2& p1, const Point2& p2, const Point2& p);
