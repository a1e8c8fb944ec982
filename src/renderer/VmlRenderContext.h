#pragma once
// A shading context the renderer fills itself, for evaluating texture maps where no surface is
// shaded: at a canvas pixel (the bleed-strength map) or at a texel of a brush tile.
//
// Answers to surface queries, as there is no surface: no node (NodeID -1, Node null), face 0,
// barycentric (1/3, 1/3, 1/3), no lights, the normal faces the camera (-V), the camera-space
// point is the view direction x 100 (PointTo(P(), REF_WORLD) is the world point; a parallel
// view looks down -z and the point lies 100 units down the pixel's ray), object space is camera
// space, DP and the UVW derivatives of P are zero, the background is black and opaque.
// The view direction uses the pixel position with the region origin, so a region-crop canvas
// sees the directions of the full image.

#include "host/Matrix3.h"
#include "host/ShadeContext.h"
#include "renderer/ScreenMapping.h"

namespace vml {

class VmlRenderContext : public ShadeContext {
public:
    // Distance along the view direction of the point given to maps.
    static constexpr float pointDistance = 100.0f;

    VmlRenderContext();

    // The frame's render global context (may be null outside a frame) and time.
    void setFrame(RenderGlobalContext* gc, TimeValue t);
    // Screen mapping of the canvas; `origin` is the region origin added to pixel positions.
    void setScreenMapping(const ScreenMapping& mapping, IPoint2 origin = {});
    // Places the context on canvas pixel (x, y): pixel position, screen coordinate and its
    // one-pixel derivatives, view direction and point. Needs a frame for the direction.
    void placeAtPixel(int x, int y);
    // Texture coordinates and their derivatives (the brush cache sets them per texel).
    void setTextureCoords(const Point3& uvw, const Point3& duvw);

    RenderGlobalContext* globalContext() const { return globContext; }
    IPoint2 pixel() const { return pixel_; }
    Point3 worldPoint() const;

    BOOL InMtlEditor() override;
    int Antialias() override;
    int ProjType() override;
    LightDesc* Light(int n) override;
    TimeValue CurTime() override { return time_; }
    int NodeID() override { return -1; }
    INode* Node() override { return nullptr; }
    int FaceNumber() override { return 0; }
    Point3 BarycentricCoords() override;

    Point3 Normal() override { return normal_; }
    void SetNormal(const Point3& n) override { normal_ = n; }
    Point3 OrigNormal() override { return -view_; }
    Point3 GNormal() override { return -view_; }
    Point3 V() override { return view_; }
    void SetView(const Point3& v) override { view_ = v; }
    Point3 ReflectVector() override;
    Point3 CamPos() override { return {}; }
    Point3 P() override { return point_; }
    Point3 DP() override { return {}; }
    Point3 PObj() override { return point_; }
    Point3 PointTo(const Point3& p, int toSpace) override;
    Point3 PointFrom(const Point3& p, int fromSpace) override;
    Point3 VectorTo(const Point3& v, int toSpace) override;
    Point3 VectorFrom(const Point3& v, int fromSpace) override;

    IPoint2 ScreenCoord() override { return pixel_; }
    Point2 SurfacePtScreen() override;
    Point2 SubPixel() override { return {0.5f, 0.5f}; }
    void ScreenUV(Point2& uv, Point2& duv) override;
    Point3 UVW(int channel = 1) override;
    Point3 DUVW(int channel = 1) override;
    void DPdUVW(Point3 dP[3], int channel = 1) override;
    void GetBGColor(Color& bgcol, Color& transp, BOOL fogBG = TRUE) override;

private:
    Matrix3 camToWorld() const;
    Matrix3 worldToCam() const;

    TimeValue time_ = 0;
    ScreenMapping mapping_;
    IPoint2 origin_;
    IPoint2 pixel_;
    Point2 screenUV_;
    Point3 view_{0.0f, 0.0f, -1.0f};
    Point3 normal_{0.0f, 0.0f, 1.0f};
    Point3 point_{0.0f, 0.0f, -pointDistance};
    Point3 uvw_;
    Point3 duvw_;
};

}  // namespace vml
