#pragma once
// The shading context of the scanline renderer. One context serves one thread: it is set up for
// a fragment (or a background sample), handed to the material, and set up again for the next.
//
// Values: P is the camera-space point of the face at the centre of the fragment's covered
// sub-samples; the normals face the camera (a back face has them negated); V is unit, from the
// camera toward P (parallel views: (0, 0, -1)); DP and DUVW are the absolute changes over one
// pixel step in x plus one in y; UVW is channel 1 only.

#include "host/ShadeContext.h"
#include "standalone/scanline/Fragment.h"
#include "standalone/scanline/ShadingFrame.h"

class Mtl;

namespace standalone::scanline {

class ScanlineShadeContext : public ShadeContext {
public:
    explicit ScanlineShadeContext(const ShadingFrame& frame);

    // Prepares a camera-ray sample of fragment f in pixel (x, y) and resets the output.
    void beginFragment(int x, int y, const Fragment& f);
    // Prepares a sample of the background through the centre of pixel (x, y): no node, no face.
    void beginBackground(int x, int y);
    // The material to shade the current fragment with.
    Mtl* material() const;

    BOOL InMtlEditor() override { return frame_.inMtlEdit ? TRUE : FALSE; }
    int Antialias() override { return frame_.antialias ? TRUE : FALSE; }
    int ProjType() override { return frame_.view->projType; }
    LightDesc* Light(int n) override;
    TimeValue CurTime() override { return frame_.time; }
    int NodeID() override { return inst_ ? inst_->nodeID : -1; }
    INode* Node() override { return inst_ ? inst_->GetINode() : nullptr; }
    int FaceNumber() override { return face_; }
    Point3 BarycentricCoords() override { return bary_; }

    Point3 Normal() override { return normal_; }
    void SetNormal(const Point3& n) override { normal_ = n; }
    Point3 OrigNormal() override { return origNormal_; }
    Point3 GNormal() override { return gNormal_; }
    Point3 V() override { return view_; }
    void SetView(const Point3& v) override { view_ = v; }
    Point3 ReflectVector() override;
    Point3 CamPos() override { return Point3(); }
    Point3 P() override { return p_; }
    Point3 DP() override;
    Point3 PObj() override;
    Point3 PointTo(const Point3& p, int toSpace) override;
    Point3 PointFrom(const Point3& p, int fromSpace) override;
    Point3 VectorTo(const Point3& v, int toSpace) override;
    Point3 VectorFrom(const Point3& v, int fromSpace) override;

    IPoint2 ScreenCoord() override { return pixel_; }
    Point2 SurfacePtScreen() override { return screen_; }
    Point2 SubPixel() override { return subPixel_; }
    void ScreenUV(Point2& uv, Point2& duv) override;
    Point3 UVW(int channel = 1) override { return channel == 1 ? uvw_ : Point3(); }
    Point3 DUVW(int channel = 1) override;
    void DPdUVW(Point3 dP[3], int channel = 1) override;

    void GetBGColor(Color& bgcol, Color& transp, BOOL fogBG = TRUE) override;

private:
    void resetSample(int x, int y, const Point2& subPixel);
    void computeDerivatives();
    Point3 uvwAt(const Point3& bary) const;

    const ShadingFrame& frame_;
    ScanlineInstance* inst_ = nullptr;
    const ScreenPolygon* poly_ = nullptr;
    int face_ = 0;
    IPoint2 pixel_;
    Point2 screen_, subPixel_;
    Point3 p_, bary_, normal_, origNormal_, gNormal_, view_, uvw_;
    bool derivativesReady_ = false;
    Point3 dPdx_, dPdy_, dUVWdx_, dUVWdy_;
};

}  // namespace standalone::scanline
