#include "host/RenderGlobalContext.h"

#include "host/ShadeContext.h"

Point2 RenderGlobalContext::MapToScreen(const Point3& p) const
{
    if (projType == PROJ_PERSPECTIVE)
        return {xc + xscale * p.x / p.z, yc + yscale * p.y / p.z};
    return {xc + xscale * p.x, yc + yscale * p.y};
}

Point3 RenderGlobalContext::RayDirection(const Point2& s) const
{
    if (projType != PROJ_PERSPECTIVE)
        return Point3(0.0f, 0.0f, -1.0f);
    return Normalize(Point3(-(s.x - xc) / xscale, -(s.y - yc) / yscale, -1.0f));
}
