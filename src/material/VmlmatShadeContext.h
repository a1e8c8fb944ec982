#pragma once
// The shading context the base material of a vmlMaterial shades with: a wrapper around the
// host's context that answers every query from it, except that it offers its own lights (the
// host's, scaled by a factor) and its own output record. The caller copies the output back.
//
// Contexts come from the process-wide pool (ShadeContextPool); one context serves one shade
// call at a time.

#include "host/ShadeContext.h"
#include "material/VmlmatLightDesc.h"

#include <memory>

namespace vml {

class VmlmatShadeContext final : public ShadeContext {
public:
    VmlmatShadeContext() = default;
    VmlmatShadeContext(const VmlmatShadeContext&) = delete;
    VmlmatShadeContext& operator=(const VmlmatShadeContext&) = delete;

    // Wraps `host`: copies its public fields and output, and wraps each of its nLights lights
    // with `lightFactor`. The light array is reallocated only when the light count changes;
    // false (nothing wrapped, the context unusable for this call) when that allocation fails.
    bool bind(ShadeContext& host, float lightFactor);
    ShadeContext* host() const { return host_; }

    // Pool bookkeeping.
    bool inUse() const { return inUse_; }
    void setInUse(bool on) { inUse_ = on; }
    int lightCapacity() const { return lightCount_; }
    const VmlmatLightDesc* lightArray() const { return lights_.get(); }

    // Own output record and lights.
    void ResetOutput(int n = -1) override;
    void SetGBufferID(int id) override;
    LightDesc* Light(int n) override;

    // Everything else is the host context's.
    BOOL InMtlEditor() override { return host_->InMtlEditor(); }
    int Antialias() override { return host_->Antialias(); }
    int ProjType() override { return host_->ProjType(); }
    TimeValue CurTime() override { return host_->CurTime(); }
    int NodeID() override { return host_->NodeID(); }
    INode* Node() override { return host_->Node(); }
    int FaceNumber() override { return host_->FaceNumber(); }
    Point3 BarycentricCoords() override { return host_->BarycentricCoords(); }
    Point3 Normal() override { return host_->Normal(); }
    void SetNormal(const Point3& n) override { host_->SetNormal(n); }
    Point3 OrigNormal() override { return host_->OrigNormal(); }
    Point3 GNormal() override { return host_->GNormal(); }
    Point3 V() override { return host_->V(); }
    void SetView(const Point3& v) override { host_->SetView(v); }
    Point3 ReflectVector() override { return host_->ReflectVector(); }
    Point3 CamPos() override { return host_->CamPos(); }
    Point3 P() override { return host_->P(); }
    Point3 DP() override { return host_->DP(); }
    Point3 PObj() override { return host_->PObj(); }
    Point3 PointTo(const Point3& p, int toSpace) override { return host_->PointTo(p, toSpace); }
    Point3 PointFrom(const Point3& p, int fromSpace) override { return host_->PointFrom(p, fromSpace); }
    Point3 VectorTo(const Point3& v, int toSpace) override { return host_->VectorTo(v, toSpace); }
    Point3 VectorFrom(const Point3& v, int fromSpace) override { return host_->VectorFrom(v, fromSpace); }
    IPoint2 ScreenCoord() override { return host_->ScreenCoord(); }
    Point2 SurfacePtScreen() override { return host_->SurfacePtScreen(); }
    Point2 SubPixel() override { return host_->SubPixel(); }
    void ScreenUV(Point2& uv, Point2& duv) override { host_->ScreenUV(uv, duv); }
    Point3 UVW(int channel = 1) override { return host_->UVW(channel); }
    Point3 DUVW(int channel = 1) override { return host_->DUVW(channel); }
    void DPdUVW(Point3 dP[3], int channel = 1) override { host_->DPdUVW(dP, channel); }
    void GetBGColor(Color& bgcol, Color& transp, BOOL fogBG = TRUE) override
    {
        host_->GetBGColor(bgcol, transp, fogBG);
    }

private:
    ShadeContext* host_ = nullptr;
    std::unique_ptr<VmlmatLightDesc[]> lights_;
    int lightCount_ = 0;
    bool inUse_ = false;
};

}  // namespace vml
