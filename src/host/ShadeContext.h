#pragma once
// The shading context: everything a material or map may ask about the sample being shaded, and
// the output record it writes. Camera space throughout: the camera looks down -z, P() of a
// visible point has z < 0, V() points from the camera toward P.

#include "host/Color.h"
#include "host/MaxTypes.h"
#include "host/Point2.h"
#include "host/Point3.h"

class INode;
class LightDesc;
class RenderGlobalContext;

// Output of one shade call. c is premultiplied: over a background b the result is b * t + c.
class ShadeOutput {
public:
    ULONG flags = 0;
    Color c;  // colour
    Color t;  // transparency per channel
    float ior = 1.0f;
    int gbufId = 0;  // material-effects id

    void Reset() { flags = 0, c = Color(), t = Color(), ior = 1.0f, gbufId = 0; }
    // Opaque coverage of the sample: 1 - mean transparency.
    float alpha() const { return 1.0f - (t.r + t.g + t.b) / 3.0f; }
};

// ShadeContext::mode
constexpr int SCMODE_NORMAL = 0;
constexpr int SCMODE_SHADOW = 1;

constexpr int PROJ_PERSPECTIVE = 0;
constexpr int PROJ_PARALLEL = 1;

class ShadeContext {
public:
    virtual ~ShadeContext() = default;

    // Public fields, as materials read and change them.
    int mode = SCMODE_NORMAL;  // normal or shadow
    BOOL doMaps = TRUE;
    BOOL filterMaps = TRUE;
    BOOL shadow = TRUE;     // lights cast shadows for this sample
    BOOL backFace = FALSE;  // the sample lies on a back face
    int mtlNum = 0;         // sub-material index of the face
    Color ambientLight;
    int nLights = 0;
    int rayLevel = 0;  // 0 for camera rays
    int xshadeID = 0;  // bit 31: called for a purpose other than the visible surface
    LightDesc* atmosSkipLight = nullptr;
    RenderGlobalContext* globContext = nullptr;
    ShadeOutput out;

    virtual void ResetOutput(int n = -1)
    {
        (void)n;
        out.Reset();
    }
    virtual void SetGBufferID(int id) { out.gbufId = id; }

    virtual BOOL InMtlEditor() = 0;
    virtual int Antialias() = 0;
    virtual int ProjType() = 0;           // PROJ_PERSPECTIVE or PROJ_PARALLEL
    virtual LightDesc* Light(int n) = 0;  // nullptr for n outside 0..nLights-1
    virtual TimeValue CurTime() = 0;
    virtual int NodeID() = 0;  // render node id, -1 when no node
    virtual INode* Node() = 0;
    virtual int FaceNumber() = 0;
    virtual Point3 BarycentricCoords() = 0;

    virtual Point3 Normal() = 0;  // shading normal (interpolated, facing the camera)
    virtual void SetNormal(const Point3& n) = 0;
    virtual Point3 OrigNormal() = 0;  // the interpolated normal before any SetNormal
    virtual Point3 GNormal() = 0;     // geometric face normal
    virtual Point3 V() = 0;           // unit view vector from the camera toward P
    virtual void SetView(const Point3& v) = 0;
    virtual Point3 ReflectVector() = 0;
    virtual Point3 CamPos() = 0;  // (0, 0, 0) for camera rays
    virtual Point3 P() = 0;       // camera-space point
    virtual Point3 DP() = 0;      // its extent over the pixel
    virtual Point3 PObj() = 0;    // object-space point
    virtual Point3 PointTo(const Point3& p, int toSpace) = 0;
    virtual Point3 PointFrom(const Point3& p, int fromSpace) = 0;
    virtual Point3 VectorTo(const Point3& v, int toSpace) = 0;
    virtual Point3 VectorFrom(const Point3& v, int fromSpace) = 0;

    virtual IPoint2 ScreenCoord() = 0;     // integer pixel, origin top-left
    virtual Point2 SurfacePtScreen() = 0;  // the sample's screen position, floating point
    // Position of the sample inside its pixel, (0, 0) top-left to (1, 1) bottom-right.
    virtual Point2 SubPixel() = 0;
    virtual void ScreenUV(Point2& uv, Point2& duv) = 0;  // (0, 0) bottom-left .. (1, 1) top-right
    virtual Point3 UVW(int channel = 1) = 0;
    virtual Point3 DUVW(int channel = 1) = 0;
    // dP/du, dP/dv, dP/dw in camera space, for bump mapping.
    virtual void DPdUVW(Point3 dP[3], int channel = 1) = 0;

    // Background colour and transparency behind the sample (environment or background colour).
    virtual void GetBGColor(Color& bgcol, Color& transp, BOOL fogBG = TRUE) = 0;
};

// Coordinate spaces for PointTo and friends.
constexpr int REF_CAMERA = 0;
constexpr int REF_WORLD = 1;
constexpr int REF_OBJECT = 2;
