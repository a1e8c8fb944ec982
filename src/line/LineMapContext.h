#pragma once
// The shading context a line map is evaluated in: a point of the screen, not of a surface. Only
// the time, the pixel and the screen coordinates are meaningful; every geometric answer is zero
// (the map sees no surface), so UVW-mapped maps read their origin.

#include "host/ShadeContext.h"

namespace vml {

class LineMapContext final : public ShadeContext {
public:
    // A context for an image of width x height pixels (both at least 1) at time t.
    LineMapContext(RenderGlobalContext* gc, TimeValue t, int width, int height);

    // Moves the context to pixel (x, y) with screen coordinates (u, v), v = 0 at the bottom edge.
    void moveTo(int x, int y, float u, float v);

    BOOL InMtlEditor() override { return FALSE; }
    int Antialias() override { return FALSE; }
    int ProjType() override;
    LightDesc* Light(int) override { return nullptr; }
    TimeValue CurTime() override { return time_; }
    int NodeID() override { return -1; }
    INode* Node() override { return nullptr; }
    int FaceNumber() override { return 0; }
    Point3 BarycentricCoords() override { return Point3(); }
    Point3 Normal() override { return normal_; }
    void SetNormal(const Point3& n) override { normal_ = n; }
    Point3 OrigNormal() override { return Point3(0.0f, 0.0f, 1.0f); }
    Point3 GNormal() override { return Point3(0.0f, 0.0f, 1.0f); }
    Point3 V() override { return view_; }
    void SetView(const Point3& v) override { view_ = v; }
    Point3 ReflectVector() override { return -view_; }
    Point3 CamPos() override { return Point3(); }
    Point3 P() override { return Point3(); }
    Point3 DP() override { return Point3(); }
    Point3 PObj() override { return Point3(); }
    Point3 PointTo(const Point3& p, int) override { return p; }
    Point3 PointFrom(const Point3& p, int) override { return p; }
    Point3 VectorTo(const Point3& v, int) override { return v; }
    Point3 VectorFrom(const Point3& v, int) override { return v; }
    IPoint2 ScreenCoord() override { return pixel_; }
    Point2 SurfacePtScreen() override { return screen_; }
    Point2 SubPixel() override { return Point2(0.5f, 0.5f); }
    void ScreenUV(Point2& uv, Point2& duv) override;
    Point3 UVW(int) override { return Point3(uv_.x, uv_.y, 0.0f); }
    Point3 DUVW(int) override { return Point3(duv_.x, duv_.y, 0.0f); }
    void DPdUVW(Point3 dP[3], int) override { dP[0] = dP[1] = dP[2] = Point3(); }
    void GetBGColor(Color& bgcol, Color& transp, BOOL) override;

private:
    TimeValue time_;
    IPoint2 pixel_;
    Point2 screen_;
    Point2 uv_;
    Point2 duv_;
    Point3 normal_{0.0f, 0.0f, 1.0f};
    Point3 view_{0.0f, 0.0f, -1.0f};
};

}  // namespace vml
