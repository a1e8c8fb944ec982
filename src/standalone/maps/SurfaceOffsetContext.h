#pragma once
// A shading context that stands for a point next to another one on the same surface: P moves by
// a camera-space offset (and PObj with it), and the UVW of one channel by a texture-space offset.
// Everything else is the wrapped context's. Maps use it to take finite differences of their own
// value, sub-maps included, without touching the real context (which other threads may share).

#include "host/ShadeContext.h"

namespace standalone {

class SurfaceOffsetContext final : public ShadeContext {
public:
    SurfaceOffsetContext(ShadeContext& base, const Point3& dP, const Point3& dUVW, int channel);

    BOOL InMtlEditor() override { return base_.InMtlEditor(); }
    int Antialias() override { return base_.Antialias(); }
    int ProjType() override { return base_.ProjType(); }
    LightDesc* Light(int n) override { return base_.Light(n); }
    TimeValue CurTime() override { return base_.CurTime(); }
    int NodeID() override { return base_.NodeID(); }
    INode* Node() override { return base_.Node(); }
    int FaceNumber() override { return base_.FaceNumber(); }
    Point3 BarycentricCoords() override { return base_.BarycentricCoords(); }
    Point3 Normal() override { return base_.Normal(); }
    void SetNormal(const Point3&) override {}  // the neighbour is read-only
    Point3 OrigNormal() override { return base_.OrigNormal(); }
    Point3 GNormal() override { return base_.GNormal(); }
    Point3 V() override { return base_.V(); }
    void SetView(const Point3&) override {}
    Point3 ReflectVector() override { return base_.ReflectVector(); }
    Point3 CamPos() override { return base_.CamPos(); }
    Point3 P() override { return base_.P() + dP_; }
    Point3 DP() override { return base_.DP(); }
    Point3 PObj() override { return base_.PObj() + base_.VectorTo(dP_, REF_OBJECT); }
    Point3 PointTo(const Point3& p, int toSpace) override { return base_.PointTo(p, toSpace); }
    Point3 PointFrom(const Point3& p, int fromSpace) override { return base_.PointFrom(p, fromSpace); }
    Point3 VectorTo(const Point3& v, int toSpace) override { return base_.VectorTo(v, toSpace); }
    Point3 VectorFrom(const Point3& v, int fromSpace) override { return base_.VectorFrom(v, fromSpace); }
    IPoint2 ScreenCoord() override { return base_.ScreenCoord(); }
    Point2 SurfacePtScreen() override { return base_.SurfacePtScreen(); }
    Point2 SubPixel() override { return base_.SubPixel(); }
    void ScreenUV(Point2& uv, Point2& duv) override { base_.ScreenUV(uv, duv); }
    Point3 UVW(int channel) override;
    Point3 DUVW(int channel) override { return base_.DUVW(channel); }
    void DPdUVW(Point3 dP[3], int channel) override { base_.DPdUVW(dP, channel); }
    void GetBGColor(Color& bgcol, Color& transp, BOOL fogBG) override
    {
        base_.GetBGColor(bgcol, transp, fogBG);
    }

private:
    ShadeContext& base_;
    Point3 dP_;
    Point3 dUVW_;
    int channel_;
};

}  // namespace standalone
