#pragma once
// A shading context for unit tests: every value is a plain field the test sets. Camera space is
// the reference; world and object space are reached through camToWorld and camToObj. Also the
// componentwise comparisons the tests share.

#include "host/LightDesc.h"
#include "host/Matrix3.h"
#include "host/ShadeContext.h"

#include <cmath>

#include <gtest/gtest.h>

#include <vector>

namespace test_support {

// Componentwise within tol; callers add context with SCOPED_TRACE where one test checks many.
inline void expectNear(const Point3& got, const Point3& want, float tol = 1e-5f)
{
    EXPECT_TRUE(std::fabs(got.x - want.x) <= tol && std::fabs(got.y - want.y) <= tol &&
                std::fabs(got.z - want.z) <= tol)
        << "got (" << got.x << ", " << got.y << ", " << got.z << "), want (" << want.x << ", " << want.y
        << ", " << want.z << ") within " << tol;
}

// The colour channels of a Color or AColor, alpha ignored.
template <class C> void expectColor(const C& got, const Color& want, float tol = 1e-5f)
{
    expectNear(Point3(got.r, got.g, got.b), Point3(want.r, want.g, want.b), tol);
}

class TestShadeContext : public ShadeContext {
public:
    TestShadeContext() { nLights = 0; }

    // A sample at p with normal n (which also becomes the original and geometric normal), seen
    // from the camera at the origin.
    void place(const Point3& p, const Point3& n)
    {
        point = p;
        normal = origNormal = geomNormal = Normalize(n);
        view = Normalize(p);
    }
    void addLight(LightDesc* light)
    {
        lights.push_back(light);
        nLights = static_cast<int>(lights.size());
    }
    void setLights(std::vector<LightDesc*> all)
    {
        lights = std::move(all);
        nLights = static_cast<int>(lights.size());
    }

    Point3 point{0.0f, 0.0f, -10.0f};
    Point3 normal{0.0f, 0.0f, 1.0f};
    Point3 origNormal{0.0f, 0.0f, 1.0f};
    Point3 geomNormal{0.0f, 0.0f, 1.0f};
    Point3 view{0.0f, 0.0f, -1.0f};
    Point3 uvw;
    Point3 duvw;
    Point3 dPdu{1.0f, 0.0f, 0.0f}, dPdv{0.0f, 1.0f, 0.0f};
    Matrix3 camToWorld;
    Matrix3 camToObj;
    std::vector<LightDesc*> lights;

    BOOL InMtlEditor() override { return FALSE; }
    int Antialias() override { return FALSE; }
    int ProjType() override { return PROJ_PERSPECTIVE; }
    LightDesc* Light(int n) override
    {
        return n >= 0 && n < static_cast<int>(lights.size()) ? lights[static_cast<std::size_t>(n)] : nullptr;
    }
    TimeValue CurTime() override { return 0; }
    int NodeID() override { return -1; }
    INode* Node() override { return nullptr; }
    int FaceNumber() override { return 0; }
    Point3 BarycentricCoords() override { return Point3(1.0f / 3, 1.0f / 3, 1.0f / 3); }
    Point3 Normal() override { return normal; }
    void SetNormal(const Point3& n) override { normal = n; }
    Point3 OrigNormal() override { return origNormal; }
    Point3 GNormal() override { return geomNormal; }
    Point3 V() override { return view; }
    void SetView(const Point3& v) override { view = v; }
    Point3 ReflectVector() override { return view - normal * (2.0f * DotProd(view, normal)); }
    Point3 CamPos() override { return Point3(); }
    Point3 P() override { return point; }
    Point3 DP() override { return Point3(); }
    Point3 PObj() override { return PointTo(point, REF_OBJECT); }
    Point3 PointTo(const Point3& p, int toSpace) override
    {
        return toSpace == REF_WORLD ? p * camToWorld : toSpace == REF_OBJECT ? p * camToObj : p;
    }
    Point3 PointFrom(const Point3& p, int fromSpace) override
    {
        return fromSpace == REF_WORLD    ? p * Inverse(camToWorld)
               : fromSpace == REF_OBJECT ? p * Inverse(camToObj)
                                         : p;
    }
    Point3 VectorTo(const Point3& v, int toSpace) override
    {
        return toSpace == REF_WORLD    ? camToWorld.VectorTransform(v)
               : toSpace == REF_OBJECT ? camToObj.VectorTransform(v)
                                       : v;
    }
    Point3 VectorFrom(const Point3& v, int fromSpace) override
    {
        return fromSpace == REF_WORLD    ? Inverse(camToWorld).VectorTransform(v)
               : fromSpace == REF_OBJECT ? Inverse(camToObj).VectorTransform(v)
                                         : v;
    }
    IPoint2 ScreenCoord() override { return {}; }
    Point2 SurfacePtScreen() override { return {}; }
    Point2 SubPixel() override { return {0.5f, 0.5f}; }
    void ScreenUV(Point2& uv, Point2& duv) override { uv = {}, duv = {}; }
    Point3 UVW(int channel) override { return channel == 1 ? uvw : Point3(); }
    Point3 DUVW(int channel) override { return channel == 1 ? duvw : Point3(); }
    void DPdUVW(Point3 dP[3], int channel) override
    {
        const bool known = channel == 1;
        dP[0] = known ? dPdu : Point3();
        dP[1] = known ? dPdv : Point3();
        dP[2] = Point3();
    }
    void GetBGColor(Color& bgcol, Color& transp, BOOL) override { bgcol = Color(), transp = Color(); }
};

}  // namespace test_support
